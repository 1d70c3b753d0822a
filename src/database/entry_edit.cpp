// Editing entries and keeping list views in step with them.
#include <memory>

#include "database/attachment_import.h"
#include "database/entries.h"
#include "database/new_note_defaults.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "platform/choosers.h"
#include "platform/entry_views.h"
#include "platform/texts.h"

namespace database {
namespace {

constexpr int kColumnTitleGroup = 128;

void FillNewNote(CKTLVARRAY& note, CKNewNoteDefaults& defaults) {
  if (!defaults.AutoFill()) {
    return;
  }
  std::u16string login = defaults.DefaultLogin();
  std::u16string email = defaults.DefaultEmail();
  std::u16string password = defaults.GeneratePassword();
  note.SetStringByTag(TAG_LOGIN, login.c_str());
  note.SetStringByTag(TAG_EMAIL, email.c_str());
  note.SetStringByTag(TAG_PASSWORD, password.c_str());
  WipeString(password);
  WipeString(email);
  WipeString(login);
}

}  // namespace

bool EditEntry(CKTLVARRAY& entry) {
  switch (entry.GetTag()) {
    case ENTRY_FOLDER:
      return platform::Editors().EditFolder(entry);
    case ENTRY_NOTE:
      return platform::Editors().EditNote(entry);
    case ENTRY_ATTACHMENT: {
      std::u16string path;
      if (!platform::OpenFileDialog(nullptr, path, {{u"All files", u"*.*"}})) {
        return false;
      }
      return ImportAttachment(entry, path);
    }
    default:
      return false;
  }
}

CKTLVARRAY* AddNewEntry(CKTLVARRAY& parent, std::uint32_t kind, platform::EntryListView* list,
                        CKNewNoteDefaults* defaults) {
  std::unique_ptr<CKTLVARRAY> entry(CreateEntry(parent, kind));
  if (entry == nullptr) {
    return nullptr;
  }
  if (kind == ENTRY_NOTE && defaults != nullptr) {
    FillNewNote(*entry, *defaults);
  }
  if (!EditEntry(*entry) || !parent.AddChild(entry.get())) {
    return nullptr;
  }
  CKTLVARRAY* added = entry.release();
  if (list != nullptr) {
    list->AddRow(added);
  }
  return added;
}

bool RemoveEntry(CKTLVARRAY& parent, CKTLV* child, platform::EntryListView* list) {
  if (child == nullptr || parent.GetChildren().Find(child) < 0) {
    return false;
  }
  if (list != nullptr) {
    if (const auto* entry = dynamic_cast<const CKTLVARRAY*>(child)) {
      list->DeleteRow(entry);  // while the row's entry still exists
    }
  }
  return parent.RemoveChild(child);
}

void FillList(CKTLVARRAY& folder, platform::EntryListView& list) {
  list.SetRedraw(false);
  list.DeleteAllRows();
  if (folder.GetParent() != nullptr && folder.GetTag() == ENTRY_FOLDER) {
    list.AddUpRow();
  }
  for (CKTLV* child : folder.GetChildren()) {
    if (child->GetType() == TLV_ARRAY) {
      if (auto* entry = dynamic_cast<CKTLVARRAY*>(child)) {
        list.AddRow(entry);
      }
    }
  }
  list.SetRedraw(true);
  list.SortRows();
}

void SetupColumns(platform::EntryListView& list) {
  list.PrepareColumns(platform::Text(kColumnTitleGroup, 0, u"Name"),
                      platform::Text(kColumnTitleGroup, 1, u"Description"));
  SizeColumns(list, list.ClientWidth());
}

void SizeColumns(platform::EntryListView& list, int width) {
  if (width < 0) {
    width = 0;
  }
  list.SetColumnWidth(0, width / 2);
  list.SetColumnWidth(1, width - width / 2);
}

}  // namespace database
