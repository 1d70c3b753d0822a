// Renders every dialog of the program into PNG files, for the README and for looking at them:
//   vq_render_dialogs OUTPUT_FOLDER
// Run under an X server (tools/screenshots.sh starts Xvfb) so that real fonts are used.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>

#include "core/core.h"
#include "database/database.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "support/ui_environment.h"
#include "ui/about_dlg.h"
#include "ui/controls/icons.h"
#include "ui/edit_database_dlg.h"
#include "ui/login_dlg.h"

namespace {

QString g_output;
int g_failures = 0;

// Lets the window settle, grabs it (frame included when the window system draws one) and ends
// its modal run.
void Capture(CKDialog& dialog, const QString& name) {
  test::ProcessEvents(150);
  const QPixmap picture = dialog.grab();
  const QString path = QDir(g_output).filePath(name + QStringLiteral(".png"));
  if (!picture.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    ++g_failures;
  } else {
    std::printf("%s\n", qPrintable(path));
  }
  dialog.EndDialog(CKDialog::kIdCancel);
}

void RenderLanguage(const std::u16string& language, const QString& suffix) {
  test::KTestCoreOptions options;
  options.language = language;
  options.last_login = u"alice";
  test::TestCore core(options);
  core.AddUser(u"alice", u"correct horse", u"The horse and the battery.");
  core.AddUser(u"Bob", u"staple", u"");
  if (!core.Start()) {
    std::fprintf(stderr, "the core did not start\n");
    ++g_failures;
    return;
  }
  // The pictures show a typical home rather than the renderer's temporary folders.
  CKSettingsRunTime& run_time = core.core().m_SettingsRunTime;
  run_time.m_csUserName = u"ada";
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& dialog) { Capture(dialog, "login" + suffix); });
  core.core().m_Databases.LogIn();

  CKDatabase fresh;
  run_time.m_csUserDataFolder = u"/home/ada/.local/share/Orlavo software/VaultQuill/";
  test::WhenRunning<CKEditDatabaseDlg>(
      [&](CKEditDatabaseDlg& dialog) { Capture(dialog, "user-editor-new" + suffix); });
  CKEditDatabaseDlg(core.core().m_Databases, fresh, true, nullptr).DoModal();

  CKDatabase* alice = core.core().m_Databases.FindUser(u"alice");
  test::WhenRunning<CKEditDatabaseDlg>(
      [&](CKEditDatabaseDlg& dialog) { Capture(dialog, "user-editor-edit" + suffix); });
  CKEditDatabaseDlg(core.core().m_Databases, *alice, false, nullptr).DoModal();

  if (suffix.isEmpty()) {  // the About box's texts are the same in every language
    test::WhenRunning<CAboutDlg>([&](CAboutDlg& dialog) { Capture(dialog, "about"); });
    CAboutDlg(nullptr).DoModal();
  }
}

// Every icon of the program at 16 and 32 pixels, with its id.
void RenderIconSheet() {
  const int ids[] = {100, 113, 114, 115, 116, 117, 126, 127, 128, 129, 130,
                     131, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150};
  constexpr int kCell = 56;
  const int columns = 11;
  const int rows = (static_cast<int>(std::size(ids)) + columns - 1) / columns;
  QPixmap sheet(columns * kCell, rows * kCell);
  sheet.fill(QApplication::palette().color(QPalette::Window));
  QPainter painter(&sheet);
  for (int i = 0; i < static_cast<int>(std::size(ids)); ++i) {
    const int x = (i % columns) * kCell;
    const int y = (i / columns) * kCell;
    painter.drawPixmap(x + 4, y + 4, icons::Pixmap(ids[i], 16));
    painter.drawPixmap(x + 22, y + 4, icons::Pixmap(ids[i], 32));
    painter.drawText(QRect(x, y + 38, kCell, 16), Qt::AlignCenter, QString::number(ids[i]));
  }
  painter.end();
  const QString path = QDir(g_output).filePath(QStringLiteral("icons.png"));
  if (!sheet.save(path)) {
    ++g_failures;
  } else {
    std::printf("%s\n", qPrintable(path));
  }
}

}  // namespace

// Qt's X11 integration keeps a buffer of the D-Bus library until the process ends; that is
// not a leak of this program.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  test::PrepareUiEnvironment();
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  g_output = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(g_output);
  RenderLanguage(u"English", QString());
  RenderLanguage(u"Deutsch", QStringLiteral("-de"));
  RenderIconSheet();
  return g_failures == 0 ? 0 : 1;
}
