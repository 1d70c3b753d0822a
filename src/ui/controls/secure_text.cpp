#include "ui/controls/secure_text.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

#include "platform/secure_zero.h"

namespace secure {

void WipeQString(QString& text) {
  if (!text.isEmpty() && text.isDetached()) {
    // data() does not copy a string that nobody else holds.
    platform::SecureZero(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
  }
  text.clear();
  text.squeeze();
}

void WipeLineEdit(QLineEdit* edit) {
  if (edit == nullptr) {
    return;
  }
  QString held = edit->text();  // shares the edit's storage
  edit->setText(QString());     // the edit lets go of it (and of its undo history)
  WipeQString(held);
}

void WipeMemoEdit(QPlainTextEdit* edit) {
  if (edit == nullptr) {
    return;
  }
  QString held = edit->toPlainText();
  edit->clear();
  WipeQString(held);
}

}  // namespace secure
