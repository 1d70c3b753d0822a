#pragma once

#include <optional>
#include <string_view>

// What the reader knows of Rich Text Format control words, by name.
namespace rtf {

// The character a control word stands for (\tab, \emdash, \ldblquote, ...); "\n" for \line.
std::optional<char16_t> CharacterWord(std::string_view word);

// Words that end a paragraph: \par, \sect, \page, \row.
bool IsParagraphBreak(std::string_view word);

// Words that switch underlining on (\ul and its dotted, double, wavy ... kinds).
bool IsUnderlineWord(std::string_view word);

// Destinations whose content is not text to show: tables of fonts and styles, document
// information, pictures, objects, headers, footers, notes and the like.
bool IsSkippedDestination(std::string_view word);

}  // namespace rtf
