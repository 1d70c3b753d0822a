#include "updater/rtf_builder.h"

#include <utility>

namespace rtf {
namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

void RepairSurrogates(std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      text[i] = 0xFFFD;
    }
  }
}

}  // namespace

void CKDocumentBuilder::Append(char16_t c, const KCharFormat& format) {
  if (paragraph_.runs.empty() || paragraph_.runs.back().format != format) {
    paragraph_.runs.push_back(KRun{{}, format});
  }
  paragraph_.runs.back().text.push_back(c);
}

void CKDocumentBuilder::EndParagraph(Alignment alignment) {
  paragraph_.alignment = alignment;
  document_.paragraphs.push_back(std::move(paragraph_));
  paragraph_ = KParagraph{};
}

KDocument CKDocumentBuilder::Finish(Alignment alignment) {
  if (!paragraph_.runs.empty()) {
    EndParagraph(alignment);
  }
  // A surrogate pair split across two runs is damaged too: each run must stand on its own.
  for (KParagraph& paragraph : document_.paragraphs) {
    for (KRun& run : paragraph.runs) {
      RepairSurrogates(run.text);
    }
  }
  return std::exchange(document_, KDocument{});
}

}  // namespace rtf
