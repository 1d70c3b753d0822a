#include "ui/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyleHints>
#include <QSystemTrayIcon>

#include "core/core.h"
#include "core/hidden_window.h"
#include "platform/tray.h"
#include "ui/about_dlg.h"
#include "ui/controls/secure_text.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_templates.h"
#include "ui/dialog_texts.h"

namespace {

// Most characters of the tray icon's tip.
constexpr int kMaxTipLength = 127;

Qt::WindowFlags FlagsFor(const KDialogTemplate& dialog_template, bool has_parent) {
  // A window of its own (not a dialog of another) so that window managers offer minimising.
  Qt::WindowFlags flags = (dialog_template.minimize_box || !has_parent) ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint;
  if (dialog_template.caption) {
    flags |= Qt::WindowTitleHint;
  }
  if (dialog_template.system_menu) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  }
  if (dialog_template.minimize_box) {
    flags |= Qt::WindowMinimizeButtonHint;
  }
  if (dialog_template.maximize_box) {
    flags |= Qt::WindowMaximizeButtonHint;
  }
  return flags;
}

}  // namespace

CKDialog::CKDialog(int template_id, QWidget* parent)
    : QDialog(parent),
      template_id_(template_id),
      template_(dialogs::FindTemplate(template_id)),
      units_(QApplication::font()) {
  if (template_ == nullptr) {
    return;
  }
  setWindowFlags(FlagsFor(*template_, parent != nullptr));
  setSizeGripEnabled(false);
  dialogs::KBuiltControls built = dialogs::BuildControls(this, *template_, units_);
  controls_ = std::move(built.by_id);
  all_controls_ = std::move(built.all);
  const QSize size = dialogs::DialogSize(*template_, units_);
  if (template_->resizable) {
    resize(size);
  } else {
    setFixedSize(size);
  }
  OnClicked(kIdOk, this, &CKDialog::accept);
  OnClicked(kIdCancel, this, &CKDialog::reject);
}

CKDialog::~CKDialog() {
  if (loop_ != nullptr) {
    loop_->quit();
  }
}

int CKDialog::DoModal() {
  if (template_ == nullptr || loop_ != nullptr) {
    return -1;
  }
  ended_ = false;
  end_code_ = kIdCancel;
  setWindowModality(Qt::ApplicationModal);
  try {
    if (!initialised_) {
      initialised_ = true;
      OnInitDialog();
    }
  } catch (...) {
    hide();
    return -1;
  }
  if (!ended_) {
    // Shown only by the template or by the dialog's own initialisation, so that a dialog can
    // start in the tray.
    if (template_->visible && !m_bInTray && !isVisible()) {
      show();
    }
    QEventLoop loop;
    loop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
  }
  hide();
  return end_code_;
}

void CKDialog::EndDialog(int code) {
  end_code_ = code;
  ended_ = true;
  QDialog::done(code);
  if (loop_ != nullptr) {
    loop_->quit();
  }
}

bool CKDialog::OnInitDialog() {
  if (CKCore* core = TheCore()) {
    QIcon icon;
    for (const int size : {16, 24}) {
      icon.addPixmap(core->m_hSmallIcon.pixmap(size, size));
    }
    for (const int size : {32, 48, 64, 128}) {
      icon.addPixmap(core->m_hIcon.pixmap(size, size));
    }
    setWindowIcon(icon);
  }
  // An About item in the system menu needs a window system that lets programs extend that
  // menu; the X11 and Wayland desktops do not, so the About box is reached through the tray.
  ApplyTooltips();
  if (!m_bNoCentre) {
    CentreOnOwner();
  }
  RepositionIntoDesktop();
  return true;
}

void CKDialog::ApplyTooltips() {
  CKCore* core = TheCore();
  if (core == nullptr || m_pTextTable.empty()) {
    return;
  }
  for (const auto& [id, control] : controls_) {
    const QString tip = dialogs::GetTooltip(core->m_Languages, m_pTextTable, id);
    if (!tip.isEmpty()) {
      control->setToolTip(tip);
    }
  }
}

void CKDialog::CentreOnOwner() {
  QRect area;
  if (parentWidget() != nullptr && parentWidget()->isVisible()) {
    area = parentWidget()->window()->frameGeometry();
  } else if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    area = primary->availableGeometry();
  } else {
    return;
  }
  move(area.center() - QPoint(width() / 2, height() / 2));
}

void CKDialog::RepositionIntoDesktop() {
  const QScreen* on = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (on == nullptr) {
    return;
  }
  const QRect work = on->availableGeometry();
  const QRect frame = frameGeometry();
  QPoint shift(0, 0);
  if (frame.right() > work.right()) {
    shift.rx() = work.right() - frame.right();
  }
  if (frame.left() + shift.x() < work.left()) {
    shift.rx() = work.left() - frame.left();
  }
  if (frame.bottom() > work.bottom()) {
    shift.ry() = work.bottom() - frame.bottom();
  }
  if (frame.top() + shift.y() < work.top()) {
    shift.ry() = work.top() - frame.top();
  }
  if (!shift.isNull()) {
    move(pos() + shift);
  }
}

QRect CKDialog::MeasureWindow() const {
  return QRect(pos(), size());
}

bool CKDialog::IsShownNormally() const {
  return !isMinimized() && !isMaximized() && !m_bInTray;
}

void CKDialog::MinimiseToTray() {
  minimising_ = true;
  showMinimized();
  CKCore* core = TheCore();
  // Hidden only while a tray icon is there to bring it back; on a desktop without a tray the
  // window stays minimised where the user can reach it.
  if (core != nullptr && core->m_SettingsInterface.m_boolSystemTray &&
      core->GetHiddenDlg().IsTrayIconShown()) {
    hide();
  }
  m_bInTray = true;
  minimising_ = false;
}

void CKDialog::RestoreFromTray() {
  if (!m_bInTray) {
    show();
    raise();
    activateWindow();
    return;
  }
  show();
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  raise();
  activateWindow();
  RepositionIntoDesktop();
  m_bInTray = false;
}

bool CKDialog::NotifyTrayIcon(TrayOperation operation, const QIcon& icon, const QString& tip) {
  if (operation == TrayOperation::Delete) {
    if (!m_bTrayIcon) {
      return false;
    }
    m_bTrayIcon = false;
    if (tray_ != nullptr) {
      tray_->hide();
    }
    return true;
  }
  if (m_bTrayIcon) {
    return true;
  }
  m_bTrayIcon = true;
  if (tray_ == nullptr) {
    tray_ = new QSystemTrayIcon(this);
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
              OnTrayActivated(static_cast<int>(reason));
            });
  }
  tray_->setIcon(icon);
  tray_->setToolTip(tip.left(kMaxTipLength));
  // Showing again registers the icon with a tray that has come (back) since.
  tray_->hide();
  tray_->show();
  // Without a tray nothing is shown now; the hidden window adds the icon again once a tray
  // appears, instead of blocking the program to try again.
  return platform::IsTrayAvailable();
}

void CKDialog::OnTrayActivated(int reason) {
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  switch (static_cast<QSystemTrayIcon::ActivationReason>(reason)) {
    case QSystemTrayIcon::Trigger:
      // Desktops differ: some report a click, some only a double click, some both for one
      // double click. A click toggles; the double click right after it does not again.
      last_trigger_ms_ = now;
      ToggleTray();
      break;
    case QSystemTrayIcon::DoubleClick:
      if (last_trigger_ms_ < 0 ||
          now - last_trigger_ms_ > QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        ToggleTray();
      }
      break;
    case QSystemTrayIcon::Context:
      OnTrayMenu();
      break;
    default:
      break;
  }
}

void CKDialog::ToggleTray() {
  if (IsShownNormally()) {
    MinimiseToTray();
  } else {
    RestoreFromTray();
  }
}

void CKDialog::SetCloseMode(std::uint32_t, std::uint32_t) {}

void CKDialog::OnSysCommand(std::uint32_t command) {
  if ((command & 0xFFF0u) == kSysCommandAbout) {
    CAboutDlg about(this);
    about.DoModal();
    return;
  }
  if (command == kSysCommandMinimise) {
    MinimiseToTray();
  }
}

void CKDialog::OnOK() {
  EndDialog(kIdOk);
}

void CKDialog::OnCancel() {
  EndDialog(kIdCancel);
}

void CKDialog::OnClose() {
  EndDialog(kIdCancel);
}

void CKDialog::accept() {
  OnOK();
}

void CKDialog::reject() {
  OnCancel();
}

QWidget* CKDialog::GetDlgItem(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

bool CKDialog::IsChecked(int id) const {
  const auto* button = Item<QAbstractButton>(id);
  return button != nullptr && button->isChecked();
}

void CKDialog::SetChecked(int id, bool checked) const {
  if (auto* button = Item<QAbstractButton>(id)) {
    button->setChecked(checked);
  }
}

void CKDialog::WipeEdits(std::span<const int> ids) const {
  for (const int id : ids) {
    if (auto* edit = Item<QLineEdit>(id)) {
      secure::WipeLineEdit(edit);
    } else if (auto* memo = Item<QPlainTextEdit>(id)) {
      secure::WipeMemoEdit(memo);
    }
  }
}

void CKDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) {
    return;
  }
  if (isMinimized()) {
    // Minimised by the window system (its button or a keyboard shortcut).
    if (!minimising_ && !m_bInTray) {
      OnSysCommand(kSysCommandMinimise);
    }
  } else if (m_bInTray && isVisible()) {
    // Restored by the window system (its task bar): no longer in the tray.
    m_bInTray = false;
  }
}

void CKDialog::closeEvent(QCloseEvent* event) {
  if (loop_ == nullptr || ended_) {
    event->accept();
    return;
  }
  OnClose();
  if (ended_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void CKDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    ShowHelp();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
