// Release notes come from the network: any bytes must give a document, quickly, whose every
// run and paragraph keeps the promises the viewer relies on.
#include "updater/rtf_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

bool ValidUtf16(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
        return false;
      }
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const rtf::KDocument document = rtf::ReadDocument(content);

  std::size_t characters = 0;
  for (const rtf::KParagraph& paragraph : document.paragraphs) {
    for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
      const rtf::KRun& run = paragraph.runs[i];
      Check(!run.text.empty());
      Check(ValidUtf16(run.text));
      Check(i == 0 || paragraph.runs[i - 1].format != run.format);
      if (run.format.half_points) {
        Check(*run.format.half_points >= rtf::kMinHalfPoints &&
              *run.format.half_points <= rtf::kMaxHalfPoints);
      }
      Check(run.format.link.size() <= rtf::kMaxFieldInstruction);
      characters += run.text.size();
    }
  }
  // Every character shown comes from at least one byte of the input.
  Check(characters <= size);

  // The checker hands over a zero-filled block larger than the notes: the padding is no text.
  std::string padded(content);
  padded.append(64, '\0');
  Check(rtf::ReadDocument(padded) == document);
  return 0;
}
