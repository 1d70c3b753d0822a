#pragma once

#include <string_view>

#include "updater/rtf_document.h"

namespace rtf {

// Reads release notes as the update server sends them: a Rich Text Format document, of
// which paragraphs (with their alignment), bold, italic, underline, font sizes, text colours
// and hyperlink fields are kept and everything else (fonts, tables of styles, pictures,
// document information, unknown control words and destinations) is skipped. Reading stops
// where the document's outermost group closes, so zero bytes after it do no harm.
//
// Content that does not begin with "{\rtf" is read as plain UTF-8 text, one paragraph a line.
//
// The input is outside input: damaged or hostile documents give whatever text could be read,
// never a crash, and the work is linear in the input's size (no recursion; groups nested
// deeper than kMaxGroupDepth are skipped, unterminated groups end with the input).
KDocument ReadDocument(std::string_view content);

}  // namespace rtf
