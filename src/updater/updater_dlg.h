#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>

#include "ui/dialog.h"
#include "updater/gui_thread_host.h"

class CKLanguages;
class CKSettingsInterface;
class CKSettingsRunTime;
class CKSettingsSystem;
class QCloseEvent;

// The update dialog: the release notes of a new build, whether to go on checking, and the
// folder that receives the installer. Download (OK) and Close (Cancel) both store the folder
// and the check box in the settings; it runs on the user-interface thread.
class CKUpdaterDlg final : public CKDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 111;
  static constexpr int kBrowse = 650;
  static constexpr int kHelp = 651;
  static constexpr int kCheckForUpdates = 652;
  static constexpr int kNotes = 653;
  static constexpr int kFolder = 654;
  static constexpr int kHeading = 655;
  static constexpr int kSaveCaption = 656;
  static constexpr int kMaxFolderLength = 250;
  // The free space (MB) that message 0.41 asks for.
  static constexpr std::int64_t kRequiredMegabytes = 64;

  // notes: the release notes as the server sent them (Rich Text Format in a zero-filled
  // block); the dialog keeps a copy.
  CKUpdaterDlg(CKSettingsInterface& interface_settings, CKSettingsSystem& system_settings,
               const CKSettingsRunTime& run_time, const CKLanguages& languages,
               const QByteArray& notes);

  // Shows the dialog for a check without blocking, above the other windows of the program;
  // done receives the folder after Download and nothing after Close. The dialog deletes itself
  // when it ends, and closes when context is deleted (the program is ending; done is then
  // dropped uncalled).
  static void Offer(CKSettingsInterface& interface_settings, CKSettingsSystem& system_settings,
                    const CKSettingsRunTime& run_time, const CKLanguages& languages,
                    const QByteArray& notes, QObject* context, KUpdaterGuiActions::OfferDone done);

  bool OnInitDialog() override;
  // The updater has no help page; its "?" button is disabled.
  bool ShowHelp() override { return false; }
  // Download: message 0.41, then the settings are stored.
  void OnOK() override;
  // Close: the settings are stored as well.
  void OnCancel() override;
  void OnClose() override { OnCancel(); }
  void OnBrowse();

  // The folder as the dialog last read it.
  const std::u16string& GetFolder() const { return m_csFolder; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Reads the controls and stores the folder and the check box.
  void StoreSettings();

  CKSettingsInterface& interface_settings_;
  CKSettingsSystem& system_settings_;
  const CKSettingsRunTime& run_time_;
  const CKLanguages& languages_;
  QByteArray notes_;
  std::u16string m_csFolder;
  bool m_boolCheckForUpdates;
  bool ended_ = false;
};
