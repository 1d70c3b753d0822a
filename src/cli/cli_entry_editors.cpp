#include "cli/cli_entry_editors.h"

#include <ctime>

#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/language_texts.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"

namespace cli {
namespace {

// The editors' name checks: a name is needed, and no other entry of the folder may carry it,
// ignoring case; keeping the entry's own name (in any case) is allowed. An exit code, 0 when
// the name may be used.
int CheckName(CKTLVARRAY& entry, std::u16string_view name) {
  if (name.empty()) {
    ShowLanguageMessage(kNameNeeded);
    return kExitUsage;
  }
  std::u16string opening;
  entry.GetStringByTag(TAG_NAME, opening);
  const bool used = database::NameTaken(entry.GetParent(), name, opening);
  WipeString(opening);
  if (used) {
    ShowLanguageMessage(kNameInUse);
    return kExitNameUsed;
  }
  return kExitOk;
}

bool Longer(const std::u16string* field, std::size_t limit) {
  return field != nullptr && field->size() > limit;
}

void SetString(CKTLVARRAY& entry, std::uint32_t tag, const std::u16string* value) {
  if (value != nullptr) {
    entry.SetStringByTag(tag, value->c_str());
  }
}

int Refuse(std::string_view why) {
  ReportError(why);
  return kExitUsage;
}

}  // namespace

CliEntryEditors::CliEntryEditors() : previous_(platform::InstallEditors(this)) {}

CliEntryEditors::~CliEntryEditors() {
  platform::InstallEditors(previous_);
}

bool CliEntryEditors::EditFolder(CKTLVARRAY& folder) {
  if (folder_ == nullptr) {
    return false;
  }
  FolderEdit& edit = *folder_;
  if (edit.name.size() > kMaxFolderName) {
    edit.refusal = Refuse("a folder name has at most 64 characters");
  } else if (Longer(edit.text, kMaxFolderText)) {
    edit.refusal = Refuse("a folder description has at most 256 characters");
  } else {
    edit.refusal = CheckName(folder, edit.name);
  }
  if (edit.refusal != kExitOk) {
    return false;
  }
  std::u16string name(edit.name);
  folder.SetStringByTag(TAG_NAME, name.c_str());
  WipeString(name);
  SetString(folder, TAG_TEXT, edit.text);
  return true;
}

bool CliEntryEditors::EditNote(CKTLVARRAY& note) {
  if (note_ == nullptr) {
    return false;
  }
  NoteEdit& edit = *note_;
  if (Longer(edit.login, kMaxNoteField) || Longer(edit.password, kMaxNoteField) ||
      Longer(edit.url, kMaxNoteField) || Longer(edit.email, kMaxNoteField)) {
    edit.refusal =
        Refuse("a note's login, password, web address and e-mail have at most 255 characters");
  } else {
    edit.refusal = CheckName(note, edit.title);
  }
  if (edit.refusal != kExitOk) {
    return false;
  }
  std::u16string title(edit.title);
  note.SetStringByTag(TAG_NAME, title.c_str());
  WipeString(title);
  SetString(note, TAG_TEXT, edit.text);
  SetString(note, TAG_PASSWORD, edit.password);
  SetString(note, TAG_URL, edit.url);
  SetString(note, TAG_LOGIN, edit.login);
  SetString(note, TAG_EMAIL, edit.email);
  note.SetDwordByTag(TAG_MODIFIED, static_cast<std::uint32_t>(std::time(nullptr)));
  return true;
}

}  // namespace cli
