#pragma once

#include <cstdint>
#include <string>

#include "elements/tlv.h"

// An unsigned 32-bit value, little-endian on the stream, no length field.
class CKTLVDWORD : public CKTLV {
 public:
  CKTLVDWORD();
  bool GetDword(std::uint32_t& value) const override;
  bool SetDword(std::uint32_t value) override;
  // Size 0 or 4 gives the value's storage, any other size null.
  void* GetBuffer(std::uint32_t size) override;
  std::uint32_t GetSize() const override { return 4; }
  std::uint32_t GetMaxSize() const override { return 4; }
  Kind GetKind() const override { return Kind::kDword; }

 private:
  std::uint32_t m_dwValue = 0;
};

// A 64-bit value as low and high 32-bit halves, low half first on the stream.
class CKTLVDWORD64 : public CKTLV {
 public:
  CKTLVDWORD64();
  bool GetDword64(std::uint64_t& value) const override;
  bool SetDword64(std::uint32_t low, std::uint32_t high) override;
  // Size 0 or 8 gives the value's storage, any other size null.
  void* GetBuffer(std::uint32_t size) override;
  std::uint32_t GetSize() const override { return 8; }
  std::uint32_t GetMaxSize() const override { return 8; }
  Kind GetKind() const override { return Kind::kDword64; }

 private:
  std::uint32_t m_dwValue[2] = {0, 0};
};

// UTF-16 text, UTF-16LE on the stream without terminator. The text is wiped (WipeString)
// before it is replaced and when the element goes, since it may be a password.
class CKTLVSTRING : public CKTLV {
 public:
  static constexpr std::uint32_t kMaxBytes = 65535;

  CKTLVSTRING();
  ~CKTLVSTRING() override;
  bool GetString(std::u16string& value) const override;
  bool SetString(const char16_t* value) override;
  // 0 gives the character storage; an odd size null; otherwise the text is wiped and made
  // size / 2 characters long.
  void* GetBuffer(std::uint32_t size) override;
  std::uint32_t GetSize() const override;
  std::uint32_t GetMaxSize() const override { return kMaxBytes; }
  Kind GetKind() const override { return Kind::kString; }

 private:
  std::u16string m_csValue;
};

// A block of bytes; also every element whose type code no class knows, which so survives a
// read and a write unchanged. The block is wiped before it is freed.
class CKTLVBINARY : public CKTLV {
 public:
  static constexpr std::uint32_t kMaxBytes = 0xFFFFFF;

  CKTLVBINARY();
  ~CKTLVBINARY() override;
  bool GetBinary(const std::uint8_t*& data, std::uint32_t& size) const override;
  // 0 gives the current block (null when empty); otherwise a new block of size bytes replaces
  // it (null, and the element empty, when memory runs out).
  void* GetBuffer(std::uint32_t size) override;
  std::uint32_t GetSize() const override { return m_dwSize; }
  std::uint32_t GetMaxSize() const override { return kMaxBytes; }
  Kind GetKind() const override { return Kind::kBinary; }

 private:
  void Free();

  std::uint8_t* m_pData = nullptr;
  std::uint32_t m_dwSize = 0;
};
