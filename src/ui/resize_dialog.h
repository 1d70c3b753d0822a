#pragma once

#include <QList>
#include <QPointer>

#include "ui/dialog.h"

struct KWindowPlacement;

// A dialog that the user can resize: its controls follow by anchor operations, it cannot be
// made smaller than its template, and its placement is remembered across starts.
class CKResizeDialog : public CKDialog {
  Q_OBJECT

 public:
  CKResizeDialog(int template_id, QWidget* parent);

  // Restores the remembered placement (when it lies on the screen), fixes the minimum size and
  // lays the controls out once.
  bool OnInitDialog() override;
  // Called after every size change: GetSizeDelta, the anchor operations, InvalidateMoved. By
  // default the anchors of the template's lines.
  virtual void Layout();

  // The change of the window's size since the last measurement; measures again (and records
  // the placement) on the way.
  void GetSizeDelta(int& dx, int& dy);
  // Records where the window is, when it is shown normally and has a placement record.
  void SavePlacement();
  // Repaints every control moved since the last GetSizeDelta.
  void InvalidateMoved();

  // The anchor operations, each on one control.
  void MoveRight(int id, int dx);
  void MoveDown(int id, int dy);
  void Move(int id, int dx, int dy);
  void Widen(int id, int dx);
  void Grow(int id, int dx, int dy);
  void MoveDownAndWiden(int id, int dx, int dy);
  // Every control of the template by the anchor its line names.
  void ApplyTemplateAnchors(int dx, int dy);

  void OnOK() override;
  void OnCancel() override;
  void OnClose() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

  KWindowPlacement* m_pPlacement = nullptr;
  QList<QPointer<QWidget>> m_MovedControls;

 private:
  void ChangeControl(QWidget* control, int dx_left, int dy_top, int dx_width, int dy_height);
};
