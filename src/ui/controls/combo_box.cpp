#include "ui/controls/combo_box.h"

#include <QTextCursor>

CKComboBox::CKComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
}

int CKComboBox::AddString(const QString& text) {
  int index = count();
  if (sorted_) {
    index = 0;
    while (index < count() && QString::compare(itemText(index), text, Qt::CaseInsensitive) <= 0) {
      ++index;
    }
  }
  insertItem(index, text);
  return index;
}

int CKComboBox::SelectString(const QString& prefix, int start) {
  for (int i = std::max(0, start); i < count(); ++i) {
    if (itemText(i).startsWith(prefix, Qt::CaseInsensitive)) {
      setCurrentIndex(i);
      return i;
    }
  }
  return -1;
}

QString CKComboBox::GetSelectedText() const {
  return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

CKMemoEdit::CKMemoEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &CKMemoEdit::EnforceLimit);
}

void CKMemoEdit::SetLimit(int characters) {
  limit_ = std::max(0, characters);
  EnforceLimit();
}

void CKMemoEdit::EnforceLimit() {
  if (enforcing_ || limit_ == 0) {
    return;
  }
  const int length = document()->characterCount() - 1;  // the document's final paragraph mark
  if (length <= limit_) {
    return;
  }
  enforcing_ = true;
  QTextCursor cursor(document());
  cursor.setPosition(limit_);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  enforcing_ = false;
}
