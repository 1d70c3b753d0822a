#pragma once

#include <cstdint>
#include <memory>

// A block of bytes that the buffer owns, with its size.
class CKMemoryBuffer {
 public:
  CKMemoryBuffer() = default;
  ~CKMemoryBuffer() { Release(); }
  CKMemoryBuffer(const CKMemoryBuffer&) = delete;
  CKMemoryBuffer& operator=(const CKMemoryBuffer&) = delete;

  // Releases any block held, then takes a new one of the given size filled with zero bytes.
  // False (and size 0) when the memory cannot be had.
  bool Allocate(std::uint32_t size);
  // Frees the block; the size is 0 afterwards.
  void Release();

  std::uint32_t GetSize() const { return m_dwSize; }
  std::uint8_t* GetData() { return m_pData.get(); }
  const std::uint8_t* GetData() const { return m_pData.get(); }

 private:
  std::uint32_t m_dwSize = 0;
  std::unique_ptr<std::uint8_t[]> m_pData;
};
