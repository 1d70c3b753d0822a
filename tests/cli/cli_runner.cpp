#include "cli_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

extern char** environ;

namespace test {
namespace {

void Pipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
}

// Reads both pipes to their ends, whichever the child fills first.
void Drain(int out_fd, int err_fd, std::string& out, std::string& err) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* targets[2] = {&out, &err};
  int open_count = 2;
  char buffer[65536];
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw std::runtime_error("poll failed");
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) {
        continue;
      }
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        targets[i]->append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
}

}  // namespace

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
  std::vector<std::string> argv_text = {VQ_CLI_BINARY};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_text) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);

  std::vector<std::string> env_text = {
      "HOME=" + root().string(), "XDG_CONFIG_HOME=" + (root() / "config").string(),
      "XDG_DATA_HOME=" + (root() / "share").string(), "TZ=UTC", "LANG=C.UTF-8"};
  for (const char* name : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = getenv(name)) {
      env_text.push_back(std::string(name) + "=" + value);
    }
  }
  std::vector<char*> env;
  for (std::string& entry : env_text) {
    env.push_back(entry.data());
  }
  env.push_back(nullptr);

  int in[2], out[2], err[2];
  Pipe(in);
  Pipe(out);
  Pipe(err);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);  // no controlling terminal
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (spawned != 0) {
    close(in[1]);
    close(out[0]);
    close(err[0]);
    throw std::runtime_error("cannot start " + argv_text[0]);
  }
  // Small enough for the pipe: written whole before the child's output is read.
  std::size_t written = 0;
  while (written < input.size()) {
    const ssize_t done = write(in[1], input.data() + written, input.size() - written);
    if (done <= 0) {
      break;
    }
    written += static_cast<std::size_t>(done);
  }
  close(in[1]);
  CliResult result;
  Drain(out[0], err[0], result.out, result.err);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace test
