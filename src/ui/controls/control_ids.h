#pragma once

class QWidget;

// Dialog controls carry the id of their template line, as the code addresses them.
namespace controls {

inline constexpr char kIdProperty[] = "vq_control_id";

void SetControlId(QWidget* control, int id);
// The control's id; -1 for a widget that has none.
int ControlId(const QWidget* control);
// The first child (at any depth) of the dialog with that id; null when there is none.
QWidget* ControlById(const QWidget* dialog, int id);

}  // namespace controls
