#include "main_window_fixture.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "ui/controls/list_ctrl.h"
#include "ui/login_dlg.h"

namespace test {

ScriptedEditors::ScriptedEditors() : previous_(platform::InstallEditors(this)) {}

ScriptedEditors::~ScriptedEditors() {
  platform::InstallEditors(previous_);
}

bool ScriptedEditors::Next(CKTLVARRAY& entry) {
  ++opened_;
  if (edits_.empty()) {
    return false;
  }
  const Edit edit = std::move(edits_.front());
  edits_.pop_front();
  return edit(entry);
}

ScriptedEditors::Edit Named(const std::u16string& name, const std::u16string& password) {
  return [name, password](CKTLVARRAY& entry) {
    entry.SetStringByTag(TAG_NAME, name.c_str());
    if (!password.empty()) {
      entry.SetStringByTag(TAG_PASSWORD, password.c_str());
    }
    return true;
  };
}

OpenedUrls::OpenedUrls() {
  for (const char* scheme : {"http", "https", "file"}) {
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
  }
}

OpenedUrls::~OpenedUrls() {
  for (const char* scheme : {"http", "https", "file"}) {
    QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }
}

void MainWindowTest::SetUp() {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"ada", kPassword);
  WhenRunning<CKLoginDlg>([](CKLoginDlg& login) {
    login.Item<QLineEdit>(CKLoginDlg::kPassword)->setText(QString::fromUtf16(kPassword));
    QTest::mouseClick(login.GetDlgItem(CKDialog::kIdOk), Qt::LeftButton);
  });
  ASSERT_TRUE(core().m_Databases.LogIn());
  core_.messages().Clear();
}

CKDatabase& MainWindowTest::user() {
  return *core().m_Databases.GetCurrent();
}

CKTLVARRAY& MainWindowTest::root() {
  return user().GetEntriesRoot();
}

bool MainWindowTest::Run(const std::function<void(CVaultQuillDlg&)>& journey) {
  WhenRunning<CVaultQuillDlg>([journey](CVaultQuillDlg& window) {
    journey(window);
    if (window.IsRunning() && ::testing::Test::HasFailure()) {
      window.EndDialog(CKDialog::kIdCancel);
    }
  });
  CVaultQuillDlg::Run(core());
  return core().m_SettingsRunTime.m_boolRelogin;
}

std::unique_ptr<CKDatabase> MainWindowTest::Reopen() {
  auto reread = std::make_unique<CKDatabase>();
  reread->SetPath(user().GetPath());
  EXPECT_EQ(reread->Load(kPassword), 0);
  return reread;
}

CKTLVARRAY& MainWindowTest::AddFolder(CKTLVARRAY& parent, const std::u16string& name) {
  CKTLVARRAY* folder = database::CreateEntry(parent, ENTRY_FOLDER);
  folder->SetStringByTag(TAG_NAME, name.c_str());
  parent.AddChild(folder);
  EXPECT_EQ(user().Save(), 0);
  return *folder;
}

CKTLVARRAY& MainWindowTest::AddNote(CKTLVARRAY& parent, const std::u16string& name,
                                    const std::u16string& login, const std::u16string& password) {
  CKTLVARRAY* note = database::CreateEntry(parent, ENTRY_NOTE);
  note->SetStringByTag(TAG_NAME, name.c_str());
  note->SetStringByTag(TAG_LOGIN, login.c_str());
  note->SetStringByTag(TAG_PASSWORD, password.c_str());
  parent.AddChild(note);
  EXPECT_EQ(user().Save(), 0);
  return *note;
}

std::string MainWindowTest::Message(int group, int entry) {
  std::u16string text;
  core_.core().m_Languages.GetText(static_cast<std::uint8_t>(group),
                                   static_cast<std::uint8_t>(entry), text);
  return platform::ToUtf8(text);
}

std::vector<std::string> Rows(CVaultQuillDlg& window) {
  std::vector<std::string> rows;
  CKListCtrl* list = window.List();
  for (int row = 0; row < list->GetRowCount(); ++row) {
    CKTLVARRAY* entry = list->GetEntryAt(row);
    rows.push_back(entry->GetTag() == ENTRY_UP ? "[up]"
                                               : platform::ToUtf8(database::GetName(*entry)));
  }
  return rows;
}

QRect RowPlace(CVaultQuillDlg& window, const std::u16string& name) {
  CKListCtrl* list = window.List();
  for (int row = 0; row < list->GetRowCount(); ++row) {
    CKTLVARRAY* entry = list->GetEntryAt(row);
    const std::u16string row_name =
        entry->GetTag() == ENTRY_UP ? u"[up]" : database::GetName(*entry);
    if (row_name == name) {
      return list->visualRect(list->Model()->index(row, 0));
    }
  }
  ADD_FAILURE() << "no row " << platform::ToUtf8(name);
  return QRect();
}

void Select(CVaultQuillDlg& window, const std::u16string& name) {
  const QRect place = RowPlace(window, name);
  if (place.isValid()) {
    window.List()->selectRow(window.List()->rowAt(place.center().y()));
  }
}

void ClickRow(CVaultQuillDlg& window, const std::u16string& name, bool double_click) {
  const QRect place = RowPlace(window, name);
  QWidget* viewport = window.List()->viewport();
  // As the window system reports a double click: click, double click, release.
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, place.center());
  if (double_click) {
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, place.center());
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, place.center());
  }
}

void Press(CVaultQuillDlg& window, QKeyCombination key) {
  QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
  QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

void Search(CVaultQuillDlg& window, const QString& text) {
  QWidget* box = window.GetDlgItem(CVaultQuillDlg::kSearch);
  box->setFocus();
  QTest::keyClicks(box, text);
}

QString ControlText(CVaultQuillDlg& window, int id) {
  QWidget* control = window.GetDlgItem(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    return edit->text();
  }
  if (auto* label = qobject_cast<QLabel*>(control)) {
    return label->text();
  }
  return {};
}

CKTLVARRAY* Child(CKTLVARRAY& folder, const std::u16string& name) {
  return database::FindEntryByName(folder, name);
}

std::u16string Field(const CKTLVARRAY& entry, std::uint32_t tag) {
  std::u16string value;
  entry.GetStringByTag(tag, value);
  return value;
}

}  // namespace test
