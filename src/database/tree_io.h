#pragma once

#include <cstdint>

class CKCryptoFile;
class CKFile;
class CKTLVARRAY;

namespace database {

// Reads the entries tree (tag 0x8000) and the settings tree (tag 0x8001) from a user file's
// deciphered stream, each as its header word and body. Each root must be an array with its
// own tag (or tag 0, which becomes its own), and each must be read whole: a tree that breaks
// off anywhere, or a stream that ends before the trees do, is damage, whatever the schema
// checks of the arrays before the break would accept. Result 0, 2 for damage, or 1 when the
// file itself failed.
int ReadTrees(CKCryptoFile& stream, CKTLVARRAY& entries, CKTLVARRAY& settings);

// Writes both trees, giving a root of tag 0 its own tag first. False at the first element that
// cannot be written; a failing file throws.
bool WriteTrees(CKFile& stream, CKTLVARRAY& entries, CKTLVARRAY& settings);

}  // namespace database
