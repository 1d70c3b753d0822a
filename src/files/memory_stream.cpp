#include "files/memory_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/secure_zero.h"

CKMemoryStream::CKMemoryStream() = default;

CKMemoryStream::CKMemoryStream(std::span<const std::uint8_t> bytes)
    : m_data(bytes.begin(), bytes.end()) {}

CKMemoryStream::~CKMemoryStream() {
  platform::SecureZero(m_data.data(), m_data.size());
}

bool CKMemoryStream::Read(void* buffer, std::uint32_t count, std::uint32_t* done) {
  if (done != nullptr) {
    *done = 0;
  }
  if (count == 0 || buffer == nullptr) {
    return true;
  }
  const std::size_t available = m_data.size() - std::min(m_nPosition, m_data.size());
  const auto taken = static_cast<std::uint32_t>(std::min<std::size_t>(count, available));
  if (taken != 0) {
    std::memcpy(buffer, m_data.data() + m_nPosition, taken);
  }
  m_nPosition += taken;
  if (done != nullptr) {
    *done = taken;
  }
  return true;
}

bool CKMemoryStream::Write(const void* buffer, std::uint32_t count, std::uint32_t* done) {
  if (done != nullptr) {
    *done = 0;
  }
  if (count == 0) {
    return true;
  }
  if (buffer == nullptr) {
    errno = EINVAL;
    return Fail(ErrWrite);
  }
  const std::size_t end = m_nPosition + count;
  if (end > m_data.size()) {
    if (end > m_data.capacity()) {
      // Grow by hand so that the old storage is wiped before it is released.
      std::vector<std::uint8_t> larger;
      larger.reserve(std::max(end, m_data.capacity() * 2));
      larger.assign(m_data.begin(), m_data.end());
      platform::SecureZero(m_data.data(), m_data.size());
      m_data.swap(larger);
    }
    m_data.resize(end);
  }
  std::memcpy(m_data.data() + m_nPosition, buffer, count);
  m_nPosition = end;
  if (done != nullptr) {
    *done = count;
  }
  return true;
}
