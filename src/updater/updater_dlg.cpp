#include "updater/updater_dlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <array>

#include "languages/languages.h"
#include "languages/text_ids.h"
#include "platform/choosers.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"
#include "settings/settings_system.h"
#include "ui/controls/rich_edit.h"
#include "ui/dialog_texts.h"

namespace {

// The check box and the title show the same text (63.255).
constexpr std::array<KTextPair, 6> kUpdaterTexts = {{
    {languages::TextKey(63, 0), CKUpdaterDlg::kHeading},
    {languages::TextKey(63, 1), CKUpdaterDlg::kSaveCaption},
    {languages::TextKey(63, 255), CKUpdaterDlg::kCheckForUpdates},
    {languages::TextKey(63, 2), CKDialog::kIdOk},
    {texts::kButtonOk.key(), CKDialog::kIdCancel},
    {0, 0},
}};

// Where the installer goes when no folder was chosen yet: the documents folder, else home.
std::u16string DefaultFolder(const CKSettingsRunTime& run_time) {
  if (!run_time.m_csDocumentsFolder.empty()) {
    return run_time.m_csDocumentsFolder;
  }
  return QDir::homePath().toStdU16String();
}

}  // namespace

CKUpdaterDlg::CKUpdaterDlg(CKSettingsInterface& interface_settings,
                           CKSettingsSystem& system_settings, const CKSettingsRunTime& run_time,
                           const CKLanguages& languages, const QByteArray& notes)
    : CKDialog(kTemplateId, nullptr),
      interface_settings_(interface_settings),
      system_settings_(system_settings),
      run_time_(run_time),
      languages_(languages),
      notes_(notes),
      m_csFolder(system_settings.m_csUpdateSavePath.empty() ? DefaultFolder(run_time)
                                                            : system_settings.m_csUpdateSavePath),
      m_boolCheckForUpdates(interface_settings.m_boolCheckForUpdates) {
  m_pTextTable = kUpdaterTexts;
  OnClicked(kBrowse, this, &CKUpdaterDlg::OnBrowse);
}

void CKUpdaterDlg::Offer(CKSettingsInterface& interface_settings, CKSettingsSystem& system_settings,
                         const CKSettingsRunTime& run_time, const CKLanguages& languages,
                         const QByteArray& notes, QObject* context,
                         KUpdaterGuiActions::OfferDone done) {
  auto* dialog = new CKUpdaterDlg(interface_settings, system_settings, run_time, languages, notes);
  connect(dialog, &QDialog::finished, dialog, [dialog, done = std::move(done)](int code) {
    done(code == kIdOk ? std::optional<std::u16string>(dialog->GetFolder()) : std::nullopt);
    dialog->deleteLater();
  });
  connect(context, &QObject::destroyed,
          [guard = QPointer<CKUpdaterDlg>(dialog)] { delete guard.data(); });
  // The program's other windows run modally: this one must be modal too to take input. It
  // does not block the thread that shows it.
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->OnInitDialog();
}

bool CKUpdaterDlg::OnInitDialog() {
  CKDialog::OnInitDialog();
  dialogs::ApplyTextsAndTitle(languages_, this, m_pTextTable);
  if (auto* help = GetDlgItem(kHelp)) {
    help->setEnabled(false);
  }
  if (auto* folder = Item<QLineEdit>(kFolder)) {
    folder->setMaxLength(kMaxFolderLength);
    folder->setText(QString::fromStdU16String(m_csFolder));
  }
  SetChecked(kCheckForUpdates, m_boolCheckForUpdates);
  // The notes take the dialog's font, which is also kept for others to use.
  interface_settings_.m_csFontDescription = font().toString().toStdU16String();
  if (auto* notes = Item<CKRichEditCtrl>(kNotes)) {
    notes->SetupReleaseNotesLook(font());
    CKRichEditMemoryStorage storage(reinterpret_cast<const std::uint8_t*>(notes_.constData()),
                                    static_cast<std::size_t>(notes_.size()));
    notes->StreamIn(storage);
  }
  show();
  RestoreFromTray();
  return true;
}

void CKUpdaterDlg::OnBrowse() {
  std::u16string folder = m_csFolder;
  if (auto* edit = Item<QLineEdit>(kFolder)) {
    folder = edit->text().toStdU16String();
  }
  if (platform::BrowseForFolder(this, folder)) {
    if (auto* edit = Item<QLineEdit>(kFolder)) {
      edit->setText(QString::fromStdU16String(folder));
    }
  }
}

void CKUpdaterDlg::StoreSettings() {
  if (auto* edit = Item<QLineEdit>(kFolder)) {
    m_csFolder = edit->text().toStdU16String();
  }
  if (auto* check = Item<QCheckBox>(kCheckForUpdates)) {
    m_boolCheckForUpdates = check->isChecked();
  }
  system_settings_.m_csUpdateSavePath = m_csFolder;
  interface_settings_.m_boolCheckForUpdates = m_boolCheckForUpdates;
}

void CKUpdaterDlg::OnOK() {
  if (ended_) {
    return;
  }
  languages_.ShowMessageFormat(texts::kMsgDownloadStarts.entry, kRequiredMegabytes);
  StoreSettings();
  // An emptied folder field means the usual folder, not the program's working folder.
  if (m_csFolder.empty()) {
    m_csFolder = DefaultFolder(run_time_);
  }
  ended_ = true;
  EndDialog(kIdOk);
}

void CKUpdaterDlg::OnCancel() {
  if (ended_) {
    return;
  }
  StoreSettings();
  ended_ = true;
  EndDialog(kIdCancel);
}

void CKUpdaterDlg::closeEvent(QCloseEvent* event) {
  // Shown without a modal run of its own: the close box must end it like Close does.
  OnClose();
  event->accept();
}
