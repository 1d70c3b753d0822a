#include "ui/controls/control_ids.h"

#include <QVariant>
#include <QWidget>

namespace controls {

void SetControlId(QWidget* control, int id) {
  control->setProperty(kIdProperty, id);
  control->setObjectName(QStringLiteral("control_%1").arg(id));
}

int ControlId(const QWidget* control) {
  const QVariant id = control->property(kIdProperty);
  return id.isValid() ? id.toInt() : -1;
}

QWidget* ControlById(const QWidget* dialog, int id) {
  if (dialog == nullptr || id == -1) {
    return nullptr;
  }
  const auto children = dialog->findChildren<QWidget*>();
  for (QWidget* child : children) {
    if (ControlId(child) == id) {
      return child;
    }
  }
  return nullptr;
}

}  // namespace controls
