#include "crypto_test_util.h"

#include <fstream>

namespace crypto_test {

Bytes FromHex(std::string_view hex) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9')
      return c - '0';
    if (c >= 'a' && c <= 'f')
      return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
    ADD_FAILURE() << "not a hex digit: " << c;
    return 0;
  };
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
  }
  return bytes;
}

std::string ToHex(const std::uint8_t* data, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < size; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 15];
  }
  return text;
}

const std::string& Record::Field(const std::string& name) const {
  static const std::string kMissing;
  auto found = fields.find(name);
  if (found == fields.end()) {
    ADD_FAILURE() << "record without " << name;
    return kMissing;
  }
  return found->second;
}

std::vector<Record> ReadResponseFile(const std::string& relative_path) {
  const std::string path = std::string(VQ_TEST_VECTORS) + "/" + relative_path;
  std::ifstream in(path);
  std::vector<Record> records;
  if (!in) {
    ADD_FAILURE() << "cannot read " << path << " (package python3-cryptography-vectors)";
    return records;
  }
  std::string section;
  Record current;
  auto flush = [&] {
    if (!current.fields.empty()) {
      records.push_back(std::move(current));
    }
    current = Record{section, {}};
  };
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
      line.pop_back();
    }
    if (line.empty()) {
      flush();
    } else if (line.front() == '[') {
      flush();
      section = line.substr(1, line.find(']') - 1);
      current.section = section;
    } else if (line.front() != '#') {
      const auto equals = line.find(" = ");
      if (equals != std::string::npos) {
        current.fields[line.substr(0, equals)] = line.substr(equals + 3);
      }
    }
  }
  flush();
  if (records.empty()) {
    ADD_FAILURE() << "no records in " << path;
  }
  return records;
}

std::string PathName(const testing::TestParamInfo<Path>& info) {
  return info.param == Path::Instructions ? "Instructions" : "Portable";
}

}  // namespace crypto_test
