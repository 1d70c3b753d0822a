#pragma once

#include <string>
#include <string_view>

namespace rtf {

// The target of a field instruction such as HYPERLINK "https://example.org/" \o "tip", or empty
// when the instruction is no hyperlink to an address (another field, a link to a bookmark of
// the document, a missing target).
std::u16string HyperlinkTarget(std::u16string_view instruction);

}  // namespace rtf
