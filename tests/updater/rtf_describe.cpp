#include "rtf_describe.h"

#include <cstdio>

#include "platform/utf.h"

namespace test {
namespace {

std::string Attributes(const rtf::KCharFormat& format) {
  std::string out;
  auto add = [&out](const std::string& part) {
    if (!out.empty()) {
      out += ' ';
    }
    out += part;
  };
  if (format.bold) {
    add("b");
  }
  if (format.italic) {
    add("i");
  }
  if (format.underline) {
    add("u");
  }
  if (format.half_points) {
    const int half = *format.half_points;
    add(std::to_string(half / 2) + (half % 2 != 0 ? ".5pt" : "pt"));
  }
  if (format.color) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", format.color->red, format.color->green,
                  format.color->blue);
    add(hex);
  }
  if (!format.link.empty()) {
    add("->" + platform::ToUtf8(format.link));
  }
  return out;
}

const char* AlignmentPrefix(rtf::Alignment alignment) {
  switch (alignment) {
    case rtf::Alignment::kCenter:
      return "center:";
    case rtf::Alignment::kRight:
      return "right:";
    case rtf::Alignment::kJustify:
      return "justify:";
    case rtf::Alignment::kLeft:
      break;
  }
  return "";
}

}  // namespace

std::string Describe(const rtf::KDocument& document) {
  std::string out;
  for (const rtf::KParagraph& paragraph : document.paragraphs) {
    out += AlignmentPrefix(paragraph.alignment);
    for (const rtf::KRun& run : paragraph.runs) {
      const std::string attributes = Attributes(run.format);
      if (!attributes.empty() || &run != &paragraph.runs.front()) {
        out += "[" + attributes + "]";
      }
      out += platform::ToUtf8(run.text);
    }
    out += '\n';
  }
  return out;
}

}  // namespace test
