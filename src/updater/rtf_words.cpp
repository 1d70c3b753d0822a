#include "updater/rtf_words.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rtf {
namespace {

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& words, std::string_view word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

constexpr std::array<std::pair<std::string_view, char16_t>, 16> kCharacterWords = {{
    {"tab", u'\t'},
    {"cell", u'\t'},
    {"nestcell", u'\t'},
    {"line", u'\n'},
    {"emdash", 0x2014},
    {"endash", 0x2013},
    {"emspace", 0x2003},
    {"enspace", 0x2002},
    {"qmspace", 0x2005},
    {"bullet", 0x2022},
    {"lquote", 0x2018},
    {"rquote", 0x2019},
    {"ldblquote", 0x201C},
    {"rdblquote", 0x201D},
    {"zwj", 0x200D},
    {"zwnj", 0x200C},
}};

constexpr std::array<std::string_view, 5> kParagraphBreaks = {"par", "sect", "page", "row",
                                                              "nestrow"};

constexpr std::array<std::string_view, 17> kUnderlineWords = {
    "ul",         "uld",       "uldash",     "uldashd", "uldashdd", "uldb",
    "ulhwave",    "ulldash",   "ulth",       "ulthd",   "ulthdash", "ulthdashd",
    "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave"};

constexpr std::array<std::string_view, 36> kSkippedDestinations = {
    "fonttbl",      "stylesheet", "info",      "pict",       "object",
    "objdata",      "header",     "headerl",   "headerr",    "headerf",
    "footer",       "footerl",    "footerr",   "footerf",    "footnote",
    "annotation",   "atnid",      "atnauthor", "xe",         "tc",
    "txe",          "rxe",        "filetbl",   "listtable",  "listoverridetable",
    "revtbl",       "rsidtbl",    "generator", "themedata",  "colorschememapping",
    "latentstyles", "datastore",  "mmathPr",   "nonshppict", "shppict",
    "bkmkstart"};

}  // namespace

std::optional<char16_t> CharacterWord(std::string_view word) {
  for (const auto& [name, character] : kCharacterWords) {
    if (name == word) {
      return character;
    }
  }
  return std::nullopt;
}

bool IsParagraphBreak(std::string_view word) {
  return Contains(kParagraphBreaks, word);
}

bool IsUnderlineWord(std::string_view word) {
  return Contains(kUnderlineWords, word);
}

bool IsSkippedDestination(std::string_view word) {
  return Contains(kSkippedDestinations, word);
}

}  // namespace rtf
