// The main window's list: making, opening and deleting entries, the way through the tree and
// the search; each change checked in the user's file as it is on disk.
#include <QLineEdit>
#include <QTest>
#include <fstream>
#include <iterator>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "languages/menus.h"
#include "main_window_fixture.h"
#include "platform/format.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "ui/controls/list_ctrl.h"

namespace test {
namespace {

using Rows_ = std::vector<std::string>;
using Dlg = CVaultQuillDlg;

std::string FileBytes(const std::u16string& path) {
  std::ifstream file(platform::ToUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST_F(MainWindowTest, FoldersAndNotesGoIntoTheFolderShownInTheListsOrderAndAreSavedAtOnce) {
  const bool back_to_log_in = Run([&](Dlg& window) {
    EXPECT_EQ(Rows(window), Rows_{});  // the root has no up row
    editors_.Queue(Named(u"Banking"));
    Press(window, Qt::CTRL | Qt::Key_F);
    EXPECT_NE(Child(Reopen()->GetEntriesRoot(), u"Banking"), nullptr);
    editors_.Queue(Named(u"b mail"));
    Press(window, Qt::CTRL | Qt::Key_N);
    editors_.Queue(Named(u"Zulu"));
    QTest::mouseClick(window.GetDlgItem(Dlg::kNewNoteButton), Qt::LeftButton);
    editors_.Queue(Named(u"Archive"));
    window.MenuAction(menus::kCmdNewFolder)->trigger();
    // Folders before notes; within them "Z" before "b".
    EXPECT_EQ(Rows(window), (Rows_{"Archive", "Banking", "Zulu", "b mail"}));
    EXPECT_NE(Child(Reopen()->GetEntriesRoot(), u"b mail"), nullptr);

    ClickRow(window, u"Banking", true);
    EXPECT_EQ(Rows(window), Rows_{"[up]"});
    EXPECT_EQ(ControlText(window, Dlg::kPath), QStringLiteral("Banking \\ "));
    editors_.Queue(Named(u"Card", u"4711"));
    Press(window, Qt::CTRL | Qt::Key_N);
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Card"}));
    const auto reread = Reopen();
    CKTLVARRAY* card = Child(*Child(reread->GetEntriesRoot(), u"Banking"), u"Card");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(Field(*card, TAG_PASSWORD), u"4711");

    // A cancelled editor leaves the tree, the list and the file as they were.
    const std::string before = FileBytes(user().GetPath());
    Press(window, Qt::CTRL | Qt::Key_F);
    EXPECT_EQ(editors_.opened(), 6);
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Card"}));
    EXPECT_EQ(FileBytes(user().GetPath()), before);

    ClickRow(window, u"[up]", true);
    EXPECT_EQ(Rows(window).size(), 4u);
    EXPECT_EQ(ControlText(window, Dlg::kPath), QString());
    window.close();
  });
  EXPECT_TRUE(back_to_log_in);
}

TEST_F(MainWindowTest, RowsOpenWithOneClickOrTwoAsTheUserChose) {
  CKTLVARRAY& outer = AddFolder(root(), u"Outer");
  CKTLVARRAY& middle = AddFolder(outer, u"Middle");
  AddFolder(middle, u"Inner");
  AddNote(root(), u"Note");
  core().m_SettingsUserBased.boolSingleClickInterface = false;
  Run([&](Dlg& window) {
    ClickRow(window, u"Outer", false);
    EXPECT_EQ(Rows(window), (Rows_{"Outer", "Note"}));
    ClickRow(window, u"Outer", true);
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Middle"}));
    // Enter opens the selected row too.
    Select(window, u"Middle");
    QTest::keyClick(window.List(), Qt::Key_Return);
    EXPECT_EQ(ControlText(window, Dlg::kPath), QStringLiteral("Outer \\ Middle \\ "));
    QTest::mouseClick(window.GetDlgItem(Dlg::kRootButton), Qt::LeftButton);
    EXPECT_EQ(Rows(window), (Rows_{"Outer", "Note"}));

    core().m_SettingsUserBased.boolSingleClickInterface = true;
    ClickRow(window, u"Outer", false);
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Middle"}));
    // A double click from habit opens one folder, not the one its second click lands on.
    ClickRow(window, u"Middle", true);
    EXPECT_EQ(ControlText(window, Dlg::kPath), QStringLiteral("Outer \\ Middle \\ "));
    window.close();
  });
}

TEST_F(MainWindowTest, SearchFindsNotesBelowTheFolderInAnyFieldOrAttachmentNameWhateverTheCase) {
  CKTLVARRAY& work = AddFolder(root(), u"Work");
  CKTLVARRAY& deep = AddFolder(work, u"Deep");
  AddNote(work, u"VPN", u"bank.admin");
  AddNote(work, u"Canteen");
  CKTLVARRAY& payroll = AddNote(deep, u"Payroll");
  payroll.SetStringByTag(TAG_TEXT, u"paid by our bank");
  CKTLVARRAY& scans = AddNote(deep, u"Scans");
  CKTLVARRAY* statement = database::CreateEntry(scans, ENTRY_ATTACHMENT);
  statement->SetStringByTag(TAG_FILE_NAME, u"bank-statement.pdf");
  scans.AddChild(statement);
  AddNote(root(), u"Bank at home");  // outside the folder searched
  ASSERT_EQ(user().Save(), 0);

  Run([&](Dlg& window) {
    ClickRow(window, u"Work", true);
    Search(window, QStringLiteral("BANK"));
    EXPECT_TRUE(window.IsShowingSearch());
    EXPECT_EQ(Rows(window), (Rows_{"Payroll", "Scans", "VPN"}));
    Search(window, QStringLiteral("-STATEMENT"));
    EXPECT_EQ(Rows(window), Rows_{"Scans"});
    // Emptying the box shows the folder again.
    window.Item<QLineEdit>(Dlg::kSearch)->clear();
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Deep", "Canteen", "VPN"}));
    // ".." empties the box and goes up.
    Search(window, QStringLiteral("bank"));
    QTest::mouseClick(window.GetDlgItem(Dlg::kUpButton), Qt::LeftButton);
    EXPECT_EQ(ControlText(window, Dlg::kSearch), QString());
    EXPECT_EQ(Rows(window), (Rows_{"Work", "Bank at home"}));
    // At the root "\" still ends a search.
    Search(window, QStringLiteral("nothing like this"));
    EXPECT_EQ(Rows(window), Rows_{});
    QTest::mouseClick(window.GetDlgItem(Dlg::kRootButton), Qt::LeftButton);
    EXPECT_EQ(Rows(window), (Rows_{"Work", "Bank at home"}));
    // Enter in the search box closes nothing.
    Search(window, QStringLiteral("home"));
    Press(window, QKeyCombination(Qt::Key_Return));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Rows(window), Rows_{"Bank at home"});
    window.close();
  });
}

TEST_F(MainWindowTest, DeleteAsksWithTheKindAndNameAndRemovesOnlyOnYes) {
  AddNote(root(), u"Old router");
  CKTLVARRAY& trash = AddFolder(root(), u"Trash");
  AddNote(trash, u"Inside");
  std::u16string kind;
  std::u16string ask;
  core().m_Languages.GetText(0, 33, kind);
  core().m_Languages.GetText(1, 1, ask);
  const std::u16string question =
      platform::Format(ask, std::u16string_view(kind), std::u16string_view(u"Old router"));
  Run([&](Dlg& window) {
    Press(window, Qt::CTRL | Qt::Key_D);
    EXPECT_EQ(test_core().Messages(), std::vector<std::string>{Message(0, 5)});

    Select(window, u"Old router");
    test_core().messages().QueueAnswer(false);
    Press(window, Qt::CTRL | Qt::Key_D);
    ASSERT_EQ(test_core().messages().shown().size(), 2u);
    EXPECT_EQ(test_core().messages().shown().back().text, question);
    EXPECT_TRUE(test_core().messages().shown().back().question);
    EXPECT_EQ(Rows(window), (Rows_{"Trash", "Old router"}));
    EXPECT_NE(Child(Reopen()->GetEntriesRoot(), u"Old router"), nullptr);

    test_core().messages().QueueAnswer(true);
    QTest::mouseClick(window.GetDlgItem(Dlg::kDeleteButton), Qt::LeftButton);
    EXPECT_EQ(Rows(window), Rows_{"Trash"});
    EXPECT_EQ(Child(Reopen()->GetEntriesRoot(), u"Old router"), nullptr);

    Select(window, u"Trash");
    test_core().messages().QueueAnswer(true);
    Press(window, Qt::CTRL | Qt::Key_D);
    EXPECT_EQ(Rows(window), Rows_{});
    EXPECT_EQ(Reopen()->GetEntriesRoot().GetChildCount(), 0u);
    window.close();
  });
}

}  // namespace
}  // namespace test
