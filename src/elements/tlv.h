#pragma once

#include <cstdint>
#include <string>

class CKFile;
class CKTLVARRAY;

// Type codes of the header word.
enum : std::uint8_t {
  TLV_ARRAY = 0,
  TLV_DWORD = 3,
  TLV_DWORD64 = 5,
  TLV_STRING = 17,
  TLV_BINARY = 18,
};

// One type-length-value element. On the stream: a 32-bit little-endian header word (bits 0-7
// type code, 8-27 tag, 28-30 width code of the length field, 31 reserved), then a length field
// of 0, 1, 2 or 4 bytes, then the payload. The header word is written by whoever holds the
// element; Write and Read handle the length field and the payload.
//
// Where a class does not support an operation, the base refuses it: false, 0 or null.
class CKTLV {
 public:
  static constexpr std::uint32_t kMaxTag = 0xFFFFF;

  CKTLV(const CKTLV&) = delete;
  CKTLV& operator=(const CKTLV&) = delete;
  virtual ~CKTLV();

  // The scalar implementations: the length field (unless the type has a fixed size), then the
  // payload. Stream exceptions become false.
  virtual bool Write(CKFile& stream);
  // Fails, without reading the payload, for a declared length above GetMaxSize or one that the
  // class cannot hold (an odd byte count for a string), and for a stream that ends before the
  // payload does.
  virtual bool Read(CKFile& stream);
  virtual bool WriteLength(CKFile& stream, std::uint32_t length);
  virtual bool ReadLength(CKFile& stream, std::uint32_t& length);
  virtual bool GetString(std::u16string& value) const;
  // The element's own storage, not a copy.
  virtual bool GetBinary(const std::uint8_t*& data, std::uint32_t& size) const;
  virtual bool GetDword64(std::uint64_t& value) const;
  virtual bool GetDword(std::uint32_t& value) const;
  // From a zero-terminated string; null counts as empty.
  virtual bool SetString(const char16_t* value);
  virtual bool SetDword64(std::uint32_t low, std::uint32_t high);
  virtual bool SetDword(std::uint32_t value);
  // The payload storage made size bytes large; 0 asks for it unchanged. Null when the class
  // refuses that size.
  virtual void* GetBuffer(std::uint32_t size);
  // Payload size in bytes (arrays: number of children).
  virtual std::uint32_t GetSize() const;
  // The largest payload that Read accepts.
  virtual std::uint32_t GetMaxSize() const;

  // The element's class, for checks that must not copy a value (a text may be a password).
  // The same answer as a dynamic_cast, without its cost on trees of many thousand elements.
  enum class Kind { kArray, kDword, kDword64, kString, kBinary };
  virtual Kind GetKind() const = 0;
  // The element itself when it is an array (CKTLVARRAY), otherwise null.
  CKTLVARRAY* AsArray();
  const CKTLVARRAY* AsArray() const;

  std::uint8_t GetType() const { return static_cast<std::uint8_t>(m_dwHeader & 0xFF); }
  void SetType(std::uint8_t type) { m_dwHeader = (m_dwHeader & ~0xFFu) | type; }
  std::uint32_t GetTag() const { return (m_dwHeader >> 8) & kMaxTag; }
  void SetTag(std::uint32_t tag) {
    m_dwHeader = (m_dwHeader & ~(kMaxTag << 8)) | ((tag & kMaxTag) << 8);
  }
  // The word to write: the width code is first brought up to date with GetSize.
  std::uint32_t GetHeaderWord();
  // The word as read from a stream; its width code governs the following Read.
  void SetHeaderWord(std::uint32_t word) { m_dwHeader = word; }
  // 4 for type 3, 8 for type 5, otherwise 0.
  std::uint32_t GetFixedSize() const;
  // Bytes of the length field: 1, 2 or 4; 0 for width codes 0 and 4 to 7.
  std::uint32_t GetLengthWidth() const;
  // Narrowest width code for GetSize (0 for fixed-size types); clears bit 31.
  void UpdateLengthWidth();

  CKTLVARRAY* GetParent() const { return m_pParent; }
  void SetParent(CKTLVARRAY* parent) { m_pParent = parent; }

 protected:
  CKTLV() = default;

 private:
  std::uint32_t m_dwHeader = 0;
  CKTLVARRAY* m_pParent = nullptr;
};

// A new element for a tag and a type code: an array, one of the scalar classes, or for any
// other code a byte block that keeps the code. The caller owns it; null when out of memory.
CKTLV* CreateElement(std::uint32_t tag, std::uint8_t type);

// CreateElement for a header word read from a stream, with the whole word set on it.
CKTLV* CreateFromHeader(std::uint32_t header_word);
