#pragma once

#include <QCheckBox>
#include <QList>
#include <QPushButton>

// What the two kinds of CKAdvButton share: the ids of the controls of the same dialog that
// are enabled only while the button is checked (only while it is clear when inverted).
class KDependentControls {
 public:
  void Add(int control_id) { ids_.append(control_id); }
  void SetInvert(bool invert) { invert_ = invert; }
  bool IsInverted() const { return invert_; }
  const QList<int>& Ids() const { return ids_; }
  // Enables or disables every dependent control found in the button's dialog.
  void Apply(const QWidget* button, bool checked) const;

 private:
  QList<int> ids_;
  bool invert_ = false;
};

// A check box that enables the controls that depend on it.
class CKAdvButton : public QCheckBox {
  Q_OBJECT

 public:
  explicit CKAdvButton(QWidget* parent = nullptr);

  void AddDependent(int control_id) { dependents_.Add(control_id); }
  void SetInvert(bool invert) { dependents_.SetInvert(invert); }
  // Enables the dependents for the state (disables them for the other), then checks the box.
  void SetCheck(bool checked);
  bool GetCheck() const { return isChecked(); }

 private:
  KDependentControls dependents_;
};

// The same as a push button that stays pressed while checked.
class CKAdvToggleButton : public QPushButton {
  Q_OBJECT

 public:
  explicit CKAdvToggleButton(QWidget* parent = nullptr);

  void AddDependent(int control_id) { dependents_.Add(control_id); }
  void SetInvert(bool invert) { dependents_.SetInvert(invert); }
  void SetCheck(bool checked);
  bool GetCheck() const { return isChecked(); }

 private:
  KDependentControls dependents_;
};
