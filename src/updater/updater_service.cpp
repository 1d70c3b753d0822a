#include "updater/updater_service.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "files/errors.h"
#include "languages/languages.h"
#include "languages/text_ids.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"
#include "settings/settings_system.h"
#include "updater/updater_dlg.h"

namespace {

// The running checks, each a thread and the object on the user-interface thread that its
// requests are sent to. Lives on that thread as a child of the application.
class CKUpdateChecks final : public QObject {
 public:
  static CKUpdateChecks* Get() {
    static QPointer<CKUpdateChecks> checks;
    if (checks.isNull()) {
      checks = new CKUpdateChecks;
    }
    return checks.data();
  }

  ~CKUpdateChecks() override { StopAll(); }

  // Takes over both objects and starts the thread.
  void Add(std::unique_ptr<QObject> context, std::unique_ptr<QThread> thread) {
    QThread* running = thread.get();
    // Queued: the thread says it has finished from the thread itself.
    connect(running, &QThread::finished, this, [this, running] { Remove(running); });
    checks_.push_back(KCheck{std::move(context), std::move(thread)});
    running->start();
  }

  void StopAll() {
    for (KCheck& check : checks_) {
      check.thread->requestInterruption();
    }
    // Threads first: a context must outlive its thread (the thread posts to it).
    for (KCheck& check : checks_) {
      check.thread->wait();
    }
    checks_.clear();
  }

  std::size_t Count() const { return checks_.size(); }

 private:
  struct KCheck {
    std::unique_ptr<QObject> context;  // deleting it drops its pending requests, closes its dialog
    std::unique_ptr<QThread> thread;
  };

  CKUpdateChecks() : QObject(QCoreApplication::instance()) {
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            [this] { StopAll(); });
  }

  void Remove(QThread* finished) {
    const auto found =
        std::find_if(checks_.begin(), checks_.end(),
                     [finished](const KCheck& check) { return check.thread.get() == finished; });
    if (found != checks_.end()) {
      found->thread->wait();
      checks_.erase(found);
    }
  }

  std::vector<KCheck> checks_;
};

std::uint32_t SystemClock() {
  return static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
}

// The folder part of a path, with its separator.
QString FolderOf(const std::u16string& path) {
  const auto slash = path.rfind(u'/');
  return QString::fromStdU16String(slash == std::u16string::npos ? std::u16string()
                                                                 : path.substr(0, slash + 1));
}

KUpdaterGuiActions MakeActions(CKSettingsInterface& interface_settings,
                               CKSettingsSystem& system_settings, const CKSettingsRunTime& run_time,
                               const CKLanguages& languages, const KUpdaterOptions& options,
                               QObject* context) {
  KUpdaterGuiActions actions;
  actions.record_offered_build = [&system_settings](std::uint32_t build) {
    system_settings.m_dwordCheckedBuild = std::max(system_settings.m_dwordCheckedBuild, build);
  };
  actions.offer = options.offer;
  if (!actions.offer) {
    actions.offer = [&interface_settings, &system_settings, &run_time, &languages, context](
                        const QByteArray& notes, KUpdaterGuiActions::OfferDone done) {
      CKUpdaterDlg::Offer(interface_settings, system_settings, run_time, languages, notes, context,
                          std::move(done));
    };
  }
  actions.report_file_error = [](const std::u16string& path, int system_error) {
    CKFileError(path.c_str(), true, system_error);
  };
  actions.install = &updater::InstallDownloadedFile;
  auto open_folder = options.open_folder;
  if (!open_folder) {
    open_folder = [](const QString& folder) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    };
  }
  actions.announce = [&languages, open_folder](const std::u16string& installer) {
    if (languages.AskFormat(texts::kAskOpenDownloadFolder.entry, std::u16string_view(installer))) {
      open_folder(FolderOf(installer));
    }
  };
  return actions;
}

}  // namespace

bool CKUpdaterService::Start(CKSettingsInterface& interface_settings,
                             CKSettingsSystem& system_settings, const CKSettingsRunTime& run_time,
                             const CKLanguages& languages, const KUpdaterOptions& options) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr || QThread::currentThread() != application->thread()) {
    return false;  // the settings belong to the user-interface thread
  }
  const std::uint32_t now = options.clock ? options.clock() : SystemClock();
  if (!interface_settings.m_boolCheckForUpdates ||
      !updater::IsCheckDue(now, system_settings.m_dwordCheckedTime)) {
    return false;
  }
  system_settings.m_dwordCheckedTime = now;

  const updater::KUpdateCheckInput input{options.server, system_settings.m_dwordCurrentBuild,
                                         system_settings.m_dwordCheckedBuild, options.http};
  auto context = std::make_unique<QObject>();
  auto host = std::make_shared<CKGuiThreadHost>(
      context.get(), MakeActions(interface_settings, system_settings, run_time, languages, options,
                                 context.get()));
  std::unique_ptr<QThread> thread(
      QThread::create([input, host] { updater::RunUpdateCheck(input, *host); }));
  CKUpdateChecks::Get()->Add(std::move(context), std::move(thread));
  return true;
}

void CKUpdaterService::StopAll() {
  if (QCoreApplication::instance() != nullptr) {
    CKUpdateChecks::Get()->StopAll();
  }
}

std::size_t CKUpdaterService::RunningChecks() {
  return QCoreApplication::instance() != nullptr ? CKUpdateChecks::Get()->Count() : 0;
}
