// Build tool: turns the UTF-8 source of a language file into the shipped form (UTF-16LE
// behind the mark FF FE, lines ended by CR LF) and checks that the result is accepted.
//   vq_pack_language SOURCE.txt OUTPUT.language
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "languages/language_file.h"
#include "platform/utf.h"

namespace {

int Fail(const char* source, const char* why) {
  std::fprintf(stderr, "%s: %s\n", source, why);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SOURCE OUTPUT\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    return Fail(argv[1], "cannot be read");
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::u16string text = platform::FromUtf8(source);
  if (platform::ToUtf8(text) != source) {
    return Fail(argv[1], "is not valid UTF-8");
  }

  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  auto put = [&bytes](char16_t c) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  };
  for (const char16_t c : text) {
    if (c == u'\r') {
      continue;
    }
    if (c == u'\n') {
      put(u'\r');
    } else if (c < 0x20) {
      // The reader would drop it silently; a tab in a source is a mistake worth stopping for.
      return Fail(argv[1], "holds a control character other than a line break");
    }
    put(c);
  }

  const auto parsed = languages::ParseLanguageFile(bytes);
  if (!parsed) {
    return Fail(argv[1], "would not be accepted as a language file");
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    return Fail(argv[2], "cannot be written");
  }
  return 0;
}
