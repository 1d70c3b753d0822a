#pragma once

#include <string>
#include <string_view>

namespace cli {

// Where the passwords that a command asks for come from: the terminal, read without echo, or
// one line of standard input each (--password-stdin), in the order the command asks for them.
// A password is never taken from the command line. Every buffer that held one is wiped.
class PasswordReader {
 public:
  // Longer lines are refused rather than cut.
  static constexpr std::size_t kMaxBytes = 1024;

  explicit PasswordReader(bool from_standard_input) : from_stdin_(from_standard_input) {}

  // One password into `password` (its old content wiped first). The prompt is shown on the
  // terminal only. False, with what went wrong in `error`, when none could be read.
  bool Read(std::string_view prompt, std::u16string& password, std::string& error);

 private:
  bool from_stdin_;
};

}  // namespace cli
