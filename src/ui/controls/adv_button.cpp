#include "ui/controls/adv_button.h"

#include "ui/controls/control_ids.h"

void KDependentControls::Apply(const QWidget* button, bool checked) const {
  const QWidget* dialog = button->window();
  const bool enable = invert_ ? !checked : checked;
  for (const int id : ids_) {
    if (QWidget* control = controls::ControlById(dialog, id)) {
      control->setEnabled(enable);
    }
  }
}

CKAdvButton::CKAdvButton(QWidget* parent) : QCheckBox(parent) {
  // A click re-reads the box and applies it.
  connect(this, &QCheckBox::clicked, this, [this] { dependents_.Apply(this, isChecked()); });
}

void CKAdvButton::SetCheck(bool checked) {
  dependents_.Apply(this, checked);
  setChecked(checked);
}

CKAdvToggleButton::CKAdvToggleButton(QWidget* parent) : QPushButton(parent) {
  setCheckable(true);
  connect(this, &QPushButton::clicked, this, [this] { dependents_.Apply(this, isChecked()); });
}

void CKAdvToggleButton::SetCheck(bool checked) {
  dependents_.Apply(this, checked);
  setChecked(checked);
}
