#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "files/file.h"

// A CKFile stream over bytes in memory, for element trees that are not on disk. Reading past
// the end gives fewer bytes than asked, as a file does; the bytes are wiped when it goes.
class CKMemoryStream : public CKFile {
 public:
  CKMemoryStream();
  explicit CKMemoryStream(std::span<const std::uint8_t> bytes);
  ~CKMemoryStream() override;

  bool Read(void* buffer, std::uint32_t count, std::uint32_t* done = nullptr) override;
  // Writes at the current position, overwriting or extending.
  bool Write(const void* buffer, std::uint32_t count, std::uint32_t* done = nullptr) override;

  const std::vector<std::uint8_t>& GetData() const { return m_data; }
  // Where the next Read or Write starts.
  std::size_t GetOffset() const { return m_nPosition; }
  void Rewind() { m_nPosition = 0; }

 private:
  std::vector<std::uint8_t> m_data;
  std::size_t m_nPosition = 0;
};
