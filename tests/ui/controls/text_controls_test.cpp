#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <cstring>

#include "ui/controls/combo_box.h"
#include "ui/controls/rich_edit.h"

namespace {

TEST(ComboBox, ASortedListIgnoresCaseAndSelectsByPrefix) {
  CKComboBox combo;
  combo.SetSorted(true);
  for (const char* name : {"mallory", "Bob", "alice", "bob", "Alicia"}) {
    combo.AddString(QString::fromLatin1(name));
  }
  QStringList items;
  for (int i = 0; i < combo.count(); ++i) {
    items << combo.itemText(i);
  }
  EXPECT_EQ(items, (QStringList{"alice", "Alicia", "Bob", "bob", "mallory"}));
  EXPECT_EQ(combo.SelectString(QStringLiteral("ALI")), 0);
  EXPECT_EQ(combo.SelectString(QStringLiteral("b"), 3), 3);
  EXPECT_EQ(combo.SelectString(QStringLiteral("zed")), -1);
  EXPECT_EQ(combo.GetSelectedText(), QStringLiteral("bob"));
}

TEST(MemoEdit, TextBeyondTheLimitIsCut) {
  CKMemoEdit memo;
  memo.SetLimit(512);
  memo.setPlainText(QString(600, QLatin1Char('x')));
  EXPECT_EQ(memo.toPlainText().size(), 512);
  memo.moveCursor(QTextCursor::End);
  memo.insertPlainText(QStringLiteral("more"));
  EXPECT_EQ(memo.toPlainText().size(), 512);
}

TEST(RichEditStorage, HandsOutTheBlockInPiecesAndCollectsWhatIsWritten) {
  const std::uint8_t block[] = {1, 2, 3, 4, 5, 6, 7};
  CKRichEditMemoryStorage reading(block, sizeof block);
  std::uint8_t piece[3] = {};
  EXPECT_EQ(reading.Read(piece, 3), 3u);
  EXPECT_EQ(piece[2], 3);
  EXPECT_EQ(reading.Read(piece, 3), 3u);
  EXPECT_EQ(reading.Read(piece, 3), 1u);
  EXPECT_EQ(piece[0], 7);
  EXPECT_EQ(reading.Read(piece, 3), 0u);
  EXPECT_EQ(reading.Write(block, 2), 0u);  // a reading storage takes nothing

  CKRichEditMemoryStorage writing;
  EXPECT_EQ(writing.Write(block, 4), 4u);
  EXPECT_EQ(writing.Write(block + 4, 3), 3u);
  EXPECT_EQ(writing.Written(), std::vector<std::uint8_t>(block, block + 7));
}

TEST(RichEdit, ShowsReleaseNotesWithTheirLooksAndMarksWebAddresses) {
  // A block as the update checker fills it: the document, then zero bytes.
  std::vector<std::uint8_t> block(16384, 0);
  const char* notes =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 {\\b New:} faster start\\par "
      "See www.example.org/notes for more.}";
  std::memcpy(block.data(), notes, std::strlen(notes));
  CKRichEditMemoryStorage storage(block.data(), block.size());
  CKRichEditCtrl view;
  QFont font;
  font.setPointSize(11);
  view.SetupReleaseNotesLook(font);
  ASSERT_TRUE(view.StreamIn(storage));
  EXPECT_EQ(view.toPlainText(),
            QStringLiteral("New: faster start\nSee www.example.org/notes for more."));
  EXPECT_EQ(view.document()->defaultFont().pointSize(), 11);

  QTextCursor bold(view.document());
  bold.setPosition(1);
  EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
  const QTextBlock second = view.document()->begin().next();
  QTextCursor link(second);
  link.setPosition(second.position() + 6);
  EXPECT_TRUE(link.charFormat().isAnchor());
  EXPECT_EQ(link.charFormat().anchorHref(), QStringLiteral("http://www.example.org/notes"));
  QTextCursor plain(second);
  plain.setPosition(second.position() + 2);
  EXPECT_FALSE(plain.charFormat().isAnchor());

  CKRichEditMemoryStorage writing;
  EXPECT_FALSE(view.StreamIn(writing));
  EXPECT_TRUE(CKRichEditCtrl::LoadLibrary());
}

}  // namespace
