#pragma once

#include <string>
#include <string_view>

#include "platform/entry_views.h"

namespace cli {

// The folder and note editors as the command line answers them: a command says beforehand
// what the user would have typed, and the editor checks and writes it as the desktop's editors
// do (a name is needed, and no other entry of the folder may have it, ignoring case). Fields
// left null keep what the entry holds, such as the defaults a new note was filled with.
// Installed for its lifetime.
class CliEntryEditors final : public platform::EntryEditors {
 public:
  // The edit fields' limits in characters.
  static constexpr std::size_t kMaxFolderName = 64;
  static constexpr std::size_t kMaxFolderText = 256;
  static constexpr std::size_t kMaxNoteField = 255;  // login, password, web address, e-mail

  struct FolderEdit {
    std::u16string_view name;
    const std::u16string* text = nullptr;
    // Why the editor refused (an exit code); 0 when it ended with OK.
    int refusal = 0;
  };

  struct NoteEdit {
    std::u16string_view title;
    const std::u16string* login = nullptr;
    const std::u16string* password = nullptr;
    const std::u16string* url = nullptr;
    const std::u16string* email = nullptr;
    const std::u16string* text = nullptr;
    int refusal = 0;
  };

  CliEntryEditors();
  ~CliEntryEditors() override;
  CliEntryEditors(const CliEntryEditors&) = delete;
  CliEntryEditors& operator=(const CliEntryEditors&) = delete;

  // What the next editor is given; null makes it answer "cancelled".
  void Expect(FolderEdit* edit) { folder_ = edit; }
  void Expect(NoteEdit* edit) { note_ = edit; }

  bool EditFolder(CKTLVARRAY& folder) override;
  bool EditNote(CKTLVARRAY& note) override;

 private:
  FolderEdit* folder_ = nullptr;
  NoteEdit* note_ = nullptr;
  platform::EntryEditors* previous_;
};

}  // namespace cli
