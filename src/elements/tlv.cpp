#include "elements/tlv.h"

#include "elements/stream_io.h"
#include "elements/tlv_array.h"
#include "files/file.h"

namespace {

constexpr std::uint32_t kWidthShift = 28;
constexpr std::uint32_t kWidthAndReservedMask = 0xF0000000;

}  // namespace

CKTLV::~CKTLV() = default;

CKTLVARRAY* CKTLV::AsArray() {
  return GetKind() == Kind::kArray ? static_cast<CKTLVARRAY*>(this) : nullptr;
}

const CKTLVARRAY* CKTLV::AsArray() const {
  return GetKind() == Kind::kArray ? static_cast<const CKTLVARRAY*>(this) : nullptr;
}

bool CKTLV::Write(CKFile& stream) {
  try {
    std::uint32_t size = GetFixedSize();
    if (size == 0) {
      size = GetSize();
      if (!WriteLength(stream, size)) {
        return false;
      }
    } else if (GetSize() != size) {
      return false;  // a byte block given a fixed-size type code: never write past its storage
    }
    if (size == 0) {
      return true;
    }
    // What no reader accepts is not written: the save fails instead of leaving a file whose
    // rest could not be read back.
    if (size > GetMaxSize()) {
      return false;
    }
    const void* data = GetBuffer(0);
    return data != nullptr && stream.Write(data, size);
  } catch (...) {
    return false;
  }
}

bool CKTLV::Read(CKFile& stream) {
  try {
    std::uint32_t size = GetFixedSize();
    if (size == 0 && !ReadLength(stream, size)) {
      return false;
    }
    if (size == 0) {
      return true;
    }
    // A length the element cannot take fails it here: its payload must not be read as the
    // elements that follow.
    if (size > GetMaxSize()) {
      return false;
    }
    void* data = GetBuffer(size);
    return data != nullptr && elements::ReadExactly(stream, data, size);
  } catch (...) {
    return false;
  }
}

bool CKTLV::WriteLength(CKFile& stream, std::uint32_t length) {
  try {
    const std::uint32_t width = GetLengthWidth();
    // A width too narrow for the length would corrupt the stream; the header word that names
    // the width has to be fetched (GetHeaderWord) after the last change of size.
    if (width == 0 || (width < 4 && length >> (8 * width) != 0)) {
      return false;
    }
    std::uint8_t bytes[4];
    elements::StoreLittleEndian32(length, bytes);
    return stream.Write(bytes, width);
  } catch (...) {
    return false;
  }
}

bool CKTLV::ReadLength(CKFile& stream, std::uint32_t& length) {
  length = 0;
  try {
    const std::uint32_t width = GetLengthWidth();
    std::uint8_t bytes[4] = {};
    if (width == 0 || !elements::ReadExactly(stream, bytes, width)) {
      return false;
    }
    length = elements::LoadLittleEndian32(bytes, width);
    return true;
  } catch (...) {
    return false;
  }
}

bool CKTLV::GetString(std::u16string&) const {
  return false;
}
bool CKTLV::GetBinary(const std::uint8_t*&, std::uint32_t&) const {
  return false;
}
bool CKTLV::GetDword64(std::uint64_t&) const {
  return false;
}
bool CKTLV::GetDword(std::uint32_t&) const {
  return false;
}
bool CKTLV::SetString(const char16_t*) {
  return false;
}
bool CKTLV::SetDword64(std::uint32_t, std::uint32_t) {
  return false;
}
bool CKTLV::SetDword(std::uint32_t) {
  return false;
}
void* CKTLV::GetBuffer(std::uint32_t) {
  return nullptr;
}
std::uint32_t CKTLV::GetSize() const {
  return 0;
}
std::uint32_t CKTLV::GetMaxSize() const {
  return 0;
}

std::uint32_t CKTLV::GetHeaderWord() {
  UpdateLengthWidth();
  return m_dwHeader;
}

std::uint32_t CKTLV::GetFixedSize() const {
  switch (GetType()) {
    case TLV_DWORD:
      return 4;
    case TLV_DWORD64:
      return 8;
    default:
      return 0;
  }
}

std::uint32_t CKTLV::GetLengthWidth() const {
  switch ((m_dwHeader >> kWidthShift) & 0x7) {
    case 1:
      return 1;
    case 2:
      return 2;
    case 3:
      return 4;
    default:
      return 0;
  }
}

void CKTLV::UpdateLengthWidth() {
  std::uint32_t code = 0;
  if (GetFixedSize() == 0) {
    const std::uint32_t size = GetSize();
    code = size < 0x100 ? 1 : size < 0x10000 ? 2 : 3;
  }
  m_dwHeader = (m_dwHeader & ~kWidthAndReservedMask) | (code << kWidthShift);
}
