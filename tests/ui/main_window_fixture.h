#pragma once

#include <QKeySequence>
#include <QRect>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/entry_views.h"
#include "support/logged_in.h"
#include "ui/main_window.h"

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

// The logged-in user's main window, run as the log-in loop runs it, with scripted editors.
class MainWindowTest : public LoggedInTest {
 protected:
  // Runs the main window (the journey acts from inside its run and has to close it); returns
  // whether the log-in dialog would come back.
  bool Run(const std::function<void(CVaultQuillDlg&)>& journey);

  ScriptedEditors scripted_;
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

}  // namespace test
