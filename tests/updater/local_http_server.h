#pragma once

#include <QByteArray>
#include <QThread>
#include <QUrl>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace test {

// A small HTTP/1.1 server on 127.0.0.1 (an ephemeral port) with its own thread, answering
// each request with what a test set for its target and closing the connection.
class LocalHttpServer {
 public:
  struct Response {
    int status = 200;
    QByteArray body;
    // Sends only this many bytes of the body (after announcing all of it), then closes the
    // connection: a transfer that breaks.
    std::optional<qsizetype> cut_after;
    // Keeps the connection open and never answers.
    bool never_answer = false;

    static Response Status(int status, QByteArray body) {
      Response response;
      response.status = status;
      response.body = std::move(body);
      return response;
    }
    static Response Cut(QByteArray body, qsizetype sent) {
      Response response = Status(200, std::move(body));
      response.cut_after = sent;
      return response;
    }
    static Response Silent() {
      Response response;
      response.never_answer = true;
      return response;
    }
  };
  struct Request {
    QByteArray target;  // path and query
    QByteArray head;    // request line and header lines as sent
    // The value of a header as sent (exact bytes after "Name: "), or nothing.
    std::optional<QByteArray> Header(const QByteArray& name) const;
  };

  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // http://127.0.0.1:PORT
  QUrl Url() const { return url_; }
  // What a target (path and query) is answered with; unknown targets get 404.
  void Serve(const QByteArray& target, Response response);
  void Serve(const QByteArray& target, const QByteArray& body) {
    Serve(target, Response::Status(200, body));
  }
  std::vector<Request> Requests() const;
  int CountFor(const QByteArray& target) const;

  // Called on the server's thread.
  Response ResponseFor(const QByteArray& target) const;
  void Record(Request request);

 private:
  QThread thread_;
  QObject* listener_ = nullptr;  // lives on thread_
  QUrl url_;
  mutable std::mutex mutex_;
  std::map<QByteArray, Response> responses_;
  std::vector<Request> requests_;
};

// Runs the test thread's events until the condition holds or the time is up; the result of
// the last look at the condition.
bool PumpUntil(const std::function<bool()>& condition, int timeout_ms = 10000);

}  // namespace test
