#include "editor_fixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <fstream>
#include <random>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "ui/dialog.h"
#include "ui/login_dlg.h"

namespace test {

void EditorTest::SetUp() {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"ada", kPassword);
  WhenRunning<CKLoginDlg>([](CKLoginDlg& login) {
    Type(login, CKLoginDlg::kPassword, QString::fromUtf16(kPassword));
    Click(login, CKDialog::kIdOk);
  });
  ASSERT_TRUE(core().m_Databases.LogIn());
  ASSERT_NE(core().m_Databases.GetCurrent(), nullptr);
  core_.messages().Clear();
}

CKDatabase& EditorTest::user() {
  return *core().m_Databases.GetCurrent();
}

CKTLVARRAY& EditorTest::root() {
  return user().GetEntriesRoot();
}

std::unique_ptr<CKDatabase> EditorTest::SaveAndReopen() {
  EXPECT_EQ(user().Save(), 0);
  auto reread = std::make_unique<CKDatabase>();
  reread->SetPath(user().GetPath());
  EXPECT_EQ(reread->Load(kPassword), 0);
  return reread;
}

CKTLVARRAY& EditorTest::AddFolder(CKTLVARRAY& parent, const std::u16string& name) {
  CKTLVARRAY* folder = database::CreateEntry(parent, ENTRY_FOLDER);
  folder->SetStringByTag(TAG_NAME, name.c_str());
  parent.AddChild(folder);
  return *folder;
}

CKTLVARRAY& EditorTest::AddNote(CKTLVARRAY& parent, const std::u16string& title) {
  CKTLVARRAY* note = database::CreateEntry(parent, ENTRY_NOTE);
  note->SetStringByTag(TAG_NAME, title.c_str());
  parent.AddChild(note);
  return *note;
}

std::string EditorTest::MessageWith(int entry, const std::string& value) const {
  std::string text = Message(entry);
  const auto field = text.find("%s");
  if (field != std::string::npos) {
    text.replace(field, 2, value);
  }
  return text;
}

QString EditorTest::Text(int group, int entry) const {
  std::u16string text;
  TheCore()->m_Languages.GetText(static_cast<std::uint8_t>(group), static_cast<std::uint8_t>(entry),
                                 text);
  return QString::fromStdU16String(text);
}

void Type(CKDialog& dialog, int id, const QString& text) {
  QWidget* control = dialog.GetDlgItem(id);
  ASSERT_NE(control, nullptr) << id;
  control->setFocus();
  QTest::keyClicks(control, text);
}

void Replace(CKDialog& dialog, int id, const QString& text) {
  if (auto* edit = dialog.Item<QLineEdit>(id)) {
    edit->clear();
  } else if (auto* memo = dialog.Item<QPlainTextEdit>(id)) {
    memo->clear();
  }
  Type(dialog, id, text);
}

void Click(CKDialog& dialog, int id) {
  QWidget* control = dialog.GetDlgItem(id);
  ASSERT_NE(control, nullptr) << id;
  ASSERT_TRUE(control->isEnabled()) << id;
  ASSERT_TRUE(control->isVisible()) << id;
  QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
}

QString TextOf(CKDialog& dialog, int id) {
  QWidget* control = dialog.GetDlgItem(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    return edit->text();
  }
  if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
    return memo->toPlainText();
  }
  if (auto* label = qobject_cast<QLabel*>(control)) {
    return label->text();
  }
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    return button->text();
  }
  return {};
}

std::u16string Field(const CKTLVARRAY& entry, std::uint32_t tag) {
  std::u16string value;
  entry.GetStringByTag(tag, value);
  return value;
}

std::uint32_t Number(const CKTLVARRAY& entry, std::uint32_t tag) {
  std::uint32_t value = 0;
  entry.GetDwordByTag(tag, value);
  return value;
}

std::filesystem::path MakeFile(const std::filesystem::path& path, std::size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() & 0xFF);
  }
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::filesystem::path MakeSparseFile(const std::filesystem::path& path, std::uintmax_t size) {
  std::ofstream(path, std::ios::binary).close();
  std::filesystem::resize_file(path, size);
  return path;
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace test
