// The note editor's attachment commands: add a file, save one as a file, delete one, and the
// list's context menu and double clicks.
#include <sys/stat.h>
#include <unistd.h>

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <string>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "elements/wipe_string.h"
#include "files/file.h"
#include "files/native_path.h"
#include "languages/text_ids.h"
#include "platform/choosers.h"
#include "ui/controls/list_ctrl.h"
#include "ui/dialog_texts.h"
#include "ui/note_editor.h"

namespace {

constexpr std::uint8_t kAttachmentMenuGroup = 251;

// Writes the content to the path, replacing a file that is there. The file is readable by its
// owner only, also when it existed before. File errors are shown by the file class; a file
// left incomplete by a failed write is removed, so that no truncated copy passes for the
// attachment.
bool WriteExportFile(const std::u16string& path, const std::uint8_t* data, std::uint32_t size) {
  CKFile file(true, true);
  bool opened = false;
  try {
    file.Open(path, CKFile::modeWrite | CKFile::modeCreate);
    opened = true;
    ::fchmod(file.GetHandle(), S_IRUSR | S_IWUSR);
    if (size != 0) {
      file.Write(data, size);
    }
    file.Flush();
    file.Close();
    return true;
  } catch (...) {
    file.SetErrorHandling(false, false);
    file.Close();
    std::string native;
    if (opened && files::NativePath(path, native)) {
      ::unlink(native.c_str());
    }
    return false;
  }
}

}  // namespace

void CKNoteDlg::OnAddFile() {
  CKListCtrl* list = AttachmentList();
  // The import shows its own messages; a file that cannot be used adds nothing.
  CKTLVARRAY* added = database::AddNewEntry(note_, ENTRY_ATTACHMENT, list, nullptr);
  if (added == nullptr) {
    return;
  }
  attachments_changed_ = true;
  if (list != nullptr) {
    list->SortRows();
    list->SelectEntry(added);
  }
}

void CKNoteDlg::OnDeleteFile() {
  const CKCore* core = TheCore();
  CKListCtrl* list = AttachmentList();
  if (core == nullptr || list == nullptr) {
    return;
  }
  CKTLVARRAY* attachment = list->GetSelectedEntry();
  if (attachment == nullptr) {
    core->m_Languages.ShowMessage(texts::kMsgSelectEntryFirst.entry);
    return;
  }
  std::u16string kind = database::GetKindWord(*attachment);
  std::u16string name = database::GetName(*attachment);
  const bool yes = core->m_Languages.AskFormat(texts::kAskDelete.entry, std::u16string_view(kind),
                                               std::u16string_view(name));
  WipeString(name);
  if (yes && database::RemoveEntry(note_, attachment, list)) {
    attachments_changed_ = true;
  }
}

void CKNoteDlg::OnSaveFile() {
  const CKListCtrl* list = AttachmentList();
  CKTLVARRAY* attachment = list != nullptr ? list->GetSelectedEntry() : nullptr;
  if (attachment != nullptr && attachment->GetTag() == ENTRY_ATTACHMENT) {
    ExportAttachment(*attachment);
  }
}

bool CKNoteDlg::ExportAttachment(CKTLVARRAY& attachment) {
  const std::uint8_t* content = nullptr;
  std::uint32_t size = 0;
  if (!attachment.GetBinaryByTag(TAG_FILE_DATA, content, size)) {
    return false;
  }
  platform::SaveFileOptions options;
  options.title = u"Save file";
  options.filters = {{u"All Files", u"*.*"}};
  attachment.GetStringByTag(TAG_FILE_NAME, options.initial_name);
  options.confirm_overwrite = true;
  std::u16string path;
  const bool chosen = platform::SaveFileDialog(this, path, options);
  WipeString(options.initial_name);
  if (!chosen || !WriteExportFile(path, content, size)) {
    return false;
  }
  if (const CKCore* core = TheCore()) {
    core->m_Languages.ShowMessageFormat(texts::kMsgFileSaved.entry, std::u16string_view(path));
  }
  return true;
}

void CKNoteDlg::OnAttachmentMenu(const QPoint& where) {
  const CKCore* core = TheCore();
  CKListCtrl* list = AttachmentList();
  if (core == nullptr || list == nullptr) {
    return;
  }
  QMenu menu(this);
  if (dialogs::BuildMenu(core->m_Languages, kAttachmentMenuGroup, menu) == 0) {
    return;
  }
  const CKTLVARRAY* selected = list->GetSelectedEntry();
  for (QAction* action : menu.actions()) {
    const std::uint32_t command = dialogs::MenuCommand(action);
    if (command == kMenuSaveAs || command == kMenuDelete) {
      action->setEnabled(selected != nullptr);
    }
  }
  // At the pointer; below the selected row when there is one, so that the row stays visible.
  QPoint place = list->viewport()->mapToGlobal(where);
  if (selected != nullptr) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    if (!rows.isEmpty()) {
      const QRect row = list->visualRect(rows.first());
      place.setY(list->viewport()->mapToGlobal(QPoint(0, row.bottom() + 1)).y());
    }
  }
  switch (dialogs::MenuCommand(menu.exec(place))) {
    case kMenuAddFile:
      OnAddFile();
      break;
    case kMenuSaveAs:
      OnSaveFile();
      break;
    case kMenuDelete:
      OnDeleteFile();
      break;
    default:
      break;
  }
}

bool CKNoteDlg::eventFilter(QObject* watched, QEvent* event) {
  CKListCtrl* list = AttachmentList();
  if (list != nullptr && watched == list->viewport() &&
      event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    // On a row: save that attachment; on the empty part of the list: add a file.
    const QModelIndex index = list->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (index.isValid()) {
      list->selectRow(index.row());
      OnSaveFile();
    } else {
      list->clearSelection();
      OnAddFile();
    }
    return true;
  }
  return CKResizeDialog::eventFilter(watched, event);
}
