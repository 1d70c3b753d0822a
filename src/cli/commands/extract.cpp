// extract: an attachment written to a file.
#include <QFileInfo>
#include <QString>

#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/secret_file.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/tags.h"

namespace cli {
namespace {

// Whether a stored file name can name a file inside a folder: the file came from anywhere,
// so a name that climbs out ("..") or reaches elsewhere ("a/b") is not taken.
bool IsPlainFileName(std::u16string_view name) {
  return !name.empty() && name != u"." && name != u".." &&
         name.find(u'/') == std::u16string_view::npos &&
         name.find(u'\0') == std::u16string_view::npos;
}

class ExtractCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "extract",
        "USER NOTEPATH NAME DEST [--force]",
        "Write an attachment to a file.",
        "DEST is the file to write, a folder to write the attachment's own file name into, or\n"
        "\"-\" for standard output. The file is created with mode 0600 (readable by you\n"
        "alone). An existing file is never overwritten unless --force is given; it is then\n"
        "replaced whole once the new content is written.",
        "vaultquill-cli extract alice 'Banking/Online banking' recovery-codes.pdf ~/Desktop",
        4,
        4};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {{"force", "", "replace an existing file"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    CKTLVARRAY* note = nullptr;
    if (const int result = session.OpenEntry(call.Argument(0), call.Argument(1), note, true);
        result != kExitOk) {
      return result;
    }
    CKTLVARRAY* attachment = nullptr;
    if (const int result = LocateAttachment(*note, call.Argument(2), attachment);
        result != kExitOk) {
      return result;
    }
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    if (!attachment->GetBinaryByTag(TAG_FILE_DATA, data, size) || data == nullptr) {
      size = 0;
    }
    const std::u16string& destination = call.Argument(3);
    if (destination == u"-") {
      session.Out().Write(std::string_view(reinterpret_cast<const char*>(data), size));
      return kExitOk;
    }
    std::u16string path = destination;
    if (QFileInfo(QString::fromStdU16String(destination)).isDir()) {
      const std::u16string& name = database::GetName(*attachment);
      if (!IsPlainFileName(name)) {
        ReportError("the attachment's stored name cannot name a file; give DEST as a file path");
        return kExitUsage;
      }
      if (path.back() != u'/') {
        path += u'/';
      }
      path += name;
    }
    return WriteSecretFile(path, data, size, call.IsSet("force"));
  }
};

}  // namespace

std::unique_ptr<Command> MakeExtractCommand() {
  return std::make_unique<ExtractCommand>();
}

}  // namespace cli
