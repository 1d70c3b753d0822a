#pragma once

#include <QFont>
#include <QTextBrowser>
#include <cstddef>
#include <cstdint>
#include <vector>

// A stream over a memory block for the rich text view: reading hands out the block from the
// current position on; writing appends to a block of its own that grows as needed.
class CKRichEditMemoryStorage {
 public:
  enum class Direction { Read, Write };

  // Reading: the block is the caller's and must outlive the storage.
  CKRichEditMemoryStorage(const std::uint8_t* block, std::size_t size);
  // Writing into a block of the storage's own.
  CKRichEditMemoryStorage();
  ~CKRichEditMemoryStorage();
  CKRichEditMemoryStorage(const CKRichEditMemoryStorage&) = delete;
  CKRichEditMemoryStorage& operator=(const CKRichEditMemoryStorage&) = delete;

  Direction GetDirection() const { return direction_; }
  // Copies at most size bytes from the current position and advances; returns how many.
  std::size_t Read(std::uint8_t* buffer, std::size_t size);
  // Appends bytes (writing storage only); returns how many were taken.
  std::size_t Write(const std::uint8_t* data, std::size_t size);
  std::size_t GetPosition() const { return position_; }
  // What was written so far.
  const std::vector<std::uint8_t>& Written() const { return written_; }

 private:
  Direction direction_;
  const std::uint8_t* block_ = nullptr;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  std::vector<std::uint8_t> written_;
};

namespace rtf {
struct KDocument;
}

// A read-only rich text view (release notes): fed with Rich Text Format through a memory
// storage (read by the release-notes reader); web addresses in the text are shown as links.
class CKRichEditCtrl : public QTextBrowser {
  Q_OBJECT

 public:
  explicit CKRichEditCtrl(QWidget* parent = nullptr);

  // Whether rich text can be shown: Qt's text engine is part of the program and needs no
  // library loaded at run time, so this only checks that it lays a document out. Start-up
  // stops when it cannot.
  static bool LoadLibrary();

  // The release-notes look: window colours, the given font's face and size, links shown.
  void SetupReleaseNotesLook(const QFont& font);
  // Reads everything the storage holds as Rich Text Format (up to the first zero byte; text
  // that is not RTF is shown as plain text) and shows it. False when the storage is not for
  // reading.
  bool StreamIn(CKRichEditMemoryStorage& storage);
  // Shows a document that has been read already.
  void SetDocument(const rtf::KDocument& document);

 private:
  void MarkLinks();
};
