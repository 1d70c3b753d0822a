// show: a note's fields and attachments (or a folder's name and description).
#include <QDateTime>
#include <QString>

#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "languages/text_ids.h"
#include "platform/texts.h"

namespace cli {
namespace {

constexpr std::u16string_view kHiddenPassword = u"********";

// Lines of "caption value", the values lined up.
class FieldLines {
 public:
  ~FieldLines() {
    for (auto& [caption, value] : lines_) {
      WipeString(value);
    }
  }

  void Add(TextId caption, std::u16string_view fallback, std::u16string value) {
    lines_.emplace_back(platform::Text(caption.group, caption.entry, fallback), std::move(value));
  }

  void Write(OutputStream& out) const {
    std::size_t width = 0;
    for (const auto& [caption, value] : lines_) {
      width = caption.size() > width ? caption.size() : width;
    }
    for (const auto& [caption, value] : lines_) {
      out.WriteText(caption);
      const std::u16string indent(width - caption.size() + 1, u' ');
      out.WriteText(indent);
      // Further lines of a text start below the first one's start.
      const std::u16string continuation = u"\n" + std::u16string(width + 1, u' ');
      std::size_t start = 0;
      for (std::size_t end; (end = value.find(u'\n', start)) != std::u16string::npos;
           start = end + 1) {
        std::size_t line_end = end > start && value[end - 1] == u'\r' ? end - 1 : end;
        out.WriteText(std::u16string_view(value).substr(start, line_end - start));
        out.WriteText(continuation);
      }
      out.WriteText(std::u16string_view(value).substr(start));
      out.Write("\n");
    }
  }

 private:
  std::vector<std::pair<std::u16string, std::u16string>> lines_;
};

void AddString(FieldLines& lines, CKTLVARRAY& entry, std::uint32_t tag, TextId caption,
               std::u16string_view fallback) {
  std::u16string value;
  if (entry.GetStringByTag(tag, value)) {
    lines.Add(caption, fallback, std::move(value));
  }
}

// Seconds since 1970 as local date and time.
void AddTime(FieldLines& lines, CKTLVARRAY& entry, std::uint32_t tag, TextId caption,
             std::u16string_view fallback) {
  std::uint32_t seconds = 0;
  if (!entry.GetDwordByTag(tag, seconds)) {
    return;
  }
  const QString text = QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime)
                           .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  lines.Add(caption, fallback,
            std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                           static_cast<std::size_t>(text.size())));
}

void ShowNote(CKTLVARRAY& note, bool show_password, OutputStream& out) {
  std::uint32_t icon = 0;
  note.GetDwordByTag(TAG_ICON, icon);
  // A note of icon kind 1 holds a software licence and is captioned so.
  const bool licence = icon == 1;
  FieldLines lines;
  AddString(lines, note, TAG_NAME, texts::kNoteTitleCaption, u"Title:");
  AddString(lines, note, TAG_LOGIN,
            licence ? texts::kNoteKind1LoginCaption : texts::kNoteLoginCaption,
            licence ? u"Licensed to:" : u"Login:");
  std::u16string password;
  if (note.GetStringByTag(TAG_PASSWORD, password)) {
    if (!show_password && !password.empty()) {
      WipeString(password);
      password = kHiddenPassword;
    }
    lines.Add(licence ? texts::kNoteKind1PasswordCaption : texts::kLoginPasswordCaption,
              licence ? u"Licence key:" : u"Password:", std::move(password));
  }
  AddString(lines, note, TAG_EMAIL,
            licence ? texts::kNoteKind1EmailCaption : texts::kNoteEmailCaption, u"E-mail:");
  AddString(lines, note, TAG_URL, licence ? texts::kNoteKind1UrlCaption : texts::kNoteUrlCaption,
            licence ? u"Product:" : u"Web address:");
  AddString(lines, note, TAG_TEXT, texts::kNoteTextCaption, u"Description:");
  AddTime(lines, note, TAG_CREATED, texts::kNoteCreatedCaption, u"Created:");
  AddTime(lines, note, TAG_MODIFIED, texts::kNoteModifiedCaption, u"Modified:");
  lines.Write(out);

  std::vector<CKTLVARRAY*> attachments;
  for (CKTLV* child : note.GetChildren()) {
    if (IsAttachment(*child)) {
      attachments.push_back(static_cast<CKTLVARRAY*>(child));
    }
  }
  if (attachments.empty()) {
    return;
  }
  out.WriteText(platform::Text(texts::kNoteAttachmentsCaption.group,
                               texts::kNoteAttachmentsCaption.entry, u"Attachments:"));
  out.Write("\n");
  for (CKTLVARRAY* attachment : attachments) {
    std::uint32_t size = 0;
    attachment->GetDwordByTag(TAG_FILE_SIZE, size);
    out.Write("  ");
    out.WriteText(database::GetName(*attachment));
    out.Write(" (");
    out.WriteText(database::SizeText(size));
    out.Write(")\n");
  }
}

void ShowFolder(CKTLVARRAY& folder, OutputStream& out) {
  FieldLines lines;
  AddString(lines, folder, TAG_NAME, texts::kFolderNameCaption, u"Name:");
  AddString(lines, folder, TAG_TEXT, texts::kNoteTextCaption, u"Description:");
  lines.Write(out);
}

class ShowCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "show",
        "USER PATH [--show-password]",
        "Show a note's fields and its attachments.",
        "Title, login, password, e-mail, web address, description, and the times of creation\n"
        "and last change in local time; then the attachments with their sizes. The password\n"
        "shows as stars unless --show-password asks for it. For a folder: its name and\n"
        "description.",
        "vaultquill-cli show alice 'Banking/Online banking' --show-password",
        2,
        2};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {
        {"show-password", "", "show the password instead of stars"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    CKTLVARRAY* entry = nullptr;
    if (const int result = session.OpenEntry(call.Argument(0), call.Argument(1), entry);
        result != kExitOk) {
      return result;
    }
    if (IsNote(*entry)) {
      ShowNote(*entry, call.IsSet("show-password"), session.Out());
    } else {
      ShowFolder(*entry, session.Out());
    }
    return kExitOk;
  }
};

}  // namespace

std::unique_ptr<Command> MakeShowCommand() {
  return std::make_unique<ShowCommand>();
}

}  // namespace cli
