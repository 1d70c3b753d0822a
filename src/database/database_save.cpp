// Saving a user database: the ".new" file, the ".backup" file, the retry question.
#include "crypto/user_file_io.h"
#include "database/database.h"
#include "database/file_paths.h"
#include "database/tree_io.h"
#include "database/user_messages.h"
#include "files/file_utils.h"

namespace {

// Marks a database as saving for one scope; a second save meanwhile is refused.
class SavingScope {
 public:
  explicit SavingScope(std::atomic<bool>& saving)
      : saving_(saving), entered_(!saving.exchange(true)) {}
  ~SavingScope() {
    if (entered_) {
      saving_.store(false);
    }
  }
  SavingScope(const SavingScope&) = delete;
  SavingScope& operator=(const SavingScope&) = delete;
  bool entered() const { return entered_; }

 private:
  std::atomic<bool>& saving_;
  bool entered_;
};

}  // namespace

bool CompleteInterruptedSave(std::u16string_view user_file) {
  const std::u16string new_path = NewFilePath(user_file);
  if (database::PathExists(user_file) || !database::PathExists(new_path) ||
      !database::PathExists(BackupFilePath(user_file))) {
    return false;
  }
  // The ".new" file was whole and on disk before the first move began.
  MoveFile(new_path, user_file);
  SyncFolder(database::FolderOf(user_file));
  return true;
}

int CKDatabase::Save() {
  if (!m_bOpen) {
    return kSaveNotOpen;
  }
  // Reached again while the retry question is up, or from another thread: never two at once.
  const SavingScope scope(m_bSaving);
  if (!scope.entered()) {
    return 1;
  }
  for (;;) {
    if (SaveOnce() == 0) {
      return 0;
    }
    if (!database::Ask(database::kAskRetrySave)) {
      return 1;
    }
  }
}

int CKDatabase::SaveOnce() {
  const std::u16string new_path = NewFilePath(m_csPath);
  const std::u16string backup_path = BackupFilePath(m_csPath);
  try {
    CompleteInterruptedSave(m_csPath);
    // A writer holds its ".new" file locked from creation until it has become the user file,
    // so a save of this user in another process fails here rather than interleave. The stale
    // file is then replaced by a new one, which gets the mode of a secret file.
    CKFile claim(true, true);
    claim.Open(new_path, CKFile::modeWrite | CKFile::modeCreate | CKFile::modeNoTruncate);
    DeleteFile(new_path);
    CKUserFileWriter writer;
    writer.Create(new_path, m_Keys);
    claim.SetErrorHandling(false, false);
    claim.Close();

    if (!database::WriteTrees(writer.Stream(), m_Entries, m_Settings)) {
      writer.Abandon();
      database::ShowMessage(database::kMsgUserFileNotWritten, new_path);
      return 1;
    }
    writer.Finish();  // on disk before the user file is touched

    if (database::PathExists(backup_path)) {
      DeleteFile(backup_path);
    }
    if (database::PathExists(m_csPath)) {
      MoveFile(m_csPath, backup_path);
    }
    MoveFile(new_path, m_csPath);
    writer.Close();
    SyncFolder(database::FolderOf(m_csPath));
    return 0;
  } catch (CKFile::ErrorExceptions) {
    return 1;  // the failing step has shown its message
  } catch (...) {
    database::ShowMessage(database::kMsgUserFileNotWritten, new_path);
    return 1;
  }
}
