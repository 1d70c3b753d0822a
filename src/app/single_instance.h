#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

// One running program per user. The first start holds a lock file and listens on a local
// socket, both in the user's runtime folder ($XDG_RUNTIME_DIR) and open to the user only; a
// later start finds the lock held, connects, sends the wake-up number and ends. A lock or
// socket left behind by a program that crashed does not block the next start.
class CKSingleInstance : public QObject {
  Q_OBJECT

 public:
  // The fixed name of the program's instance.
  static constexpr char kInstanceName[] = "Orlavo software VaultQuill 2 Application";

  // Lock and socket in the folder (the user's runtime folder by default).
  explicit CKSingleInstance(const QString& instance_name = QString::fromLatin1(kInstanceName),
                            const QString& folder = RuntimeFolder());
  ~CKSingleInstance() override;

  enum class Start {
    First,         // this is the only program: it listens for wake-ups
    OtherRunning,  // another program holds the lock
    Unavailable,   // no usable runtime folder: run on without the lock
  };
  Start Acquire();
  // Sends the wake-up number to the program that holds the lock; true when it was delivered.
  bool WakeRunning(std::uint32_t message, int timeout_ms = 5000);
  void Release();

  const QString& SocketPath() const { return socket_path_; }
  const QString& LockPath() const { return lock_path_; }

  // $XDG_RUNTIME_DIR when it is a folder of the user's own that nobody else may enter; else
  // the folder Qt makes for the purpose; empty when neither is usable.
  static QString RuntimeFolder();
  // "orlavo-software-vaultquill-2-application": letters and digits of the name, lower case,
  // other runs of characters as one "-".
  static QString BaseName(const QString& instance_name);
  // The wake-up number of a name, as a registered window message would be: 0xC000 to 0xFFFF,
  // the same in every process.
  static std::uint32_t WakeUpMessage(const QString& instance_name);

 signals:
  void WakeUpReceived(std::uint32_t message);

 private:
  void OnConnection();

  QString socket_path_;
  QString lock_path_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer server_;
};
