#pragma once

#include <QComboBox>
#include <QPlainTextEdit>
#include <QString>

// A drop-down list of strings that can keep its items sorted, as the classic list did:
// without regard to case, a new item going after the ones it equals.
class CKComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit CKComboBox(QWidget* parent = nullptr);

  void SetSorted(bool sorted) { sorted_ = sorted; }
  bool IsSorted() const { return sorted_; }
  // Adds an item (in its sorted place when sorted); returns its index.
  int AddString(const QString& text);
  void ResetContent() { clear(); }
  // Selects the first item from `start` on that begins with the prefix, ignoring case; returns
  // its index, or -1 (selection unchanged) when none does.
  int SelectString(const QString& prefix, int start = 0);
  // The selected item's text; empty when nothing is selected.
  QString GetSelectedText() const;

 private:
  bool sorted_ = false;
};

// A several-line edit with a limit on its length: text typed or pasted beyond it is cut.
class CKMemoEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CKMemoEdit(QWidget* parent = nullptr);

  // 0 for no limit.
  void SetLimit(int characters);
  int GetLimit() const { return limit_; }

 private:
  void EnforceLimit();

  int limit_ = 0;
  bool enforcing_ = false;
};
