#pragma once

#include <cstdint>

namespace rtf {

// The character of a byte in the Windows code page 1252, in which release notes are written
// (\ansicpg1252); other code pages are read as this one too. Bytes the code page leaves
// unassigned give U+FFFD.
char16_t FromCodePage1252(std::uint8_t byte);

}  // namespace rtf
