#pragma once

#include <QSize>
#include <QWidget>
#include <map>

#include "ui/dialog_template.h"
#include "ui/dialog_units.h"

// Turns a template into real controls: one widget per line, a child of the dialog, placed in
// pixels by the dialog font's units, carrying its id.
namespace dialogs {

struct KBuiltControls {
  // By control id (controls of id -1 are not listed).
  std::map<int, QWidget*> by_id;
  // Every control with its template line, in template order.
  std::vector<std::pair<QWidget*, const KControlTemplate*>> all;
};

KBuiltControls BuildControls(QWidget* dialog, const KDialogTemplate& dialog_template,
                             const KDialogUnits& units);

// The dialog's client size in pixels.
QSize DialogSize(const KDialogTemplate& dialog_template, const KDialogUnits& units);

// The place a control's template line gives it (a drop-down list keeps its own height).
QRect ControlRect(const QWidget* control, const KControlTemplate& line, const KDialogUnits& units);

}  // namespace dialogs
