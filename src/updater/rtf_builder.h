#pragma once

#include "updater/rtf_document.h"

namespace rtf {

// Collects characters into runs and paragraphs: a character with the format of the last run
// joins it, any other starts a new run.
class CKDocumentBuilder {
 public:
  void Append(char16_t c, const KCharFormat& format);
  // Ends the paragraph in progress (also an empty one, which is an empty line).
  void EndParagraph(Alignment alignment);
  // Ends a paragraph still in progress when it holds text, and hands over the document.
  // Unpaired UTF-16 surrogates, which a damaged document can produce, become U+FFFD.
  KDocument Finish(Alignment alignment);

 private:
  KDocument document_;
  KParagraph paragraph_;
};

}  // namespace rtf
