#include "ui/hidden_dlg.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include "core/core.h"
#include "languages/menus.h"
#include "platform/tray.h"
#include "ui/about_dlg.h"
#include "ui/dialog_texts.h"
#include "ui/version.h"

namespace {

QString TrayTip() {
  return QString::fromLatin1(version::kVersionText);
}

}  // namespace

CKHiddenDlg::CKHiddenDlg() : CKDialog(kTemplateId, nullptr) {
  timer_.setInterval(kTimerPeriodMs);
  connect(&timer_, &QTimer::timeout, this, &CKHiddenDlg::CheckTray);
  connect(&hot_key_, &CKGlobalHotKey::Activated, this, &CKHiddenDlg::OnHotKey);
}

CKHiddenDlg::~CKHiddenDlg() {
  Destroy();
}

bool CKHiddenDlg::Create() {
  if (Template() == nullptr || TheCore() == nullptr) {
    return false;
  }
  created_ = true;
  return OnInitDialog();
}

bool CKHiddenDlg::OnInitDialog() {
  CKDialog::OnInitDialog();
  CKCore* core = TheCore();
  menu_ = new QMenu(this);
  connect(menu_, &QMenu::aboutToShow, this, [this] { RebuildTrayMenu(); });
  connect(menu_, &QMenu::triggered, this,
          [this](QAction* action) { HandleTrayCommand(dialogs::MenuCommand(action)); });
  timer_.start();
  NotifyTrayIcon(TrayOperation::Add, core->m_hSmallIcon, TrayTip());
  RebuildTrayMenu();
  const CKSettingsInterface& settings = core->m_SettingsInterface;
  if (settings.m_boolHotKey) {
    // A key that another program holds stays unclaimed, without a word.
    hot_key_.Register(settings.m_wordVirtKey, settings.m_wordKeyMod);
  }
  return true;
}

void CKHiddenDlg::Destroy() {
  if (!created_) {
    return;
  }
  created_ = false;
  timer_.stop();
  hot_key_.Unregister();
  NotifyTrayIcon(TrayOperation::Delete, QIcon(), QString());
  active_ = nullptr;
}

bool CKHiddenDlg::IsTrayIconShown() const {
  return created_ && HasTrayIcon() && TrayIcon() != nullptr && TrayIcon()->isVisible() &&
         platform::IsTrayAvailable();
}

void CKHiddenDlg::MinimiseToTray() {
  if (active_) {
    active_->ToggleTray();
  }
}

void CKHiddenDlg::RestoreFromTray() {
  if (active_) {
    active_->ToggleTray();
  }
}

bool CKHiddenDlg::RebuildTrayMenu() {
  if (menu_ == nullptr || TheCore() == nullptr) {
    return false;
  }
  menu_->clear();
  const bool has_items =
      dialogs::BuildMenu(TheCore()->m_Languages, menus::kTrayMenuGroup, *menu_) > 0;
  if (QSystemTrayIcon* tray = TrayIcon()) {
    if (!has_items) {
      tray->setContextMenu(nullptr);
    } else if (tray->contextMenu() != menu_) {
      tray->setContextMenu(menu_);
    }
  }
  return has_items;
}

void CKHiddenDlg::OnTrayMenu() {
  // The tray shows the menu itself; here it only follows the active language.
  RebuildTrayMenu();
}

void CKHiddenDlg::HandleTrayCommand(std::uint32_t command) {
  switch (command) {
    case menus::kTrayAbout: {
      CAboutDlg about(active_ && active_->isVisible() ? active_.data() : nullptr);
      about.DoModal();
      break;
    }
    case menus::kTrayShowHide:
      RestoreFromTray();
      break;
    case menus::kTrayExit:
      if (active_) {
        active_->SetCloseMode(1, 0);
        // Posted, as a close request: the menu's own handling ends first.
        QMetaObject::invokeMethod(
            active_.data(),
            [dialog = active_] {
              if (dialog) {
                dialog->close();
              }
            },
            Qt::QueuedConnection);
      }
      break;
    default:
      break;
  }
}

void CKHiddenDlg::OnWakeUp(std::uint32_t message) {
  CKCore* core = TheCore();
  if (core != nullptr && message == core->GetWakeUpMessage() && active_) {
    active_->RestoreFromTray();
  }
}

void CKHiddenDlg::OnHotKey() {
  CKCore* core = TheCore();
  // Turning the option off works at once; the key stays claimed until the next start.
  if (core != nullptr && core->m_SettingsInterface.m_boolHotKey && active_) {
    active_->RestoreFromTray();
  }
}

void CKHiddenDlg::CheckTray() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  // The window is made before a language is active, so the menu is filled once one is.
  if (TrayIcon() != nullptr && TrayIcon()->contextMenu() == nullptr) {
    RebuildTrayMenu();
  }
  bool& seen = core->m_SettingsRunTime.m_boolTrayAvailable;
  const bool available = platform::IsTrayAvailable();
  if (available == seen) {
    return;
  }
  // The tray has come (back) or gone: the icon is added anew.
  m_bTrayIcon = false;
  NotifyTrayIcon(TrayOperation::Add, core->m_hSmallIcon, TrayTip());
  RebuildTrayMenu();
  seen = available;
  if (!available && active_ && active_->IsInTray() && !active_->isVisible()) {
    // Hidden into a tray that has gone: the dialog stays reachable, minimised.
    active_->showMinimized();
  }
}
