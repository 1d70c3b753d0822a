#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "elements/stream_io.h"
#include "elements/tlv.h"
#include "files/memory_stream.h"

namespace test {

using Bytes = std::vector<std::uint8_t>;

// An element as it stands in a stream: its header word, then what its Write puts out.
inline Bytes ElementBytes(CKTLV& element, bool* ok = nullptr) {
  CKMemoryStream stream;
  std::uint8_t header[4];
  elements::StoreLittleEndian32(element.GetHeaderWord(), header);
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
  std::size_t consumed = 0;  // with the header word
};

// Reads one element: the header word, then its Read.
inline ReadResult ReadElement(const Bytes& bytes) {
  ReadResult result;
  if (bytes.size() >= 4) {
    CKMemoryStream stream(std::span<const std::uint8_t>(bytes).subspan(4));
    result.element.reset(CreateFromHeader(elements::LoadLittleEndian32(bytes.data())));
    result.ok = result.element->Read(stream);
    result.consumed = 4 + stream.GetOffset();
  }
  return result;
}

}  // namespace test
