// The help pages beside the program: one for every page a dialog opens, found where the
// dialogs look for them, every link leading to a page or a place on a page that exists, and
// nothing that reaches outside the folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/program_folder.h"
#include "ui/help.h"

namespace {

const QString kSourceRoot = QStringLiteral(VQ_SOURCE_DIR);

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return QString::fromUtf8(file.readAll());
}

// Every page name that the program's dialogs open (help::ShowPage with a literal name).
QStringList PageNamesInSources() {
  QStringList names;
  const QRegularExpression call(
      QString::fromLatin1(R"re(ShowPage\(QStringLiteral\("([^"]+)"\)\))re"));
  QDirIterator files(kSourceRoot + QStringLiteral("/src"), {QStringLiteral("*.cpp")}, QDir::Files,
                     QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString text = ReadText(files.next());
    for (const QRegularExpressionMatch& match : call.globalMatch(text)) {
      names.append(match.captured(1));
    }
  }
  names.removeDuplicates();
  return names;
}

QString HelpFolder() {
  return QFileInfo(help::PagePath(QStringLiteral("index"))).absolutePath();
}

TEST(HelpPages, EveryPageADialogOpensIsBesideTheProgram) {
  const QStringList names = PageNamesInSources();
  // The framework's pages: the main window, the settings, the generator, the user editor, the
  // log-in, the About box, the folder editor, the move-to dialog (index) and the note editor.
  for (const char* page : {"main-window", "settings", "passwords-generator", "new-user-dialog",
                           "log-in-dialog", "about", "folder-editor", "index", "note-editor"}) {
    EXPECT_TRUE(names.contains(QString::fromLatin1(page))) << page << " is opened by no dialog";
  }
  for (const QString& name : names) {
    const QFileInfo page(help::PagePath(name));
    EXPECT_TRUE(page.isFile()) << page.filePath().toStdString();
    // Beside this test, which the build puts beside the programs.
    EXPECT_EQ(page.absolutePath(), QDir(QString::fromStdU16String(platform::ProgramFolder()))
                                       .filePath(QStringLiteral("html")));
  }
  EXPECT_FALSE(help::ShowPage(QStringLiteral("no-such-page")));
}

TEST(HelpPages, LinksLeadToPagesAndPlacesThatExistAndNothingLeavesTheFolder) {
  const QDir folder(HelpFolder());
  const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
  ASSERT_GE(pages.size(), 9);
  const QRegularExpression reference(QString::fromLatin1(R"re((href|src)\s*=\s*"([^"]*)")re"));
  const QRegularExpression anchor(QString::fromLatin1(R"re(\sid\s*=\s*"([^"]+)")re"));
  for (const QString& page : pages) {
    SCOPED_TRACE(page.toStdString());
    const QString text = ReadText(folder.filePath(page));
    EXPECT_TRUE(text.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_FALSE(text.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    EXPECT_TRUE(text.contains(QStringLiteral("href=\"style.css\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("href=\"index.html\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("<title>")));
    for (const QRegularExpressionMatch& match : reference.globalMatch(text)) {
      const QString target = match.captured(2);
      SCOPED_TRACE(target.toStdString());
      ASSERT_FALSE(target.isEmpty());
      EXPECT_FALSE(target.contains(QStringLiteral("//")));  // no outside address
      EXPECT_FALSE(target.startsWith(QLatin1Char('/')));
      EXPECT_FALSE(target.contains(QStringLiteral("..")));
      const QString file = target.section(QLatin1Char('#'), 0, 0);
      const QString place = target.section(QLatin1Char('#'), 1);
      const QString linked = file.isEmpty() ? page : file;
      ASSERT_TRUE(QFileInfo(folder.filePath(linked)).isFile());
      if (!place.isEmpty()) {
        QSet<QString> ids;
        for (const QRegularExpressionMatch& id :
             anchor.globalMatch(ReadText(folder.filePath(linked)))) {
          ids.insert(id.captured(1));
        }
        EXPECT_TRUE(ids.contains(place));
      }
    }
  }
  // The style sheet loads nothing itself.
  const QString style = ReadText(folder.filePath(QStringLiteral("style.css")));
  EXPECT_FALSE(style.isEmpty());
  EXPECT_FALSE(style.contains(QStringLiteral("url(")));
  EXPECT_FALSE(style.contains(QStringLiteral("@import")));
}

TEST(HelpPages, TheContentsPageLeadsToEveryPage) {
  const QDir folder(HelpFolder());
  const QString contents = ReadText(folder.filePath(QStringLiteral("index.html")));
  for (const QString& page : folder.entryList({QStringLiteral("*.html")}, QDir::Files)) {
    if (page != QStringLiteral("index.html")) {
      EXPECT_TRUE(contents.contains(QStringLiteral("href=\"") + page + QLatin1Char('"')))
          << page.toStdString();
    }
  }
}

}  // namespace
