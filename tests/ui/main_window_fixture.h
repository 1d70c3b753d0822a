#pragma once

#include <gtest/gtest.h>

#include <QKeySequence>
#include <QRect>
#include <QString>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/database.h"
#include "platform/entry_views.h"
#include "support/test_core.h"
#include "ui/main_window.h"

class CKCore;
class CKTLVARRAY;

namespace test {

// Folder and note editors that answer from a queue of scripted edits (each edits the entry in
// place and says whether the user pressed OK); with the queue empty, the editor is cancelled.
class ScriptedEditors final : public platform::EntryEditors {
 public:
  using Edit = std::function<bool(CKTLVARRAY&)>;

  ScriptedEditors();
  ~ScriptedEditors() override;
  ScriptedEditors(const ScriptedEditors&) = delete;
  ScriptedEditors& operator=(const ScriptedEditors&) = delete;

  void Queue(Edit edit) { edits_.push_back(std::move(edit)); }
  bool EditFolder(CKTLVARRAY& folder) override { return Next(folder); }
  bool EditNote(CKTLVARRAY& note) override { return Next(note); }
  int opened() const { return opened_; }

 private:
  bool Next(CKTLVARRAY& entry);

  std::deque<Edit> edits_;
  int opened_ = 0;
  platform::EntryEditors* previous_;
};

// An edit that names the entry and confirms; a note may get a password too.
ScriptedEditors::Edit Named(const std::u16string& name, const std::u16string& password = u"");

// Catches what the window asks the desktop to open (web pages, folders, help pages).
class OpenedUrls final : public QObject {
  Q_OBJECT

 public:
  OpenedUrls();
  ~OpenedUrls() override;
  std::vector<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }
};

// A started core with the user "ada" logged in through the log-in dialog and scripted
// editors installed; the main window runs as the log-in loop runs it.
class MainWindowTest : public ::testing::Test {
 protected:
  static constexpr char16_t kPassword[] = u"plum 42 orchard";

  void SetUp() override;

  CKCore& core() { return core_.core(); }
  TestCore& test_core() { return core_; }
  CKDatabase& user();
  CKTLVARRAY& root();

  // Runs the main window (the journey acts from inside its run and has to close it); returns
  // whether the log-in dialog would come back.
  bool Run(const std::function<void(CVaultQuillDlg&)>& journey);
  // The user's file as it is on disk now, opened afresh with the password.
  std::unique_ptr<CKDatabase> Reopen();

  // Entries made directly in the tree, and saved.
  CKTLVARRAY& AddFolder(CKTLVARRAY& parent, const std::u16string& name);
  CKTLVARRAY& AddNote(CKTLVARRAY& parent, const std::u16string& name,
                      const std::u16string& login = u"", const std::u16string& password = u"");

  std::string Message(int group, int entry);

  TestCore core_;
  ScriptedEditors editors_;
};

// The rows of the window's list by name ("[up]" for the up row).
std::vector<std::string> Rows(CVaultQuillDlg& window);
// Where the row of the entry with that name is, in the list's viewport.
QRect RowPlace(CVaultQuillDlg& window, const std::u16string& name);
// Selects the row of the entry with that name (fails the test when there is none).
void Select(CVaultQuillDlg& window, const std::u16string& name);
// Clicks a row (twice for a double click).
void ClickRow(CVaultQuillDlg& window, const std::u16string& name, bool double_click);
// Presses a key in the control that has the focus, as the user would.
void Press(CVaultQuillDlg& window, QKeyCombination key);
// Types into the search box.
void Search(CVaultQuillDlg& window, const QString& text);
QString ControlText(CVaultQuillDlg& window, int id);

// The entry with that name among the children of the folder, or null.
CKTLVARRAY* Child(CKTLVARRAY& folder, const std::u16string& name);
std::u16string Field(const CKTLVARRAY& entry, std::uint32_t tag);

}  // namespace test
