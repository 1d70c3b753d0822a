// The main window's commands on entries: new, edit, delete and move, and the list's context
// menu with its copies to the clipboard.
#include <QAction>
#include <QMenu>
#include <QSignalBlocker>
#include <memory>
#include <string>

#include "core/core.h"
#include "database/entries.h"
#include "database/new_note_defaults.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "generator/password_generator.h"
#include "languages/menus.h"
#include "languages/text_ids.h"
#include "ui/clipboard.h"
#include "ui/controls/list_ctrl.h"
#include "ui/controls/secure_text.h"
#include "ui/dialog_texts.h"
#include "ui/main_window.h"
#include "ui/main_window_web.h"
#include "ui/move_to_dlg.h"

namespace {

// A new note gets the user's default login and e-mail address and a fresh password, when the
// user wants that.
class CKUserNoteDefaults final : public CKNewNoteDefaults {
 public:
  explicit CKUserNoteDefaults(const CKSettingsUserBased& settings) : settings_(settings) {}

  bool AutoFill() const override { return settings_.boolAutoFillNewNotesWithDefaults; }
  std::u16string DefaultLogin() const override { return settings_.stringDefaultLogin; }
  std::u16string DefaultEmail() const override { return settings_.stringDefaultEmail; }
  std::u16string GeneratePassword() override {
    CKPasswordGenerator generator(settings_);
    std::u16string password;
    generator.Generate(password);
    return password;
  }

 private:
  const CKSettingsUserBased& settings_;
};

bool IsRealEntry(const CKTLVARRAY* entry) {
  return entry != nullptr && entry->GetTag() != ENTRY_UP;
}

bool IsNote(const CKTLVARRAY* entry) {
  return entry != nullptr && entry->GetTag() == ENTRY_NOTE;
}

// Notes of icon kind 1 have a menu of their own (their fields carry other meanings).
bool IsKindOneNote(CKTLVARRAY* entry) {
  return IsNote(entry) && database::GetIcon(*entry) == 1;
}

// Copies a field of the note, when it has one; an empty field empties the clipboard.
void CopyField(const CKTLVARRAY& note, std::uint32_t tag) {
  std::u16string value;
  if (!note.GetStringByTag(tag, value)) {
    return;
  }

  QString text = QString::fromStdU16String(value);
  WipeString(value);
  clipboard::PutClipboardText(text);
  secure::WipeQString(text);
}

}  // namespace

void CVaultQuillDlg::OnNewEntry(std::uint32_t kind) {
  CKCore* core = TheCore();
  CKListCtrl* list = List();
  CKTLVARRAY* folder = core != nullptr ? core->GetCurrentFolder() : nullptr;
  if (folder == nullptr || list == nullptr) {
    return;
  }
  const BusyScope busy(*this);
  CKUserNoteDefaults defaults(core->m_SettingsUserBased);
  CKTLVARRAY* added = database::AddNewEntry(*folder, kind, list, &defaults);
  if (added == nullptr) {
    return;
  }
  list->SortRows();
  list->SelectEntry(added);
  SaveDatabase();
}

void CVaultQuillDlg::OnEditEntry() {
  CKListCtrl* list = List();
  CKTLVARRAY* entry = list != nullptr ? list->GetSelectedEntry() : nullptr;
  if (!IsRealEntry(entry)) {
    return;
  }
  const BusyScope busy(*this);
  const bool confirmed = database::EditEntry(*entry);
  // Names and icons may have changed; the rows keep their places.
  list->RefreshRows();
  if (confirmed) {
    SaveDatabase();
  }
}

void CVaultQuillDlg::OnDeleteEntry() {
  CKCore* core = TheCore();
  CKListCtrl* list = List();
  if (core == nullptr || list == nullptr) {
    return;
  }
  const BusyScope busy(*this);
  CKTLVARRAY* entry = list->GetSelectedEntry();
  if (!IsRealEntry(entry)) {
    core->m_Languages.ShowMessage(texts::kMsgSelectEntryFirst.entry);
    return;
  }
  const std::u16string kind = database::GetKindWord(*entry);
  std::u16string name = database::GetName(*entry);
  const bool yes = core->m_Languages.AskFormat(texts::kAskDelete.entry, std::u16string_view(kind),
                                               std::u16string_view(name));
  WipeString(name);
  CKTLVARRAY* parent = entry->GetParent();
  if (!yes || parent == nullptr || !database::RemoveEntry(*parent, entry, list)) {
    return;
  }
  SaveDatabase();
}

void CVaultQuillDlg::OnMoveEntry() {
  CKListCtrl* list = List();
  CKTLVARRAY* entry = list != nullptr ? list->GetSelectedEntry() : nullptr;
  if (!IsRealEntry(entry) || entry->GetParent() == nullptr) {
    return;
  }
  const BusyScope busy(*this);
  list->SetRedraw(false);
  if (RunMoveToDialog(*entry, this)) {
    SaveDatabase();
  }
  RefreshList();
  list->SetRedraw(true);
  list->viewport()->update();
}

std::unique_ptr<QMenu> CVaultQuillDlg::BuildEntryMenu(CKTLVARRAY* selected) {
  auto menu = std::make_unique<QMenu>(this);
  CKCore* core = TheCore();
  if (core == nullptr) {
    return menu;
  }
  const std::uint8_t group =
      IsKindOneNote(selected) ? menus::kKind1NoteMenuGroup : menus::kEntryMenuGroup;
  dialogs::BuildMenu(core->m_Languages, group, *menu);
  for (QAction* action : menu->actions()) {
    switch (dialogs::MenuCommand(action)) {
      case menus::kEntryCopyLogin:
      case menus::kEntryCopyPassword:
      case menus::kEntryCopyEmail:
      case menus::kEntryCopyOrOpenUrl:
        action->setEnabled(IsNote(selected));
        break;
      case menus::kEntryEdit:
      case menus::kEntryMove:
      case menus::kEntryDelete:
        action->setEnabled(IsRealEntry(selected));
        break;
      default:
        break;
    }
  }
  return menu;
}

void CVaultQuillDlg::OnListContextMenu(const QPoint& position) {
  CKListCtrl* list = List();
  if (list == nullptr) {
    return;
  }
  CKTLVARRAY* selected = list->GetSelectedEntry();
  QPoint where = list->viewport()->mapToGlobal(position);
  if (selected != nullptr) {
    // Below the selected row, so that the menu does not hide it.
    const QRect row = list->visualRect(list->Model()->index(list->Model()->RowOf(selected), 0));
    where.setY(list->viewport()->mapToGlobal(row.bottomLeft()).y() + 1);
  }
  const std::unique_ptr<QMenu> menu = BuildEntryMenu(selected);
  if (menu->actions().isEmpty()) {
    return;
  }
  activateWindow();
  const QAction* chosen = menu->exec(where);
  OnEntryCommand(dialogs::MenuCommand(chosen));
}

void CVaultQuillDlg::OnEntryCommand(std::uint32_t command) {
  CKListCtrl* list = List();
  CKTLVARRAY* entry = list != nullptr ? list->GetSelectedEntry() : nullptr;
  if (!IsRealEntry(entry)) {
    return;
  }
  switch (command) {
    case menus::kEntryCopyLogin:
    case menus::kEntryCopyPassword:
    case menus::kEntryCopyEmail:
    case menus::kEntryCopyOrOpenUrl: {
      if (!IsNote(entry)) {
        return;
      }
      if (command == menus::kEntryCopyOrOpenUrl && !IsKindOneNote(entry)) {
        // The ordinary menu's item opens the address, as its text says.
        std::u16string address;
        if (entry->GetStringByTag(TAG_URL, address)) {
          main_window::OpenWebAddress(address);
        }
        WipeString(address);
        return;
      }
      constexpr std::uint32_t kFieldOf[] = {0, TAG_LOGIN, TAG_PASSWORD, TAG_EMAIL, TAG_URL};
      CopyField(*entry, kFieldOf[command]);
      UpdateClipboardStatus();
      break;
    }
    case menus::kEntryEdit:
      OnEditEntry();
      break;
    case menus::kEntryMove:
      OnMoveEntry();
      break;
    case menus::kEntryDelete:
      OnDeleteEntry();
      break;
    default:
      break;
  }
}
