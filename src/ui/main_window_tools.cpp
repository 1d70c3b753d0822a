// The main window's tools and help: settings, password generator, personal data, clipboard,
// data folder, back-up and restore, help pages, About box and the product page.
#include <sys/stat.h>

#include <QDesktopServices>
#include <QUrl>
#include <string>

#include "core/core.h"
#include "database/entries.h"
#include "files/native_path.h"
#include "ui/about_dlg.h"
#include "ui/clipboard.h"
#include "ui/controls/list_ctrl.h"
#include "ui/generator_dlg.h"
#include "ui/main_window.h"
#include "ui/settings_dlg.h"
#include "ui/version.h"

namespace {

// Which file a path names now: a restore puts a new file in the old one's place.
struct KFileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;

  bool operator==(const KFileIdentity&) const = default;
};

KFileIdentity IdentityOf(const std::u16string& path) {
  std::string native;
  struct stat status {};
  if (!files::NativePath(path, native) || ::stat(native.c_str(), &status) != 0) {
    return {};
  }
  return {true, status.st_dev, status.st_ino};
}

}  // namespace

void CVaultQuillDlg::OnSettings() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  const BusyScope busy(*this);
  const std::u16string language = core->m_Languages.GetActiveName();
  const bool confirmed = RunSettingsDialog(this);
  // The dialog switches the language as soon as one is picked, even when it is then cancelled.
  if (core->m_Languages.GetActiveName() != language) {
    TranslateMenu();
    ApplyTooltips();
    if (CKListCtrl* list = List()) {
      database::SetupColumns(*list);
    }
    UpdateClipboardStatus();
  }
  if (confirmed) {
    core->SaveSettings();
  }
}

void CVaultQuillDlg::OnGenerator() {
  const BusyScope busy(*this);
  RunPasswordGenerator(this);
  UpdateClipboardStatus();
}

void CVaultQuillDlg::OnPersonalData() {
  CKCore* core = TheCore();
  CKDatabase* current = core != nullptr ? core->m_Databases.GetCurrent() : nullptr;
  if (current == nullptr) {
    return;
  }
  const BusyScope busy(*this);
  core->m_Databases.EditUser(*current);
}

void CVaultQuillDlg::OnClearClipboard() {
  clipboard::ClearClipboard();
  UpdateClipboardStatus();
}

void CVaultQuillDlg::OnOpenDataFolder() {
  if (CKCore* core = TheCore()) {
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromStdU16String(core->m_SettingsRunTime.m_csUserDataFolder)));
  }
}

void CVaultQuillDlg::OnBackUp() {
  if (CKCore* core = TheCore()) {
    const BusyScope busy(*this);
    core->m_Databases.BackUp(this);
  }
}

void CVaultQuillDlg::OnRestore() {
  CKCore* core = TheCore();
  CKDatabase* current = core != nullptr ? core->m_Databases.GetCurrent() : nullptr;
  if (current == nullptr) {
    return;
  }
  const KFileIdentity before = IdentityOf(current->GetPath());
  {
    const BusyScope busy(*this);
    core->m_Databases.Restore(this);
  }
  // A restored user appears in the next log-in dialog.
  core->m_Databases.Scan();
  if (IdentityOf(current->GetPath()) != before) {
    // The restore replaced this user's own file. The window's copy of the tree is now the
    // older one, and its next save would silently undo the restore: the user logs in again
    // to the restored notes.
    m_dwCloseMode = kCloseToLogIn;
    EndWindow();
  }
}

void CVaultQuillDlg::OnAbout() {
  const BusyScope busy(*this);
  CAboutDlg about(this);
  about.DoModal();
}

void CVaultQuillDlg::OnVisitWebsite() {
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(version::kProductPage)));
}
