#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace test {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct CliResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the built vaultquill-cli as a user would, in a session of its own (so it has no
// terminal), with a data folder and configuration and data homes of its own under a temporary
// folder, and TZ=UTC.
class CliRunner {
 public:
  CliRunner();

  // vaultquill-cli --data DATA --password-stdin ARGS, with `input` on standard input.
  CliResult Run(const std::vector<std::string>& args, const std::string& input = "") const;
  // The same without --data and --password-stdin.
  CliResult RunBare(const std::vector<std::string>& args, const std::string& input = "") const;

  const std::filesystem::path& root() const { return temp_.path(); }
  std::filesystem::path data() const { return temp_ / "data"; }
  std::filesystem::path UserFile(const std::string& user) const {
    return data() / (user + ".VaultQuill");
  }

 private:
  TempDir temp_;
};

}  // namespace test
