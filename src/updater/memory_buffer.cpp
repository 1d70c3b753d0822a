#include "updater/memory_buffer.h"

#include <new>

bool CKMemoryBuffer::Allocate(std::uint32_t size) {
  Release();
  if (size == 0) {
    return true;
  }
  // Value-initialised: the block starts as zero bytes.
  m_pData.reset(new (std::nothrow) std::uint8_t[size]());
  if (!m_pData) {
    return false;
  }
  m_dwSize = size;
  return true;
}

void CKMemoryBuffer::Release() {
  m_pData.reset();
  m_dwSize = 0;
}
