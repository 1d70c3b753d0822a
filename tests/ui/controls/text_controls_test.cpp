// The rich edit that shows release notes, and the memory storage it reads them from.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <cstring>

#include "ui/controls/rich_edit.h"

namespace {

TEST(RichEdit, ShowsReleaseNotesWithTheirLooksAndMarksWebAddresses) {
  // A block as the update checker fills it: the document, then zero bytes; it is handed out
  // in pieces, the last one short.
  std::vector<std::uint8_t> block(16385, 0);
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

  // A storage for writing hands out nothing.
  CKRichEditMemoryStorage writing;
  EXPECT_FALSE(view.StreamIn(writing));
  EXPECT_TRUE(CKRichEditCtrl::LoadLibrary());
}

}  // namespace
