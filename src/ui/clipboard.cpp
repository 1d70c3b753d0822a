#include "ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace clipboard {
namespace {

QClipboard* Board() {
  return qGuiApp != nullptr ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

bool PutClipboardText(const QString& text, bool empty_first) {
  QClipboard* board = Board();
  if (board == nullptr) {
    return false;
  }
  if (empty_first) {
    board->clear();
  }
  if (text.isEmpty()) {
    return false;
  }
  auto* data = new QMimeData;
  data->setText(text);
  data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
  board->setMimeData(data);  // the clipboard takes the data over
  return true;
}

bool ClearClipboard() {
  QClipboard* board = Board();
  if (board == nullptr) {
    return false;
  }
  board->clear();
  return true;
}

bool ClipboardHasText() {
  const QClipboard* board = Board();
  return board != nullptr && board->mimeData() != nullptr && board->mimeData()->hasText();
}

}  // namespace clipboard
