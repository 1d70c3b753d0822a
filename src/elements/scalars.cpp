#include "elements/scalars.h"

#include <bit>
#include <new>

#include "elements/wipe_string.h"
#include "files/pending_writes.h"
#include "platform/secure_zero.h"

// The values are handed out as their stream bytes (GetBuffer), which holds on little-endian
// machines only.
static_assert(std::endian::native == std::endian::little);

CKTLVDWORD::CKTLVDWORD() {
  SetType(TLV_DWORD);
}

bool CKTLVDWORD::GetDword(std::uint32_t& value) const {
  value = m_dwValue;
  return true;
}

bool CKTLVDWORD::SetDword(std::uint32_t value) {
  m_dwValue = value;
  return true;
}

void* CKTLVDWORD::GetBuffer(std::uint32_t size) {
  return size == 0 || size == sizeof m_dwValue ? &m_dwValue : nullptr;
}

CKTLVDWORD64::CKTLVDWORD64() {
  SetType(TLV_DWORD64);
}

bool CKTLVDWORD64::GetDword64(std::uint64_t& value) const {
  value = (std::uint64_t{m_dwValue[1]} << 32) | m_dwValue[0];
  return true;
}

bool CKTLVDWORD64::SetDword64(std::uint32_t low, std::uint32_t high) {
  m_dwValue[0] = low;
  m_dwValue[1] = high;
  return true;
}

void* CKTLVDWORD64::GetBuffer(std::uint32_t size) {
  return size == 0 || size == sizeof m_dwValue ? m_dwValue : nullptr;
}

CKTLVSTRING::CKTLVSTRING() {
  SetType(TLV_STRING);
}

CKTLVSTRING::~CKTLVSTRING() {
  WipeString(m_csValue);
}

bool CKTLVSTRING::GetString(std::u16string& value) const {
  WipeString(value);
  value.assign(m_csValue);
  return true;
}

bool CKTLVSTRING::SetString(const char16_t* value) {
  // Copied before the old text is wiped, in case the value is that text.
  std::u16string fresh = value != nullptr ? std::u16string(value) : std::u16string();
  WipeString(m_csValue);
  m_csValue.swap(fresh);  // the wiped storage goes with fresh
  return true;
}

void* CKTLVSTRING::GetBuffer(std::uint32_t size) {
  if (size == 0) {
    return m_csValue.data();
  }
  if (size % 2 != 0) {
    return nullptr;
  }
  WipeString(m_csValue);
  m_csValue.resize(size / 2);
  return m_csValue.data();
}

std::uint32_t CKTLVSTRING::GetSize() const {
  return static_cast<std::uint32_t>(m_csValue.size() * 2);
}

CKTLVBINARY::CKTLVBINARY() {
  SetType(TLV_BINARY);
}

CKTLVBINARY::~CKTLVBINARY() {
  Free();
}

bool CKTLVBINARY::GetBinary(const std::uint8_t*& data, std::uint32_t& size) const {
  data = m_pData;
  size = m_dwSize;
  return true;
}

void* CKTLVBINARY::GetBuffer(std::uint32_t size) {
  if (size == 0) {
    return m_pData;
  }
  Free();
  m_pData = new (std::nothrow) std::uint8_t[size];
  if (m_pData != nullptr) {
    m_dwSize = size;
  }
  return m_pData;
}

void CKTLVBINARY::Free() {
  if (m_pData != nullptr) {
    files::SettlePendingWrites();  // a read may still be filling the block
  }
  platform::SecureZero(m_pData, m_dwSize);
  delete[] m_pData;
  m_pData = nullptr;
  m_dwSize = 0;
}
