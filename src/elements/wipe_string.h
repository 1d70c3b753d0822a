#pragma once

#include <string>

// Overwrites every character of a string, and the unused rest of its storage, with a space,
// then empties it. Strings that may hold a password or user data go through here before they
// are replaced or released.
void WipeString(std::u16string& text);
