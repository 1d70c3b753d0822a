// The note editor's attached files: added from disk up to the size limit, saved back byte for
// byte (owner-only), deleted, through the buttons, the context menu and double clicks.
#include <sys/stat.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>

#include "core/core.h"
#include "database/entries.h"
#include "editor_fixture.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "ui/controls/list_ctrl.h"
#include "ui/note_editor.h"

namespace {

using Dlg = CKNoteDlg;
using test::Click;
using test::Field;
using test::Number;
using test::Replace;

CKListCtrl& List(Dlg& editor) {
  return *editor.Item<CKListCtrl>(Dlg::kAttachments);
}

std::string Content(const CKTLVARRAY& attachment) {
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  attachment.GetBinaryByTag(TAG_FILE_DATA, data, size);
  return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
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

unsigned ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 0777;
}

// Opens the attachment list's context menu; once it shows, records each command's enabled
// state and chooses the command.
void ChooseFromMenu(Dlg& editor, std::uint32_t command, std::map<std::uint32_t, bool>& enabled) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, command, &enabled] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
      return;
    }
    timer->stop();
    timer->deleteLater();
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) {
        enabled[action->data().toUInt()] = action->isEnabled();
      }
      if (action->data().toUInt() == command && action->isEnabled()) {
        menu->setActiveAction(action);
      }
    }
    QTest::keyClick(menu, menu->activeAction() != nullptr ? Qt::Key_Return : Qt::Key_Escape);
  });
  timer->start();
  QWidget* viewport = List(editor).viewport();
  const QPoint where(5, viewport->height() - 5);
  QContextMenuEvent event(QContextMenuEvent::Mouse, where, viewport->mapToGlobal(where));
  QApplication::sendEvent(viewport, &event);
}

class NoteAttachments : public test::EditorTest {
 protected:
  void SetUp() override {
    test::EditorTest::SetUp();
    note_ = &AddNote(root(), u"Scans");
  }

  CKTLVARRAY& note() { return *note_; }
  test::QueuedChoosers& choosers() { return test_core().choosers(); }

 private:
  CKTLVARRAY* note_ = nullptr;
};

TEST_F(NoteAttachments, AFileAddedIsSavedBackByteIdenticalAndOwnerOnly) {
  const auto passport = test::MakeFile(files() / "passport.pdf", 150'000);
  const auto empty = test::MakeFile(files() / "empty.txt", 0);
  const auto out = files() / "out";
  std::filesystem::create_directory(out);
  // A file that is overwritten takes the owner-only mode too.
  test::MakeFile(out / "again.txt", 10);
  std::filesystem::permissions(out / "again.txt", std::filesystem::perms(0644));

  test::WhenRunning<Dlg>([&](Dlg& editor) {
    choosers().QueueFile(passport);
    Click(editor, Dlg::kAddFile);
    choosers().QueueFile(empty);
    Click(editor, Dlg::kAddFile);
    ASSERT_EQ(List(editor).GetRowCount(), 2);
    // Sorted by name, the size standing for the missing description.
    EXPECT_EQ(List(editor).model()->index(0, 0).data().toString(), QStringLiteral("empty.txt"));
    EXPECT_EQ(List(editor).model()->index(1, 0).data().toString(), QStringLiteral("passport.pdf"));
    EXPECT_EQ(List(editor).model()->index(1, 1).data().toString(), QStringLiteral("146.4 Kb"));

    List(editor).selectRow(1);
    choosers().QueueFile(out / "passport copy.pdf");
    Click(editor, Dlg::kSaveFile);
    List(editor).selectRow(0);
    choosers().QueueFile(out / "again.txt");
    Click(editor, Dlg::kSaveFile);
    choosers().QueueFile(files() / "no such folder" / "x.txt");  // the file message only
    Click(editor, Dlg::kSaveFile);
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note()));
  ASSERT_EQ(Messages().size(), 3u);
  EXPECT_EQ(Messages()[0], MessageWith(28, (out / "passport copy.pdf").string()));
  EXPECT_EQ(Messages()[1], MessageWith(28, (out / "again.txt").string()));
  EXPECT_NE(Messages()[2].find("x.txt"), std::string::npos);
  EXPECT_EQ(test::ReadWhole(out / "passport copy.pdf"), test::ReadWhole(passport));
  EXPECT_EQ(ModeOf(out / "passport copy.pdf"), 0600u);
  EXPECT_TRUE(test::ReadWhole(out / "again.txt").empty());
  EXPECT_EQ(ModeOf(out / "again.txt"), 0600u);

  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = database::FindEntryByName(reread->GetEntriesRoot(), u"Scans");
  ASSERT_NE(stored, nullptr);
  const auto attachments = Attachments(*stored);
  ASSERT_EQ(attachments.size(), 2u);
  EXPECT_EQ(Field(*attachments[0], TAG_FILE_NAME), u"passport.pdf");
  EXPECT_EQ(Number(*attachments[0], TAG_FILE_SIZE), 150'000u);
  EXPECT_NE(Number(*attachments[0], TAG_FILE_MODIFIED), 0u);
  EXPECT_EQ(Content(*attachments[0]), test::ReadWhole(passport));
  EXPECT_EQ(Field(*attachments[1], TAG_FILE_NAME), u"empty.txt");
  EXPECT_TRUE(Content(*attachments[1]).empty());
}

TEST_F(NoteAttachments, FilesTooLargeOrUnreadableAddNothingAndTheLimitIsInclusive) {
  const auto largest = test::MakeSparseFile(files() / "largest.bin", 16'777'215);
  const auto too_large = test::MakeSparseFile(files() / "too large.bin", 16'777'216);
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    choosers().QueueFile(too_large);
    Click(editor, Dlg::kAddFile);
    choosers().QueueFile(files());  // a folder cannot be read as a file
    Click(editor, Dlg::kAddFile);
    EXPECT_TRUE(editor.IsRunning());
    EXPECT_EQ(List(editor).GetRowCount(), 0);
    EXPECT_TRUE(Attachments(note()).empty());
    choosers().QueueFile(largest);
    Click(editor, Dlg::kAddFile);
    EXPECT_EQ(List(editor).GetRowCount(), 1);
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note()));
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0], Message(13));
  EXPECT_NE(Messages()[1].find(files().string()), std::string::npos) << Messages()[1];
  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = database::FindEntryByName(reread->GetEntriesRoot(), u"Scans");
  ASSERT_NE(stored, nullptr);
  ASSERT_EQ(Attachments(*stored).size(), 1u);
  EXPECT_EQ(Number(*Attachments(*stored)[0], TAG_FILE_SIZE), 16'777'215u);
}

TEST_F(NoteAttachments, DeleteAsksFirstAndCancelStillKeepsTheAttachmentChanges) {
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    choosers().QueueFile(test::MakeFile(files() / "a.txt", 5));
    Click(editor, Dlg::kAddFile);
    Click(editor, CKDialog::kIdOk);
  });
  ASSERT_TRUE(database::EditEntry(note()));
  ASSERT_EQ(user().Save(), 0);
  test_core().messages().Clear();

  test::WhenRunning<Dlg>([&](Dlg& editor) {
    List(editor).clearSelection();
    Click(editor, Dlg::kDeleteFile);  // nothing selected
    List(editor).selectRow(0);
    Click(editor, Dlg::kDeleteFile);  // answered No
    EXPECT_EQ(List(editor).GetRowCount(), 1);
    test_core().messages().QueueAnswer(true);
    Click(editor, Dlg::kDeleteFile);
    EXPECT_EQ(List(editor).GetRowCount(), 0);
    choosers().QueueFile(test::MakeFile(files() / "b.txt", 7));
    Click(editor, Dlg::kAddFile);
    Replace(editor, Dlg::kTitle, QStringLiteral("Not written"));
    Click(editor, CKDialog::kIdCancel);
  });
  // Cancelled, yet the attachments changed: the caller is told to save.
  EXPECT_TRUE(database::EditEntry(note()));
  const auto& shown = test_core().messages().shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(platform::ToUtf8(shown[0].text), Message(5));
  EXPECT_TRUE(shown[1].question);
  EXPECT_NE(shown[1].text.find(u"\"a.txt\""), std::u16string::npos);

  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = database::FindEntryByName(reread->GetEntriesRoot(), u"Scans");
  ASSERT_NE(stored, nullptr);
  ASSERT_EQ(Attachments(*stored).size(), 1u);
  EXPECT_EQ(Field(*Attachments(*stored)[0], TAG_FILE_NAME), u"b.txt");
}

TEST_F(NoteAttachments, ContextMenuAndDoubleClicksReachTheSameCommands) {
  const auto file = test::MakeFile(files() / "menu.txt", 33);
  std::map<std::uint32_t, bool> enabled;
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    choosers().QueueFile(file);
    ChooseFromMenu(editor, Dlg::kMenuAddFile, enabled);
    EXPECT_EQ(List(editor).GetRowCount(), 1);
    EXPECT_EQ(enabled, (std::map<std::uint32_t, bool>{{Dlg::kMenuAddFile, true},
                                                      {Dlg::kMenuSaveAs, false},
                                                      {Dlg::kMenuDelete, false}}));

    List(editor).selectRow(0);
    test_core().messages().QueueAnswer(true);
    ChooseFromMenu(editor, Dlg::kMenuDelete, enabled);
    EXPECT_TRUE(enabled[Dlg::kMenuDelete]);
    EXPECT_EQ(List(editor).GetRowCount(), 0);

    // A double click on the empty list adds a file, one on a row saves it.
    QWidget* viewport = List(editor).viewport();
    choosers().QueueFile(file);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(5, viewport->height() - 5));
    ASSERT_EQ(List(editor).GetRowCount(), 1);
    choosers().QueueFile(files() / "double clicked.txt");
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier,
                       List(editor).visualRect(List(editor).model()->index(0, 0)).center());
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note()));
  EXPECT_EQ(test::ReadWhole(files() / "double clicked.txt"), test::ReadWhole(file));
}

}  // namespace
