#pragma once

#include <QUrl>
#include <QtGlobal>
#include <chrono>
#include <functional>
#include <string_view>

namespace updater {

// The user-agent text of every request: the program's name and version, then " / ".
inline constexpr std::string_view kUserAgent = "VaultQuill v2.0 / ";

struct KHttpOptions {
  // A request fails when nothing arrives for this long.
  std::chrono::milliseconds idle_timeout{30000};
};

enum class HttpOutcome {
  kComplete,  // the whole body was read
  kStopped,   // the consumer had enough
  kFailed,    // no answer, a network error, a status other than 2xx, the idle timeout, or the
              // calling thread was asked to stop (QThread::requestInterruption)
};

// Sends a GET for an http or https address and waits for its end on the calling thread, with
// a local event loop: the checker's thread uses the network synchronously. The request carries
// the user agent, is neither answered from nor written to a cache (the server sees
// "Cache-Control: no-cache"), follows redirects that keep the security of the address, and
// goes through the system's proxy settings.
//
// Once the server has answered with a success status, the body goes to consume in pieces of
// at most piece_size bytes; consume returns false when it wants no more.
HttpOutcome HttpGet(const QUrl& address, qint64 piece_size,
                    const std::function<bool(const char* data, qint64 size)>& consume,
                    const KHttpOptions& options = {});

}  // namespace updater
