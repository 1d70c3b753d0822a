#include "cli_runner.h"

#include <unistd.h>

#include <QProcess>
#include <QStringList>
#include <csignal>
#include <stdexcept>

namespace test {

CliRunner::CliRunner() {
  // A child that ends before reading all its input must not take the test down with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
  std::filesystem::create_directories(temp_ / "config");
  std::filesystem::create_directories(temp_ / "share");
  std::filesystem::create_directories(data());
}

CliResult CliRunner::Run(const std::vector<std::string>& args, const std::string& input) const {
  std::vector<std::string> full = {"--data", data().string(), "--password-stdin"};
  full.insert(full.end(), args.begin(), args.end());
  return RunBare(full, input);
}

CliResult CliRunner::RunBare(const std::vector<std::string>& args, const std::string& input) const {
  QProcessEnvironment environment;
  for (const auto& [name, folder] :
       {std::pair{"HOME", ""}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "share"}}) {
    environment.insert(name, QString::fromStdString(temp_ / folder));
  }
  environment.insert("TZ", "UTC");
  environment.insert("LANG", "C.UTF-8");
  for (const char* name : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = getenv(name)) {
      environment.insert(name, value);
    }
  }
  QStringList arguments;
  for (const std::string& arg : args) {
    arguments << QString::fromStdString(arg);
  }
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setChildProcessModifier([] { setsid(); });  // no controlling terminal
  process.start(VQ_CLI_BINARY, arguments);
  if (!process.waitForStarted(-1)) {
    throw std::runtime_error("cannot start " VQ_CLI_BINARY);
  }
  process.write(input.data(), static_cast<qint64>(input.size()));
  process.closeWriteChannel();
  process.waitForFinished(-1);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

}  // namespace test
