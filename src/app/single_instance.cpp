#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QtEndian>

namespace {

constexpr int kMessageBytes = 4;

// Whether the folder belongs to this user and no one else may enter or list it.
bool IsPrivateFolder(const QString& path) {
  struct stat info {};
  const QByteArray native = QFile::encodeName(path);
  return !path.isEmpty() && ::stat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::getuid() && (info.st_mode & 0077) == 0;
}

// Whether the other end of a connection runs as this user.
bool PeerIsThisUser(const QLocalSocket& socket) {
  ucred credentials{};
  socklen_t length = sizeof credentials;
  const auto descriptor = static_cast<int>(socket.socketDescriptor());
  return descriptor >= 0 &&
         ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
         credentials.uid == ::getuid();
}

}  // namespace

CKSingleInstance::CKSingleInstance(const QString& instance_name, const QString& folder) {
  if (!folder.isEmpty()) {
    const QDir dir(folder);
    const QString base = BaseName(instance_name);
    socket_path_ = dir.filePath(base + QStringLiteral(".socket"));
    lock_path_ = dir.filePath(base + QStringLiteral(".lock"));
  }
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &CKSingleInstance::OnConnection);
}

CKSingleInstance::~CKSingleInstance() {
  Release();
}

QString CKSingleInstance::RuntimeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (IsPrivateFolder(runtime)) {
    return runtime;
  }
  // Qt makes (or checks) a folder of the user's own with mode 0700 when the desktop gives none.
  const QString fallback = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return IsPrivateFolder(fallback) ? fallback : QString();
}

QString CKSingleInstance::BaseName(const QString& instance_name) {
  QString base;
  bool dash = false;
  for (const QChar c : instance_name) {
    if (c.isLetterOrNumber() && c.unicode() < 0x80) {
      if (dash && !base.isEmpty()) {
        base += QLatin1Char('-');
      }
      dash = false;
      base += c.toLower();
    } else {
      dash = true;
    }
  }
  return base;
}

std::uint32_t CKSingleInstance::WakeUpMessage(const QString& instance_name) {
  // FNV-1a over the name's UTF-8 bytes: stable across processes, unlike Qt's seeded hash.
  std::uint32_t hash = 2166136261u;
  for (const char byte : instance_name.toUtf8()) {
    hash ^= static_cast<std::uint8_t>(byte);
    hash *= 16777619u;
  }
  return 0xC000u + hash % 0x4000u;
}

CKSingleInstance::Start CKSingleInstance::Acquire() {
  if (lock_path_.isEmpty()) {
    return Start::Unavailable;
  }
  lock_ = std::make_unique<QLockFile>(lock_path_);
  // Only a lock whose process has gone counts as stale, never one that is merely old.
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    const QLockFile::LockError error = lock_->error();
    lock_.reset();
    return error == QLockFile::LockFailedError ? Start::OtherRunning : Start::Unavailable;
  }
  // A socket file of a program that crashed would block listening. Should listening fail all
  // the same, this is still the only program; a second start just cannot wake it.
  QLocalServer::removeServer(socket_path_);
  server_.listen(socket_path_);
  return Start::First;
}

bool CKSingleInstance::WakeRunning(std::uint32_t message, int timeout_ms) {
  if (socket_path_.isEmpty()) {
    return false;
  }
  QElapsedTimer clock;
  clock.start();
  // The first program may hold the lock a moment before it listens.
  while (clock.elapsed() < timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(socket_path_);
    if (socket.waitForConnected(500)) {
      char bytes[kMessageBytes];
      qToLittleEndian(message, bytes);
      const bool written =
          socket.write(bytes, kMessageBytes) == kMessageBytes && socket.waitForBytesWritten(1000);
      socket.disconnectFromServer();
      if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(1000);
      }
      return written;
    }
    QThread::msleep(100);
  }
  return false;
}

void CKSingleInstance::Release() {
  server_.close();
  if (lock_) {
    lock_->unlock();
    lock_.reset();
  }
}

void CKSingleInstance::OnConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!PeerIsThisUser(*socket)) {
      socket->abort();
      continue;
    }
    auto read = [this, socket] {
      if (socket->bytesAvailable() < kMessageBytes) {
        return;
      }
      char bytes[kMessageBytes];
      if (socket->read(bytes, kMessageBytes) == kMessageBytes) {
        emit WakeUpReceived(qFromLittleEndian<std::uint32_t>(bytes));
      }
      socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    read();
  }
}
