#pragma once

#include <QByteArray>
#include <QThread>
#include <QUrl>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

class QTcpSocket;

namespace test {

// A small HTTP/1.1 server on 127.0.0.1 (an ephemeral port) with its own thread, answering
// each request with what a test set for its target and closing the connection.
class LocalHttpServer {
 public:
  struct Response {
    int status = 200;
    QByteArray body{};
    // Sends only this many bytes of the body (after announcing all of it), then closes the
    // connection: a transfer that breaks.
    std::optional<qsizetype> cut_after{};
    // Keeps the connection open and never answers.
    bool never_answer = false;
  };

  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // http://127.0.0.1:PORT
  QUrl Url() const { return url_; }
  // What a target (path and query) is answered with; unknown targets get 404.
  void Serve(const QByteArray& target, Response response);
  void Serve(const QByteArray& target, const QByteArray& body) { Serve(target, {.body = body}); }
  // The request heads (request line and header lines as sent) in order of arrival.
  std::vector<QByteArray> Heads() const {
    const std::lock_guard lock(mutex_);
    return heads_;
  }
  int CountFor(const QByteArray& target) const;

 private:
  // Answers a socket once its request head is complete; on the server's thread.
  void Answer(QTcpSocket* socket, QByteArray& received);

  QThread thread_;
  QObject* listener_ = nullptr;  // lives on thread_
  QUrl url_;
  mutable std::mutex mutex_;
  std::map<QByteArray, Response> responses_;
  std::vector<QByteArray> heads_;
};

// Runs the test thread's events until the condition holds or the time is up; the result of
// the last look at the condition.
bool PumpUntil(const std::function<bool()>& condition, int timeout_ms = 10000);

}  // namespace test
