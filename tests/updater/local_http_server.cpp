#include "local_http_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QMetaObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <stdexcept>

namespace test {
namespace {

QByteArray ReasonFor(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 404:
      return "Not Found";
    default:
      return "Status";
  }
}

// Answers one connection once its request head is complete.
void Answer(LocalHttpServer& owner, QTcpSocket* socket, QByteArray& received) {
  const qsizetype end = received.indexOf("\r\n\r\n");
  if (end < 0) {
    return;
  }
  LocalHttpServer::Request request;
  request.head = received.left(end);
  const QList<QByteArray> request_line = request.head.left(request.head.indexOf("\r\n")).split(' ');
  request.target = request_line.size() > 1 ? request_line[1] : QByteArray();
  received.clear();
  const LocalHttpServer::Response response = owner.ResponseFor(request.target);
  owner.Record(request);
  if (response.never_answer) {
    return;
  }
  QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                     ReasonFor(response.status) +
                     "\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                     "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
  reply += response.cut_after ? response.body.left(*response.cut_after) : response.body;
  socket->write(reply);
  socket->disconnectFromHost();  // after what was written has gone out
}

}  // namespace

std::optional<QByteArray> LocalHttpServer::Request::Header(const QByteArray& name) const {
  for (const QByteArray& line : head.split('\n')) {
    const QByteArray trimmed = line.endsWith('\r') ? line.chopped(1) : line;
    const qsizetype colon = trimmed.indexOf(':');
    if (colon > 0 && trimmed.left(colon).compare(name, Qt::CaseInsensitive) == 0) {
      return trimmed.mid(colon + 2);
    }
  }
  return std::nullopt;
}

LocalHttpServer::LocalHttpServer() {
  thread_.start();
  listener_ = new QObject;
  listener_->moveToThread(&thread_);
  quint16 port = 0;
  QMetaObject::invokeMethod(
      listener_,
      [this, &port] {
        auto* server = new QTcpServer(listener_);
        QObject::connect(server, &QTcpServer::newConnection, server, [this, server] {
          while (QTcpSocket* socket = server->nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
              *received += socket->readAll();
              Answer(*this, socket, *received);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
          }
        });
        if (server->listen(QHostAddress::LocalHost, 0)) {
          port = server->serverPort();
        }
      },
      Qt::BlockingQueuedConnection);
  if (port == 0) {
    throw std::runtime_error("the test server cannot listen");
  }
  url_ = QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
}

LocalHttpServer::~LocalHttpServer() {
  QMetaObject::invokeMethod(
      listener_, [this] { delete listener_; }, Qt::BlockingQueuedConnection);
  thread_.quit();
  thread_.wait();
}

void LocalHttpServer::Serve(const QByteArray& target, Response response) {
  const std::lock_guard lock(mutex_);
  responses_[target] = std::move(response);
}

LocalHttpServer::Response LocalHttpServer::ResponseFor(const QByteArray& target) const {
  const std::lock_guard lock(mutex_);
  const auto found = responses_.find(target);
  return found != responses_.end() ? found->second : Response::Status(404, "Not Found");
}

void LocalHttpServer::Record(Request request) {
  const std::lock_guard lock(mutex_);
  requests_.push_back(std::move(request));
}

std::vector<LocalHttpServer::Request> LocalHttpServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

int LocalHttpServer::CountFor(const QByteArray& target) const {
  const std::lock_guard lock(mutex_);
  int count = 0;
  for (const Request& request : requests_) {
    count += request.target == target ? 1 : 0;
  }
  return count;
}

bool PumpUntil(const std::function<bool()>& condition, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout_ms) {
      return condition();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace test
