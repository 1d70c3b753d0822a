#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "database/database.h"
#include "support/test_core.h"
#include "ui/entry_editors_qt.h"

class CKCore;
class CKDialog;
class CKTLVARRAY;

namespace test {

// Drivers of a dialog's controls, as a user's typing and clicks.
void Type(CKDialog& dialog, int id, const QString& text);
void Replace(CKDialog& dialog, int id, const QString& text);
// Clicks a control that must be there, enabled and visible.
void Click(CKDialog& dialog, int id);
QString TextOf(CKDialog& dialog, int id);
// Picks the item with that text in a list (a combo box), as the user does.
void ChooseInList(CKDialog& dialog, int id, const QString& text);

// Opens the view's context menu at the point, as a right click does; once the menu shows,
// records whether each command is enabled and chooses the command (or closes the menu when the
// command is missing or disabled). Returns what the menu offered.
std::map<std::uint32_t, bool> ChooseFromContextMenu(QWidget* view, QPoint where,
                                                    std::uint32_t command);

// An entry's fields (empty or 0 when it has none), and a note's attachments.
std::u16string Field(const CKTLVARRAY& entry, std::uint32_t tag);
std::uint32_t Number(const CKTLVARRAY& entry, std::uint32_t tag);
// The entry with that name among the children of the folder, or null.
CKTLVARRAY* Child(CKTLVARRAY& folder, const std::u16string& name);
std::vector<CKTLVARRAY*> Attachments(const CKTLVARRAY& note);
std::string Content(const CKTLVARRAY& attachment);

// Files: pseudo-random bytes of that size (a sparse file of zeros when sparse), the whole of
// one, the permission bits of one.
std::filesystem::path MakeFile(const std::filesystem::path& path, std::uintmax_t size,
                               bool sparse = false);
std::string ReadWhole(const std::filesystem::path& path);
// The text on the clipboard.
QString ClipboardText();
unsigned ModeOf(const std::filesystem::path& path);

// Catches what the program asks the desktop to open (web pages, folders, help pages).
class OpenedUrls final : public QObject {
  Q_OBJECT

 public:
  OpenedUrls();
  ~OpenedUrls() override;
  std::vector<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }
};

// A started core, no one logged in yet, with ways to look at what it showed.
class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(core_.Start()); }

  CKCore& core() { return core_.core(); }
  TestCore& test_core() { return core_; }
  // The messages shown so far (UTF-8), and the active language's text of a message with its
  // "%s" filled in.
  std::vector<std::string> Messages() const { return core_.Messages(); }
  std::string Message(int entry, const std::string& value = "") const {
    return core_.MessageText(entry, value);
  }
  // Any text of the active language.
  QString Text(int group, int entry) const;

  TestCore core_;
};

// The user "ada" logged in through the log-in dialog, the program's folder and note editors
// installed, and ways to look at the user's file on disk.
class LoggedInTest : public CoreTest {
 protected:
  static constexpr char16_t kPassword[] = u"tiger lily 7";

  void SetUp() override;

  CKDatabase& user();
  CKTLVARRAY& root();
  const std::filesystem::path& files() const { return files_.path(); }

  // The user's file as it is on disk now, opened afresh with the password.
  std::unique_ptr<CKDatabase> Reopen();
  std::unique_ptr<CKDatabase> SaveAndReopen();

  // Entries made directly in the tree (not through an editor), and saved.
  CKTLVARRAY& AddFolder(CKTLVARRAY& parent, const std::u16string& name);
  CKTLVARRAY& AddNote(CKTLVARRAY& parent, const std::u16string& name,
                      const std::u16string& login = u"", const std::u16string& password = u"");

  TempDir files_;
  CKQtEntryEditors editors_;
};

}  // namespace test
