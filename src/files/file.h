#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A file on a POSIX descriptor, and the byte-stream interface that the element tree reads
// and writes. Every failure shows the file message (when show is set) and then throws the
// ErrorExceptions value by value (when throw is set) or returns false.
//
// Enciphering streams derive from it: they override Read and Write, may share the handle of
// another CKFile (SetHandle) and report their own failures through Fail.
class CKFile {
 public:
  enum ErrorExceptions {
    ErrRead = 1,
    ErrWrite = 2,
    ErrOpen = 3,
    ErrClose = 4,
    ErrSeek = 5,
    ErrSize = 7,
    ErrSetLength = 8,
    ErrFileTime = 12,
    ErrMove = 14,
    ErrDelete = 15,
  };

  // The mode word of Open.
  enum Mode : std::uint32_t {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeAccessMask = 0x0003,
    shareExclusive = 0x0000,  // 0x10 means the same
    shareDenyWrite = 0x0020,  // others may read
    shareDenyRead = 0x0030,   // others may write
    shareDenyNone = 0x0040,   // others may read and write
    shareMask = 0x0070,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,  // without modeNoTruncate an existing file is emptied
    modeNoTruncate = 0x2000,
  };

  enum SeekMethod { fromStart, fromCurrent, fromEnd };

  using Handle = int;
  static constexpr Handle kNoHandle = -1;

  explicit CKFile(bool throw_on_error = true, bool show_message = true);
  virtual ~CKFile();
  CKFile(const CKFile&) = delete;
  CKFile& operator=(const CKFile&) = delete;

  // Opens the path as the mode word says. Files it creates get mode 0600; handles are never
  // inherited by child processes. Sharing is kept between our own processes with advisory
  // locks: an exclusive mode fails while another handle of ours holds the file.
  virtual bool Open(const std::u16string& path, std::uint32_t mode);
  // Reads up to count bytes; fewer at the end of the file is success. done receives the number
  // read (0 after a failure).
  virtual bool Read(void* buffer, std::uint32_t count, std::uint32_t* done = nullptr);
  // Writes all count bytes; done receives the number written.
  virtual bool Write(const void* buffer, std::uint32_t count, std::uint32_t* done = nullptr);
  // A 4-byte little-endian byte length, then that many bytes of UTF-16LE text, cut at its first
  // zero character. A length above 65,535 is skipped and gives an empty string; of an odd
  // length the last byte is read and dropped.
  virtual bool ReadString(std::u16string& text);
  // The byte length (twice the character count) as 4 bytes, then the text in UTF-16LE.
  bool WriteString(std::u16string_view text);

  // Closes the handle; the object is closed afterwards whether the close succeeded or not.
  bool Close();
  // Makes what was written durable (fsync). Fails as a write does.
  bool Flush();
  bool GetLength(std::uint64_t& length);
  bool Seek(std::int64_t distance, SeekMethod method, std::uint64_t* position = nullptr);
  bool GetPosition(std::uint64_t& position);
  bool SetLength(std::uint64_t length);
  // Times in 100-ns intervals since 1601-01-01 UTC (files/file_time.h). Where the file system
  // keeps no creation time the last write time stands for it. Each place may be null.
  bool GetFileTime(std::uint64_t* creation, std::uint64_t* last_access, std::uint64_t* last_write);

  // Replaces the handle without closing anything.
  void SetHandle(Handle handle) { m_hFile = handle; }
  Handle GetHandle() const { return m_hFile; }
  bool IsOpen() const { return m_hFile != kNoHandle; }
  const std::u16string& GetPath() const { return m_csPath; }
  bool ThrowsOnError() const { return m_bThrow; }
  bool ShowsMessages() const { return m_bShow; }
  void SetErrorHandling(bool throw_on_error, bool show_message) {
    m_bThrow = throw_on_error;
    m_bShow = show_message;
  }

 protected:
  // Reports the failure of an operation with the current errno: the file message naming the
  // path (when show is set), then throws error (when throw is set) or returns false.
  bool Fail(ErrorExceptions error);

  Handle m_hFile = kNoHandle;
  std::u16string m_csPath;
  bool m_bOwnsHandle = true;
  bool m_bThrow;
  bool m_bShow;
};
