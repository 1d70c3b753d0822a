#include "ui/controls/rich_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPalette>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstring>
#include <string>

#include "platform/secure_zero.h"
#include "updater/rtf_reader.h"

CKRichEditMemoryStorage::CKRichEditMemoryStorage(const std::uint8_t* block, std::size_t size)
    : direction_(Direction::Read), block_(block), size_(block != nullptr ? size : 0) {}

CKRichEditMemoryStorage::CKRichEditMemoryStorage() : direction_(Direction::Write) {}

CKRichEditMemoryStorage::~CKRichEditMemoryStorage() {
  if (!written_.empty()) {
    platform::SecureZero(written_.data(), written_.size());
  }
}

std::size_t CKRichEditMemoryStorage::Read(std::uint8_t* buffer, std::size_t size) {
  if (direction_ != Direction::Read || position_ >= size_) {
    return 0;
  }
  const std::size_t count = std::min(size, size_ - position_);
  std::copy_n(block_ + position_, count, buffer);
  position_ += count;
  return count;
}

std::size_t CKRichEditMemoryStorage::Write(const std::uint8_t* data, std::size_t size) {
  if (direction_ != Direction::Write) {
    return 0;
  }
  written_.insert(written_.end(), data, data + size);
  position_ += size;
  return size;
}

CKRichEditCtrl::CKRichEditCtrl(QWidget* parent) : QTextBrowser(parent) {
  setReadOnly(true);
  // The dialog shows the addresses as links but does not act on a click.
  setOpenLinks(false);
  setOpenExternalLinks(false);
}

bool CKRichEditCtrl::LoadLibrary() {
  QTextDocument document;
  document.setPlainText(QStringLiteral("VaultQuill"));
  return document.documentLayout() != nullptr && document.pageCount() > 0;
}

void CKRichEditCtrl::SetupReleaseNotesLook(const QFont& font) {
  // The system's colours for the background and the text of windows that show text.
  QPalette colours = palette();
  colours.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
  colours.setColor(QPalette::Text, QApplication::palette().color(QPalette::Text));
  setPalette(colours);
  document()->setDefaultFont(font);
  setFont(font);
}

bool CKRichEditCtrl::StreamIn(CKRichEditMemoryStorage& storage) {
  if (storage.GetDirection() != CKRichEditMemoryStorage::Direction::Read) {
    return false;
  }
  std::string bytes;
  char chunk[4096];
  for (std::size_t got = storage.Read(reinterpret_cast<std::uint8_t*>(chunk), sizeof chunk);
       got > 0; got = storage.Read(reinterpret_cast<std::uint8_t*>(chunk), sizeof chunk)) {
    bytes.append(chunk, got);
  }
  bytes.resize(std::strlen(bytes.c_str()));  // a zero-filled block ends at its first zero
  SetDocument(rtf::ReadDocument(bytes));
  return true;
}

void CKRichEditCtrl::SetDocument(const rtf::KDocument& document) {
  clear();
  QTextCursor cursor(this->document());
  bool first = true;
  for (const rtf::KParagraph& paragraph : document.paragraphs) {
    QTextBlockFormat block;
    switch (paragraph.alignment) {
      case rtf::Alignment::kCenter:
        block.setAlignment(Qt::AlignHCenter);
        break;
      case rtf::Alignment::kRight:
        block.setAlignment(Qt::AlignRight);
        break;
      case rtf::Alignment::kJustify:
        block.setAlignment(Qt::AlignJustify);
        break;
      case rtf::Alignment::kLeft:
        block.setAlignment(Qt::AlignLeft);
        break;
    }
    if (first) {
      cursor.setBlockFormat(block);
    } else {
      cursor.insertBlock(block);
    }
    first = false;
    for (const rtf::KRun& run : paragraph.runs) {
      QTextCharFormat format;
      format.setFontWeight(run.format.bold ? QFont::Bold : QFont::Normal);
      format.setFontItalic(run.format.italic);
      format.setFontUnderline(run.format.underline);
      if (run.format.half_points) {
        format.setFontPointSize(*run.format.half_points / 2.0);
      }
      if (run.format.color) {
        format.setForeground(
            QColor(run.format.color->red, run.format.color->green, run.format.color->blue));
      }
      if (!run.format.link.empty()) {
        format.setAnchor(true);
        format.setAnchorHref(QString::fromStdU16String(run.format.link));
        format.setFontUnderline(true);
        format.setForeground(palette().color(QPalette::Link));
      }
      // A line break inside a paragraph stays inside it.
      QString text = QString::fromStdU16String(run.text);
      text.replace(QLatin1Char('\n'), QChar::LineSeparator);
      cursor.insertText(text, format);
    }
  }
  MarkLinks();
  moveCursor(QTextCursor::Start);
}

void CKRichEditCtrl::MarkLinks() {
  static const QRegularExpression kAddress(
      QStringLiteral(R"((?:https?://|www\.)[^\s<>"]+[^\s<>".,;:!?)\]])"),
      QRegularExpression::CaseInsensitiveOption);
  const QColor link_colour = palette().color(QPalette::Link);
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    auto matches = kAddress.globalMatch(block.text());
    while (matches.hasNext()) {
      const QRegularExpressionMatch match = matches.next();
      QTextCursor cursor(block);
      cursor.setPosition(block.position() + static_cast<int>(match.capturedStart()) + 1);
      if (cursor.charFormat().isAnchor()) {
        continue;  // a link of the document itself keeps its target
      }
      cursor.setPosition(block.position() + static_cast<int>(match.capturedStart()));
      cursor.setPosition(block.position() + static_cast<int>(match.capturedEnd()),
                         QTextCursor::KeepAnchor);
      QString href = match.captured();
      if (href.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) {
        href.prepend(QStringLiteral("http://"));
      }
      QTextCharFormat format;
      format.setAnchor(true);
      format.setAnchorHref(href);
      format.setFontUnderline(true);
      format.setForeground(link_colour);
      cursor.mergeCharFormat(format);
    }
  }
}
