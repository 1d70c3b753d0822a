#pragma once

class CKTLVARRAY;

// Whether an array has the fields that its kind (its tag) requires: for each, the first child
// with that tag answers the typed get of the field (a string, a 32-bit number, or for the file
// data a byte block of any type code). The roots and tag 0 require nothing; a tag that names
// no stored kind (the up entry included) fails.
bool CheckSchema(const CKTLVARRAY& array);
