#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the release-notes reader makes of a Rich Text Format document: paragraphs of runs,
// each run a piece of text with one set of character attributes. Nothing here depends on
// how the notes are shown.
namespace rtf {

struct KColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const KColor&, const KColor&) = default;
};

struct KCharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  // Font size in half points; nothing for the viewer's own size.
  std::optional<int> half_points;
  // Text colour; nothing for the viewer's own text colour.
  std::optional<KColor> color;
  // Target of a hyperlink; empty when the run is no link.
  std::u16string link;
  friend bool operator==(const KCharFormat&, const KCharFormat&) = default;
};

struct KRun {
  // UTF-16 text; "\n" is a line break inside the paragraph, "\t" a tab.
  std::u16string text;
  KCharFormat format;
  friend bool operator==(const KRun&, const KRun&) = default;
};

enum class Alignment { kLeft, kCenter, kRight, kJustify };

struct KParagraph {
  Alignment alignment = Alignment::kLeft;
  std::vector<KRun> runs;  // never two neighbours with the same format; no empty run
  friend bool operator==(const KParagraph&, const KParagraph&) = default;
};

struct KDocument {
  std::vector<KParagraph> paragraphs;
  friend bool operator==(const KDocument&, const KDocument&) = default;
};

// Limits that keep the reader's work bounded whatever it is given.
inline constexpr int kMinHalfPoints = 2;
inline constexpr int kMaxHalfPoints = 2000;
// Nested groups deeper than this are damaged or hostile input; their content is skipped.
inline constexpr int kMaxGroupDepth = 64;
// A field instruction longer than this is no hyperlink.
inline constexpr std::size_t kMaxFieldInstruction = 4096;

}  // namespace rtf
