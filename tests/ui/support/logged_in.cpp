#include "support/logged_in.h"

#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <random>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "support/dialog_driver.h"
#include "ui/dialog.h"
#include "ui/dialog_texts.h"
#include "ui/login_dlg.h"

namespace test {

void Type(CKDialog& dialog, int id, const QString& text) {
  QWidget* control = dialog.GetDlgItem(id);
  ASSERT_NE(control, nullptr) << id;
  control->setFocus();
  for (const QChar c : text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control); edit && c.unicode() >= 0x80) {
      edit->insert(QString(c));  // typed through an input method
    } else {
      QTest::keyClicks(control, QString(c));
    }
  }
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

void ChooseInList(CKDialog& dialog, int id, const QString& text) {
  auto* list = dialog.Item<QComboBox>(id);
  ASSERT_NE(list, nullptr) << id;
  const int index = list->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  list->setCurrentIndex(index);
  emit list->activated(index);
}

std::map<std::uint32_t, bool> ChooseFromContextMenu(QWidget* view, QPoint where,
                                                    std::uint32_t command) {
  // Shared with the timer, which outlives this call when no menu ever shows.
  auto offered = std::make_shared<std::map<std::uint32_t, bool>>();
  QTimer::singleShot(50, [offered, command] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
      return;
    }
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) {
        (*offered)[dialogs::MenuCommand(action)] = action->isEnabled();
      }
      if (dialogs::MenuCommand(action) == command && action->isEnabled()) {
        menu->setActiveAction(action);
      }
    }
    QTest::keyClick(menu, menu->activeAction() != nullptr ? Qt::Key_Return : Qt::Key_Escape);
  });
  QContextMenuEvent right_click(QContextMenuEvent::Mouse, where, view->mapToGlobal(where));
  QApplication::sendEvent(view, &right_click);
  return *offered;
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

CKTLVARRAY* Child(CKTLVARRAY& folder, const std::u16string& name) {
  return database::FindEntryByName(folder, name);
}

std::vector<CKTLVARRAY*> Attachments(const CKTLVARRAY& note) {
  std::vector<CKTLVARRAY*> found;
  for (CKTLV* child : note.GetChildren()) {
    if (auto* entry = dynamic_cast<CKTLVARRAY*>(child);
        entry && entry->GetTag() == ENTRY_ATTACHMENT) {
      found.push_back(entry);
    }
  }
  return found;
}

std::string Content(const CKTLVARRAY& attachment) {
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  attachment.GetBinaryByTag(TAG_FILE_DATA, data, size);
  return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

std::filesystem::path MakeFile(const std::filesystem::path& path, std::uintmax_t size,
                               bool sparse) {
  std::ofstream out(path, std::ios::binary);
  std::mt19937 random(static_cast<unsigned>(size));
  for (std::uintmax_t i = 0; !sparse && i < size; ++i) {
    out.put(static_cast<char>(random() & 0xFF));
  }
  out.close();
  std::filesystem::resize_file(path, size);
  return path;
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

QString ClipboardText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText() ? data->text() : QString();
}

unsigned ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 0777;
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

void LoggedInTest::SetUp() {
  CoreTest::SetUp();
  ASSERT_FALSE(HasFatalFailure());
  core_.AddUser(u"ada", kPassword);
  WhenRunning<CKLoginDlg>([](CKLoginDlg& login) {
    Type(login, CKLoginDlg::kPassword, QString::fromUtf16(kPassword));
    Click(login, CKDialog::kIdOk);
  });
  ASSERT_TRUE(core().m_Databases.LogIn());
  core_.messages().Clear();
}

CKDatabase& LoggedInTest::user() {
  return *core().m_Databases.GetCurrent();
}

CKTLVARRAY& LoggedInTest::root() {
  return user().GetEntriesRoot();
}

std::unique_ptr<CKDatabase> LoggedInTest::Reopen() {
  auto reread = std::make_unique<CKDatabase>();
  reread->SetPath(user().GetPath());
  EXPECT_EQ(reread->Load(kPassword), 0);
  return reread;
}

std::unique_ptr<CKDatabase> LoggedInTest::SaveAndReopen() {
  EXPECT_EQ(user().Save(), 0);
  return Reopen();
}

CKTLVARRAY& LoggedInTest::AddFolder(CKTLVARRAY& parent, const std::u16string& name) {
  CKTLVARRAY* folder = database::CreateEntry(parent, ENTRY_FOLDER);
  folder->SetStringByTag(TAG_NAME, name.c_str());
  parent.AddChild(folder);
  EXPECT_EQ(user().Save(), 0);
  return *folder;
}

CKTLVARRAY& LoggedInTest::AddNote(CKTLVARRAY& parent, const std::u16string& name,
                                  const std::u16string& login, const std::u16string& password) {
  CKTLVARRAY* note = database::CreateEntry(parent, ENTRY_NOTE);
  note->SetStringByTag(TAG_NAME, name.c_str());
  note->SetStringByTag(TAG_LOGIN, login.c_str());
  note->SetStringByTag(TAG_PASSWORD, password.c_str());
  parent.AddChild(note);
  EXPECT_EQ(user().Save(), 0);
  return *note;
}

QString CoreTest::Text(int group, int entry) const {
  std::u16string text;
  TheCore()->m_Languages.GetText(static_cast<std::uint8_t>(group), static_cast<std::uint8_t>(entry),
                                 text);
  return QString::fromStdU16String(text);
}

}  // namespace test
