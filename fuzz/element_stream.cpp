// Element trees read from damaged or crafted bytes: reading must end with a clear result, and
// whatever was read must write back and read again to the very same bytes. The same bytes
// also go through the string reader of the file class, which reads a user file's plain memo.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "elements/schema.h"
#include "elements/tlv.h"
#include "elements/tlv_array.h"
#include "files/memory_stream.h"

namespace {

// Past its end it gives zero bytes without saying so, as the enciphered stream of a user file.
class ZeroPaddedStream final : public CKFile {
 public:
  explicit ZeroPaddedStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* /*done*/) override {
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (std::uint32_t i = 0; i < count; ++i, ++position_) {
      out[i] = position_ < bytes_.size() ? bytes_[position_] : 0;
    }
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

std::unique_ptr<CKTLV> ReadOne(CKFile& stream, bool& ok) {
  std::uint8_t header[4] = {};
  std::uint32_t done = sizeof header;
  ok = false;
  if (!stream.Read(header, sizeof header, &done) || done != sizeof header) {
    return nullptr;
  }
  std::unique_ptr<CKTLV> element(CreateFromHeader(header[0] | (header[1] << 8) | (header[2] << 16) |
                                                  (std::uint32_t{header[3]} << 24)));
  ok = element != nullptr && element->Read(stream);
  return element;
}

std::vector<std::uint8_t> WriteOne(CKTLV& element) {
  CKMemoryStream stream;
  const std::uint32_t word = element.GetHeaderWord();
  const std::uint8_t header[4] = {
      static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
      static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
  Check(stream.Write(header, sizeof header));
  Check(element.Write(stream));  // whatever was read can be written
  return stream.GetData();
}

void RoundTrip(CKTLV& element) {
  const std::vector<std::uint8_t> first = WriteOne(element);
  CKMemoryStream again(first);
  bool ok = false;
  std::unique_ptr<CKTLV> copy = ReadOne(again, ok);
  Check(ok && again.GetOffset() == first.size());
  Check(WriteOne(*copy) == first);
  if (auto* array = dynamic_cast<CKTLVARRAY*>(&element)) {
    // The lookups that the program runs on every entry it reads.
    std::u16string text;
    std::uint32_t number = 0;
    array->GetStringByTag(16, text);
    array->GetDwordByTag(18, number);
    CheckSchema(*array);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  {
    CKMemoryStream stream(bytes);
    stream.SetErrorHandling(false, false);
    // Elements one after another, as the two trees of a user file follow each other.
    for (int i = 0; i < 4; ++i) {
      bool ok = false;
      std::unique_ptr<CKTLV> element = ReadOne(stream, ok);
      if (!ok) {
        break;
      }
      RoundTrip(*element);
    }
  }
  {
    // The plain memo of a user file is a length-prefixed string read the same way.
    CKMemoryStream stream(bytes);
    std::u16string memo;
    Check(stream.ReadString(memo));
    Check(memo.size() <= 32767 && memo.find(u'\0') == std::u16string::npos);
  }
  {
    ZeroPaddedStream stream(bytes);
    bool ok = false;
    std::unique_ptr<CKTLV> element = ReadOne(stream, ok);
    if (ok) {
      RoundTrip(*element);
    }
  }
  return 0;
}
