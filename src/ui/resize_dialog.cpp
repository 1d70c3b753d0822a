#include "ui/resize_dialog.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

#include "settings/window_placement.h"

CKResizeDialog::CKResizeDialog(int template_id, QWidget* parent) : CKDialog(template_id, parent) {}

bool CKResizeDialog::OnInitDialog() {
  CKDialog::OnInitDialog();
  m_rcWindow = MeasureWindow();
  m_iMinWidth = m_rcWindow.width();
  m_iMinHeight = m_rcWindow.height();
  if (m_pPlacement != nullptr && m_pPlacement->IsValid()) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect screen = primary != nullptr ? primary->geometry() : QRect();
    const int left = m_pPlacement->Left();
    const int top = m_pPlacement->Top();
    if (left >= 0 && left < screen.width() && top >= 0 && top < screen.height()) {
      move(left, top);
      resize(std::max(m_pPlacement->Width(), m_iMinWidth),
             std::max(m_pPlacement->Height(), m_iMinHeight));
    }
  }
  m_bMinSize = true;
  setMinimumSize(m_iMinWidth, m_iMinHeight);
  Layout();
  return true;
}

void CKResizeDialog::Layout() {
  int dx = 0;
  int dy = 0;
  GetSizeDelta(dx, dy);
  ApplyTemplateAnchors(dx, dy);
  InvalidateMoved();
}

void CKResizeDialog::GetSizeDelta(int& dx, int& dy) {
  const QRect old = m_rcWindow;
  SavePlacement();
  m_MovedControls.clear();
  dx = m_rcWindow.width() - old.width();
  dy = m_rcWindow.height() - old.height();
}

void CKResizeDialog::SavePlacement() {
  m_rcWindow = MeasureWindow();
  // The record keeps the frame's position and the inside's size, which is what moving and
  // resizing the window take back.
  if (IsShownNormally() && m_pPlacement != nullptr) {
    m_pPlacement->Set(m_rcWindow.left(), m_rcWindow.top(), m_rcWindow.width(), m_rcWindow.height());
  }
}

void CKResizeDialog::InvalidateMoved() {
  for (const QPointer<QWidget>& control : m_MovedControls) {
    if (control) {
      control->update();
    }
  }
}

void CKResizeDialog::ChangeControl(QWidget* control, int dx_left, int dy_top, int dx_width,
                                   int dy_height) {
  if (control == nullptr) {
    return;
  }
  const QRect place = control->geometry();
  m_MovedControls.append(control);
  control->setGeometry(place.left() + dx_left, place.top() + dy_top,
                       std::max(0, place.width() + dx_width),
                       std::max(0, place.height() + dy_height));
}

void CKResizeDialog::MoveRight(int id, int dx) {
  ChangeControl(GetDlgItem(id), dx, 0, 0, 0);
}

void CKResizeDialog::MoveDown(int id, int dy) {
  ChangeControl(GetDlgItem(id), 0, dy, 0, 0);
}

void CKResizeDialog::Move(int id, int dx, int dy) {
  ChangeControl(GetDlgItem(id), dx, dy, 0, 0);
}

void CKResizeDialog::Widen(int id, int dx) {
  ChangeControl(GetDlgItem(id), 0, 0, dx, 0);
}

void CKResizeDialog::Grow(int id, int dx, int dy) {
  ChangeControl(GetDlgItem(id), 0, 0, dx, dy);
}

void CKResizeDialog::MoveDownAndWiden(int id, int dx, int dy) {
  ChangeControl(GetDlgItem(id), 0, dy, dx, 0);
}

void CKResizeDialog::ApplyTemplateAnchors(int dx, int dy) {
  if (Template() == nullptr) {
    return;
  }
  for (const auto& [control, line_pointer] : AllControls()) {
    const KControlTemplate& line = *line_pointer;
    switch (line.anchor) {
      case KAnchor::Stays:
        break;
      case KAnchor::Right:
        ChangeControl(control, dx, 0, 0, 0);
        break;
      case KAnchor::Down:
        ChangeControl(control, 0, dy, 0, 0);
        break;
      case KAnchor::Move:
        ChangeControl(control, dx, dy, 0, 0);
        break;
      case KAnchor::Widen:
        ChangeControl(control, 0, 0, dx, 0);
        break;
      case KAnchor::Grow:
        ChangeControl(control, 0, 0, dx, dy);
        break;
      case KAnchor::DownWiden:
        ChangeControl(control, 0, dy, dx, 0);
        break;
    }
  }
}

void CKResizeDialog::OnOK() {
  SavePlacement();
  CKDialog::OnOK();
}

void CKResizeDialog::OnCancel() {
  SavePlacement();
  CKDialog::OnCancel();
}

void CKResizeDialog::OnClose() {
  SavePlacement();
  CKDialog::OnClose();
}

void CKResizeDialog::resizeEvent(QResizeEvent* event) {
  CKDialog::resizeEvent(event);
  if (!isMinimized() && m_bMinSize && event->size().width() != 0 && event->size().height() != 0) {
    Layout();
  }
}
