// check: whether the password opens the user's file, and whether the file is whole.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "crypto/user_file.h"
#include "crypto/user_file_io.h"

namespace cli {
namespace {

class CheckCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "check",
        "USER",
        "Open the user's file with the password and say how that went.",
        "Prints one line in words and exits with the open result: 0 opened, 1 unreadable or\n"
        "not a user file, 2 damaged, 3 written by a newer version, 4 wrong password.",
        "vaultquill-cli check alice && echo \"the file is whole\"",
        1,
        1};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    // A file whose header does not read is not listed as a user; its result is told all the
    // same.
    std::u16string name;
    const std::u16string path = session.UserFilePath(call.Argument(0), name);
    if (!path.empty()) {
      CKUserFileKeys keys;
      CKUserFileReader reader;
      const int header = reader.Open(path, keys);
      reader.Close();
      if (header != userfile::kOpened) {
        session.Out().WriteText(Session::DescribeOpenResult(header, name));
        session.Out().Write("\n");
        return header;
      }
    }
    CKDatabase* user = nullptr;
    const int result = session.OpenUser(call.Argument(0), user, /*report_failure=*/false);
    if (result > userfile::kWrongPassword) {
      return result;  // no such user, or no password: said already
    }
    session.Out().WriteText(Session::DescribeOpenResult(result, call.Argument(0)));
    session.Out().Write("\n");
    return result;
  }
};

}  // namespace

std::unique_ptr<Command> MakeCheckCommand() {
  return std::make_unique<CheckCommand>();
}

}  // namespace cli
