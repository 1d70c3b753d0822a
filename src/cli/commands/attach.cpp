// attach: a file becomes an attachment of a note.
#include <QFileInfo>
#include <QString>
#include <ctime>

#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "database/file_paths.h"
#include "elements/scalars.h"
#include "elements/tags.h"

namespace cli {
namespace {

class AttachCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "attach",
        "USER NOTEPATH FILE",
        "Attach a file to a note.",
        "The whole file goes into the user file (at most 16,777,215 bytes), with its name,\n"
        "size and times, as the note editor attaches it. A note holds one attachment per file\n"
        "name, ignoring case, so that extract and detach can name it.",
        "vaultquill-cli attach alice 'Banking/Online banking' ~/scans/recovery-codes.pdf",
        3,
        3};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    const std::u16string& path = call.Argument(2);
    const QFileInfo file(QString::fromStdU16String(path));
    if (!file.isFile()) {
      ReportError(u"there is no file \"" + path + u"\"");
      return kExitNotFound;
    }
    CKTLVARRAY* note = nullptr;
    if (const int result = session.OpenEntry(call.Argument(0), call.Argument(1), note, true);
        result != kExitOk) {
      return result;
    }
    const std::u16string name(database::FileNameOf(path));
    if (FindAttachment(*note, name) != nullptr) {
      ReportError(u"the note has an attachment named \"" + name + u"\" already");
      return kExitNameUsed;
    }
    session.Choosers().ExpectOpenFile(path);
    const CKTLVARRAY* added = database::AddNewEntry(*note, ENTRY_ATTACHMENT, nullptr, nullptr);
    session.Choosers().ExpectOpenFile(u"");
    if (added == nullptr) {
      // The import said why: too large, or not readable.
      return file.size() > static_cast<qint64>(CKTLVBINARY::kMaxBytes) ? kExitUsage : kExitNotFound;
    }
    return session.SaveChangedNote(*note);
  }
};

}  // namespace

std::unique_ptr<Command> MakeAttachCommand() {
  return std::make_unique<AttachCommand>();
}

}  // namespace cli
