#pragma once

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "updater/update_check.h"

// What the user-interface thread does for a check; every action runs on that thread.
struct KUpdaterGuiActions {
  using OfferDone = std::function<void(std::optional<std::u16string> folder)>;

  // Records the newest build offered (the system settings' m_dwordCheckedBuild).
  std::function<void(std::uint32_t build)> record_offered_build;
  // Shows the release notes without blocking the thread and calls done exactly once with the
  // folder chosen for the download, or with nothing when the user closed the dialog. When the
  // program ends first, done may never be called: the check then ends on its own.
  std::function<void(const QByteArray& notes, OfferDone done)> offer;
  // Shows the file message.
  std::function<void(const std::u16string& path, int system_error)> report_file_error;
  // Puts the downloaded installer in place (updater::InstallDownloadedFile).
  std::function<bool(const std::u16string& download, const std::u16string& installer)> install;
  // Question 1.6, and the installer's folder opened on Yes.
  std::function<void(const std::u16string& installer)> announce;
};

// Runs the check's requests on the thread of a context object (the user-interface thread):
// the checker's thread posts each action there and, where it needs the answer, waits for it.
// The wait ends early, with "no" for an answer, when the checker's thread is asked to stop
// (QThread::requestInterruption) or when an action is dropped unanswered, so that ending the
// program never waits for a dialog. The context object must outlive the checker's thread;
// requests still pending when it is deleted are dropped.
class CKGuiThreadHost final : public CKUpdaterHost {
 public:
  CKGuiThreadHost(QObject* context, KUpdaterGuiActions actions);

  void RecordOfferedBuild(std::uint32_t build) override;
  std::optional<std::u16string> OfferUpdate(const CKMemoryBuffer& notes) override;
  void ReportFileError(const std::u16string& path, int system_error) override;
  bool InstallDownload(const std::u16string& download, const std::u16string& installer) override;
  void AnnounceInstaller(const std::u16string& installer) override;

 private:
  // Posts the action and returns at once.
  void Post(std::function<void()> action);

  QObject* context_;
  KUpdaterGuiActions actions_;
};
