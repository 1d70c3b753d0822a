#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "elements/tlv.h"
#include "files/memory_stream.h"

namespace test {

using Bytes = std::vector<std::uint8_t>;

// An element as it stands in a stream: its header word, then what its Write puts out.
inline Bytes ElementBytes(CKTLV& element, bool* ok = nullptr) {
  CKMemoryStream stream;
  const std::uint32_t word = element.GetHeaderWord();
  const std::uint8_t header[4] = {
      static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
      static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
  stream.Write(header, 4);
  const bool written = element.Write(stream);
  if (ok != nullptr) {
    *ok = written;
  }
  return stream.GetData();
}

struct ReadResult {
  std::unique_ptr<CKTLV> element;
  bool ok = false;
  std::size_t consumed = 0;
};

// Reads one element (header word, then Read) from the stream's current position.
inline ReadResult ReadElement(CKFile& stream) {
  ReadResult result;
  std::uint8_t header[4] = {};
  std::uint32_t done = 4;  // a stream may not report the count
  if (!stream.Read(header, 4, &done) || done != 4) {
    return result;
  }
  const std::uint32_t word =
      header[0] | (header[1] << 8) | (header[2] << 16) | (std::uint32_t{header[3]} << 24);
  result.element.reset(CreateFromHeader(word));
  result.ok = result.element != nullptr && result.element->Read(stream);
  return result;
}

inline ReadResult ReadElement(const Bytes& bytes) {
  CKMemoryStream stream(bytes);
  ReadResult result = ReadElement(static_cast<CKFile&>(stream));
  result.consumed = stream.GetOffset();
  return result;
}

// Like the enciphered stream of a user file: past its end it delivers zero bytes and does not
// say how many bytes it delivered.
class ZeroPaddedStream : public CKFile {
 public:
  explicit ZeroPaddedStream(Bytes bytes) : bytes_(std::move(bytes)) {}
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* /*done*/) override {
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (std::uint32_t i = 0; i < count; ++i) {
      out[i] = position_ < bytes_.size() ? bytes_[position_] : 0;
      ++position_;
    }
    return true;
  }

 private:
  Bytes bytes_;
  std::size_t position_ = 0;
};

// A stream that throws a file error once limit bytes have passed, as a failing file does.
class ThrowingStream : public CKMemoryStream {
 public:
  using CKMemoryStream::CKMemoryStream;
  std::size_t limit = 0;
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* done) override {
    if (GetOffset() + count > limit) {
      throw ErrRead;
    }
    return CKMemoryStream::Read(buffer, count, done);
  }
  bool Write(const void* buffer, std::uint32_t count, std::uint32_t* done) override {
    if (GetData().size() + count > limit) {
      throw ErrWrite;
    }
    return CKMemoryStream::Write(buffer, count, done);
  }
};

}  // namespace test
