#include "app/vaultquill_app.h"

#include <QApplication>
#include <QDir>

#include "core/core.h"
#include "core/startup_texts.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "ui/controls/rich_edit.h"
#include "ui/entry_editors_qt.h"
#include "ui/hidden_dlg.h"
#include "ui/user_dialogs.h"

namespace {

void ShowFixed(std::u16string_view text) {
  platform::Messages().ShowMessage(std::u16string(text), platform::MessageIcon::Error);
}

}  // namespace

void LogOutAtOnce(CKCore& core) {
  core.m_SettingsRunTime.m_boolRelogin = true;
}

CVaultQuillApp::CVaultQuillApp() : main_window_(LogOutAtOnce) {}

CVaultQuillApp::~CVaultQuillApp() = default;

bool CVaultQuillApp::InitInstance() {
  const QString name = QString::fromLatin1(CKSingleInstance::kInstanceName);
  const std::uint32_t wake_up = CKSingleInstance::WakeUpMessage(name);
  CKSingleInstance instance(
      name, instance_folder_.isEmpty() ? CKSingleInstance::RuntimeFolder() : instance_folder_);
  if (instance.Acquire() == CKSingleInstance::Start::OtherRunning) {
    instance.WakeRunning(wake_up);
    woke_other_ = true;
    return false;
  }

  QCoreApplication::setOrganizationName(QStringLiteral("Orlavo software"));
  QCoreApplication::setApplicationName(QStringLiteral("VaultQuill"));
  // Ties the windows to the installed desktop entry (its menu item and icon) on Wayland.
  QGuiApplication::setDesktopFileName(QStringLiteral("vaultquill"));
  // The language files and the portable marker lie beside the program, whatever folder it was
  // started from.
  const QString program_folder =
      program_folder_.isEmpty() ? QCoreApplication::applicationDirPath() : program_folder_;
  platform::SetProgramFolder(program_folder.toStdU16String());
  QDir::setCurrent(program_folder);

  auto hidden = std::make_unique<CKHiddenDlg>();
  CKHiddenDlg* hidden_dlg = hidden.get();
  auto* core = new CKCore(std::move(hidden));
  SetTheCore(core);

  if (!CKRichEditCtrl::LoadLibrary()) {
    ShowFixed(startup::kRichEditFailed);
    SetTheCore(nullptr);
    delete core;
    return false;
  }
  if (!core->Init()) {
    ShowFixed(startup::kCoreInitFailed);
    SetTheCore(nullptr);
    delete core;
    return false;
  }
  core->SetWakeUpMessage(wake_up);
  QObject::connect(&instance, &CKSingleInstance::WakeUpReceived, hidden_dlg,
                   &CKHiddenDlg::OnWakeUp);
  core->m_SettingsRunTime.m_boolStartMinimised = core->m_SettingsInterface.m_boolRunMinimised;

  {
    const CKUserDialogs dialogs;
    const CKQtEntryEditors editors;
    RunLogInLoop(*core);
  }

  core->SaveSettings();
  SetTheCore(nullptr);
  delete core;
  instance.Release();
  return false;
}

void CVaultQuillApp::RunLogInLoop(CKCore& core) {
  CKSettingsRunTime& run_time = core.m_SettingsRunTime;
  do {
    run_time.m_boolRelogin = false;
    if (core.m_Databases.LogIn()) {
      run_time.m_boolStartMinimised = false;
      // The log-in dialog offers this user first next time.
      if (const CKDatabase* current = core.m_Databases.GetCurrent()) {
        core.m_SettingsInterface.m_csLastLogin = current->GetName();
      }
      main_window_(core);
      core.m_Databases.LogOut();
    }
    core.SaveSettings();
  } while (run_time.m_boolRelogin);
}
