#include "updater/rtf_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/utf.h"
#include "updater/rtf_field.h"

namespace {

// A run's attributes as "b i u 16pt #rrggbb ->link", those it has in that order.
std::string Attributes(const rtf::KCharFormat& format) {
  std::string out = std::string(format.bold ? " b" : "") + (format.italic ? " i" : "") +
                    (format.underline ? " u" : "");
  if (const auto half = format.half_points) {
    out += " " + std::to_string(*half / 2) + (*half % 2 != 0 ? ".5pt" : "pt");
  }
  if (const auto& color = format.color) {
    char hex[9];
    std::snprintf(hex, sizeof hex, " #%02x%02x%02x", color->red, color->green, color->blue);
    out += hex;
  }
  out += format.link.empty() ? "" : " ->" + platform::ToUtf8(format.link);
  return out.empty() ? out : out.substr(1);
}

// A document in a compact form for readable expectations: one line per paragraph, led by
// "center:", "right:" or "justify:" when not left-aligned; a run with attributes is written
// "[attributes]text", a plain run as "[]text" (as its text alone when it leads its paragraph).
std::string Read(std::string_view content) {
  static constexpr const char* kAlignments[] = {"", "center:", "right:", "justify:"};
  std::string out;
  for (const rtf::KParagraph& paragraph : rtf::ReadDocument(content).paragraphs) {
    out += kAlignments[static_cast<int>(paragraph.alignment)];
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

TEST(RtfReader, SmallDocuments) {
  const std::string long_target(rtf::kMaxFieldInstruction, 'x');
  const std::pair<std::string, std::string> cases[] = {
      // \'hh is code page 1252; \uN has N fallback characters after it (\ucN), which are
      // dropped, also when they are escapes themselves; a group's end stops the dropping.
      {"{\\rtf1 caf\\'e9 \\'80 \\u8364? \\uc2\\u8211\\'96\\'96x {\\u960}?}", "café € € –x π?\n"},
      {"{\\rtf1\\uc0\\u8364 x\\u-3 y}", "€x\xef\xbf\xbdy\n"},
      // Surrogate pairs make one character; a lone half becomes U+FFFD.
      {"{\\rtf1\\uc0\\u-10179\\u-8704 \\u55357 x}", "😀\xef\xbf\xbdx\n"},
      {"{\\rtf1 a\\tab b\\line c\\emdash\\bullet\\ldblquote q\\rdblquote\\~\\_\\-d}",
       "a\tb\nc—•“q”\u00a0‑d\n"},
      {"{\\rtf1 \\{braces\\} and \\\\ backslash}", "{braces} and \\ backslash\n"},
      // Line breaks in the source are no text; a backslash before one is a paragraph mark.
      {"{\\rtf1 one\r\ntwo\\\nthree}", "onetwo\nthree\n"},
      // What is not text is skipped; old-style list text is shown, its modern description not.
      {"{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\stylesheet{\\s0 Normal;}}{\\info{\\title Secret}}"
       "{\\*\\unknowndestination hidden {nested hidden}}{\\pict\\bin6 {}}}\\}x} shown"
       "\\unknownword42 {\\*\\bkmkstart mark} too{\\header head}\\par}",
       " shown too\n"},
      {"{\\rtf1{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item\\par}", "·\titem\n"},
      // Colour entry 0 is "auto"; an index past the table or below it is the viewer's colour.
      {"{\\rtf1{\\colortbl;\\red1\\green2\\blue3;\\red300\\blue-4;}"
       "\\cf1 a\\cf2 b\\cf0 c\\cf9 d\\cf-1 e}",
       "[#010203]a[#ff0000]b[]cde\n"},
      // Attributes switch on and off; \plain ends them all, \pard only the paragraph's.
      {"{\\rtf1\\qc\\b\\ul\\i x\\ulnone\\i0 y\\par\\pard z\\plain w\\par}",
       "center:[b i u]x[b]y\n[b]z[]w\n"},
      // Groups undo their changes; empty paragraphs stay.
      {"{\\rtf1\\b a{\\b0\\i b\\qr}c\\par\\par\\pard d}", "[b]a[i]b[b]c\n\n[b]d\n"},
      {"{\\rtf1\\fs0 a\\fs b\\fs1 c\\fs999999 d}", "a[12pt]b[1pt]c[1000pt]d\n"},
      // A link to a place in the document, a field without a result and a field other than a
      // link show their result (if any) as plain text.
      {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK \\\\l \"mark\"}{\\fldrslt inside}}"
       "{\\field{\\*\\fldinst HYPERLINK \"https://a.example/\"}}"
       "{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}",
       "inside3\n"},
      // Nested fields: the inner link wins inside; \plain keeps the link.
      {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK https://a.example/}{\\fldrslt a "
       "{\\field{\\*\\fldinst HYPERLINK \"mailto:x@b.example\"}{\\fldrslt\\plain b}}}}}",
       "[->https://a.example/]a [->mailto:x@b.example]b\n"},
      // An instruction of absurd length makes no link.
      {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"" + long_target + "\"}{\\fldrslt t}}}", "t\n"},
      // Damaged documents give what can be read. Unterminated groups end with the input.
      {"{\\rtf1\\b bold {\\i open\\par never closed", "[b]bold [b i]open\n[b i]never closed\n"},
      // Reading stops where the outermost group closes: zero padding and what follows is ignored.
      {std::string("{\\rtf1 a}\0\0\0{\\rtf1 b}", 17), "a\n"},
      {"{\\rtf1 a}}}} b", "a\n"},
      // Damaged escapes and a lone backslash at the end show nothing themselves.
      {"{\\rtf1 x\\'4g\\'", "x4g\n"},
      {"{\\rtf1 x\\", "x\n"},
      // \binN takes its bytes whatever they are, and at most what is there.
      {"{\\rtf1 a\\bin3 }}}b\\bin99999999999 c}", "ab\n"},
      {"", ""},
      // Content that is not RTF is plain text.
      {"\xEF\xBB\xBFLine one\r\n\r\nZeile \xC3\xA4\tzwei\n", "Line one\n\nZeile ä\tzwei\n"},
      {std::string("a\0b", 3), "a\n"},
      {"{\\rt", "{\\rt\n"},
      {"bad \xFF byte\x01", "bad \xef\xbf\xbd byte\n"},
  };
  for (const auto& [content, expected] : cases) {
    EXPECT_EQ(Read(content), expected) << content.substr(0, 60);
  }
}

TEST(RtfReader, HyperlinkInstructions) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u" HYPERLINK \"https://a.example/\" ", u"https://a.example/"},
      {u"hyperlink https://a.example/ \\o \"tip\"", u"https://a.example/"},
      {u"HYPERLINK \\o \"tip\" \\t \"_blank\" \"https://b.example/\"", u"https://b.example/"},
      {u"HYPERLINK", u""},
      {u"\"HYPERLINK\" https://a.example/", u""},
      {u"INCLUDEPICTURE \"https://a.example/x.png\"", u""},
      {u"HYPERLINK \"https://unterminated", u"https://unterminated"},
  };
  for (const auto& [instruction, target] : cases) {
    EXPECT_EQ(rtf::HyperlinkTarget(instruction), target) << platform::ToUtf8(instruction);
  }
}

TEST(RtfReader, GroupsBeyondTheDepthLimitAreSkipped) {
  const int depth = rtf::kMaxGroupDepth + 10;
  std::string content = "{\\rtf1 before";
  for (int i = 1; i < depth; ++i) {
    content += "{\\b <" + std::to_string(i) + ">";
  }
  for (int i = 1; i < depth; ++i) {
    content += "}";
  }
  content += " after}";
  const std::string read = Read(content);
  // The last group within the limit is shown; nothing deeper, and the text after all of them
  // is read with the root's format again.
  EXPECT_NE(read.find("<" + std::to_string(rtf::kMaxGroupDepth - 1) + ">"), std::string::npos);
  EXPECT_EQ(read.find("<" + std::to_string(rtf::kMaxGroupDepth) + ">"), std::string::npos);
  EXPECT_TRUE(read.ends_with("[] after\n")) << read;
}

}  // namespace
