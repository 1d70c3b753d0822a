#include "local_http_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QMetaObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <stdexcept>

namespace test {

void LocalHttpServer::Answer(QTcpSocket* socket, QByteArray& received) {
  const qsizetype end = received.indexOf("\r\n\r\n");
  if (end < 0) {
    return;
  }
  const QByteArray head = received.left(end);
  const QList<QByteArray> request_line = head.left(head.indexOf("\r\n")).split(' ');
  const QByteArray target = request_line.size() > 1 ? request_line[1] : QByteArray();
  received.clear();
  Response response{.status = 404, .body = "Not Found"};
  {
    const std::lock_guard lock(mutex_);
    heads_.push_back(head);
    if (const auto found = responses_.find(target); found != responses_.end()) {
      response = found->second;
    }
  }
  if (response.never_answer) {
    return;
  }
  socket->write("HTTP/1.1 " + QByteArray::number(response.status) +
                " Status\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n" +
                response.body.left(response.cut_after.value_or(response.body.size())));
  socket->disconnectFromHost();  // after what was written has gone out
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
              Answer(socket, *received);
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

int LocalHttpServer::CountFor(const QByteArray& target) const {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(heads_.begin(), heads_.end(), [&](const QByteArray& head) {
    return head.startsWith("GET " + target + " ");
  }));
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
