#include "updater/gui_thread_host.h"

#include <QMetaObject>
#include <QThread>
#include <chrono>
#include <future>
#include <memory>
#include <utility>

namespace {

constexpr std::chrono::milliseconds kInterruptionPoll{50};

// Posts a request whose body fulfils the promise (now or later), and waits for the answer.
// Nothing comes back when the checker's thread is asked to stop, or when the request is
// dropped unanswered (its promise is then broken).
template <typename Result>
std::optional<Result> Ask(QObject* context,
                          std::function<void(std::shared_ptr<std::promise<Result>>)> body) {
  auto promise = std::make_shared<std::promise<Result>>();
  std::future<Result> answer = promise->get_future();
  const bool posted = QMetaObject::invokeMethod(
      context,
      [promise = std::move(promise), body = std::move(body)]() mutable {
        body(std::move(promise));
      },
      Qt::QueuedConnection);
  if (!posted) {
    return std::nullopt;
  }
  while (answer.wait_for(kInterruptionPoll) != std::future_status::ready) {
    if (QThread::currentThread()->isInterruptionRequested()) {
      return std::nullopt;
    }
  }
  try {
    return answer.get();
  } catch (const std::future_error&) {
    return std::nullopt;  // dropped unanswered
  }
}

}  // namespace

CKGuiThreadHost::CKGuiThreadHost(QObject* context, KUpdaterGuiActions actions)
    : context_(context), actions_(std::move(actions)) {}

void CKGuiThreadHost::Post(std::function<void()> action) {
  QMetaObject::invokeMethod(context_, std::move(action), Qt::QueuedConnection);
}

void CKGuiThreadHost::RecordOfferedBuild(std::uint32_t build) {
  Post([record = actions_.record_offered_build, build] { record(build); });
}

std::optional<std::u16string> CKGuiThreadHost::OfferUpdate(const CKMemoryBuffer& notes) {
  // A copy: the dialog may outlive this thread's wait when the program ends.
  QByteArray copy(reinterpret_cast<const char*>(notes.GetData()),
                  static_cast<qsizetype>(notes.GetSize()));
  using Answer = std::optional<std::u16string>;
  const auto answer = Ask<Answer>(context_, [offer = actions_.offer, copy = std::move(copy)](
                                                std::shared_ptr<std::promise<Answer>> promise) {
    offer(copy, [promise = std::move(promise)](Answer folder) {
      try {
        promise->set_value(std::move(folder));
      } catch (const std::future_error&) {
        // The first answer counts.
      }
    });
  });
  return answer ? *answer : std::nullopt;
}

void CKGuiThreadHost::ReportFileError(const std::u16string& path, int system_error) {
  Post([report = actions_.report_file_error, path, system_error] { report(path, system_error); });
}

bool CKGuiThreadHost::InstallDownload(const std::u16string& download,
                                      const std::u16string& installer) {
  const auto installed = Ask<bool>(context_, [install = actions_.install, download, installer](
                                                 std::shared_ptr<std::promise<bool>> promise) {
    promise->set_value(install(download, installer));
  });
  return installed.value_or(false);
}

void CKGuiThreadHost::AnnounceInstaller(const std::u16string& installer) {
  Post([announce = actions_.announce, installer] { announce(installer); });
}
