#include "updater/http_get.h"

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <memory>

namespace updater {
namespace {

// How often the wait looks whether the thread was asked to stop.
constexpr std::chrono::milliseconds kInterruptionPoll{50};
// The reply holds at most this much before the consumer has taken it.
constexpr qint64 kReplyBufferSize = 256 * 1024;
constexpr int kMaxRedirects = 10;

// The proxy settings of the system (environment or desktop), for this manager only.
class CKSystemProxyFactory final : public QNetworkProxyFactory {
 public:
  QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
    return systemProxyForQuery(query);
  }
};

QNetworkRequest MakeRequest(const QUrl& address, const KHttpOptions& options) {
  QNetworkRequest request(address);
  request.setHeader(QNetworkRequest::UserAgentHeader,
                    QByteArray(kUserAgent.data(), static_cast<qsizetype>(kUserAgent.size())));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(kMaxRedirects);
  request.setTransferTimeout(static_cast<int>(options.idle_timeout.count()));
  return request;
}

bool IsSuccess(const QNetworkReply& reply) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  bool ok = false;
  const int code = status.toInt(&ok);
  return ok && code >= 200 && code <= 299;
}

}  // namespace

HttpOutcome HttpGet(const QUrl& address, qint64 piece_size,
                    const std::function<bool(const char* data, qint64 size)>& consume,
                    const KHttpOptions& options) {
  const QString scheme = address.scheme();
  if (!address.isValid() || piece_size <= 0 ||
      (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
    return HttpOutcome::kFailed;
  }
  QNetworkAccessManager manager;
  manager.setProxyFactory(new CKSystemProxyFactory);  // the manager takes it over
  const std::unique_ptr<QNetworkReply> reply(manager.get(MakeRequest(address, options)));
  reply->setReadBufferSize(kReplyBufferSize);

  QEventLoop loop;
  HttpOutcome outcome = HttpOutcome::kComplete;
  QByteArray piece(static_cast<qsizetype>(piece_size), Qt::Uninitialized);
  // The reply is deleted when this returns, which ends its transfer; an abort here would race
  // with errors that the network thread is still reporting.
  auto give_up = [&](HttpOutcome why) {
    outcome = why;
    loop.quit();
  };
  // Hands what has arrived to the consumer; false once reading has ended.
  auto drain = [&]() -> bool {
    if (outcome != HttpOutcome::kComplete) {
      return false;
    }
    if (!IsSuccess(*reply)) {
      give_up(HttpOutcome::kFailed);
      return false;
    }
    while (reply->bytesAvailable() > 0) {
      const qint64 got = reply->read(piece.data(), piece_size);
      if (got < 0) {
        give_up(HttpOutcome::kFailed);
        return false;
      }
      if (got > 0 && !consume(piece.constData(), got)) {
        give_up(HttpOutcome::kStopped);
        return false;
      }
    }
    return true;
  };
  QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, drain);
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer watch;
  watch.setInterval(kInterruptionPoll);
  QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
    if (QThread::currentThread()->isInterruptionRequested()) {
      give_up(HttpOutcome::kFailed);
    }
  });
  watch.start();
  if (!reply->isFinished()) {
    loop.exec();
  }
  if (outcome != HttpOutcome::kComplete) {
    return outcome;
  }
  if (reply->error() != QNetworkReply::NoError) {
    return HttpOutcome::kFailed;
  }
  // What arrived with the end (and the status of a reply without a body).
  return drain() ? HttpOutcome::kComplete : outcome;
}

}  // namespace updater
