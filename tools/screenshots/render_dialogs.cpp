// Renders every dialog of the program into PNG files, for the README and for looking at them:
//   vq_render_dialogs OUTPUT_FOLDER
// Run under an X server (tools/screenshots.sh starts Xvfb) so that real fonts are used.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include "core/core.h"
#include "database/database.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "support/ui_environment.h"
#include "ui/about_dlg.h"
#include "ui/controls/icons.h"
#include "ui/edit_database_dlg.h"
#include "ui/folder_editor.h"
#include "ui/generator_dlg.h"
#include "ui/login_dlg.h"
#include "ui/main_window.h"
#include "ui/move_to_dlg.h"
#include "ui/note_editor.h"
#include "ui/settings_dlg.h"
#include "updater/updater_dlg.h"

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

// Captures the dialog made from the arguments once it runs.
template <typename Dialog, typename... Args>
void Render(const QString& name, Args&&... args) {
  test::WhenRunning<Dialog>([name](Dialog& dialog) { Capture(dialog, name); });
  Dialog(std::forward<Args>(args)...).DoModal();
}

CKTLVARRAY& Add(CKTLVARRAY& parent, std::uint32_t kind, const char16_t* name,
                const char16_t* text = u"", std::uint32_t icon = 0) {
  CKTLVARRAY* entry = database::CreateEntry(parent, kind);
  entry->SetStringByTag(TAG_NAME, name);
  entry->SetStringByTag(TAG_TEXT, text);
  entry->SetDwordByTag(TAG_ICON, icon);
  parent.AddChild(entry);
  return *entry;
}

// Logs the sample user in; null (and a failure counted) when that does not work.
CKTLVARRAY* LogIn(test::TestCore& core) {
  test::WhenRunning<CKLoginDlg>([](CKLoginDlg& dialog) {
    dialog.Item<QLineEdit>(CKLoginDlg::kPassword)->setText(QStringLiteral("correct horse"));
    dialog.OnOK();
  });
  if (!core.core().m_Databases.LogIn()) {
    std::fprintf(stderr, "the sample user did not log in\n");
    ++g_failures;
    return nullptr;
  }
  return core.core().GetRootFolder();
}

// The note editor, the folder editor, the move-to dialog and the generator in both modes, on
// a folder "Finance" holding the note "Online banking" with two statements attached.
void RenderEditors(test::TestCore& core, const QString& suffix) {
  CKTLVARRAY* root = LogIn(core);
  if (root == nullptr) {
    return;
  }
  CKTLVARRAY& finance =
      Add(*root, ENTRY_FOLDER, u"Finance", u"Banks, cards, insurance and tax papers.", 11);
  CKTLVARRAY& note = Add(finance, ENTRY_NOTE, u"Online banking",
                         u"Security question: first pet is \"Babbage\".\n"
                         u"The card's PIN is in the safe, not here.");
  note.SetStringByTag(TAG_LOGIN, u"ada.lovelace");
  note.SetStringByTag(TAG_PASSWORD, u"k7#Tq9!vLm2x");
  note.SetStringByTag(TAG_EMAIL, u"ada@example.org");
  note.SetStringByTag(TAG_URL, u"https://bank.example.com/login");
  note.SetDwordByTag(TAG_CREATED, 1741944360);   // 14 March 2025
  note.SetDwordByTag(TAG_MODIFIED, 1777747200);  // 2 May 2026
  const std::pair<const char16_t*, std::uint32_t> files[] = {{u"statement-2026-04.pdf", 250'880},
                                                             {u"card-contract.pdf", 1'572'864}};
  for (const auto& [name, size] : files) {
    CKTLVARRAY* attachment = database::CreateEntry(note, ENTRY_ATTACHMENT);
    attachment->SetStringByTag(TAG_FILE_NAME, name);
    attachment->SetDwordByTag(TAG_FILE_SIZE, size);
    attachment->FindChild(TAG_FILE_DATA)->GetBuffer(size);
    note.AddChild(attachment);
  }
  for (const char16_t* name : {u"Home", u"Travel"}) {
    Add(*root, ENTRY_FOLDER, name, u"", 10);
  }
  Add(finance, ENTRY_FOLDER, u"Archive", u"", 10);

  Render<CKNoteDlg>("note-editor" + suffix, note, nullptr);
  Render<CKFolderDlg>("folder-editor" + suffix, finance, nullptr);
  Render<CKMoveToDlg>("move-to" + suffix, note, nullptr);
  for (const bool pick : {false, true}) {
    test::WhenRunning<CKGeneratorDlg>([&](CKGeneratorDlg& dialog) {
      dialog.OnGenerate();
      Capture(dialog, (pick ? "generator-pick" : "generator") + suffix);
    });
    CKGeneratorDlg(pick, nullptr).DoModal();
  }
  core.core().m_Databases.LogOut();
}

// The main window on a user's everyday tree: the folders and notes at the top, and a search.
void RenderMainWindow(test::TestCore& core, const QString& suffix) {
  CKTLVARRAY* root = LogIn(core);
  if (root == nullptr) {
    return;
  }
  CKTLVARRAY& finance = Add(*root, ENTRY_FOLDER, u"Finance", u"Banks, cards, tax", 11);
  Add(*root, ENTRY_FOLDER, u"Home", u"Router, alarm, utilities", 10);
  Add(*root, ENTRY_FOLDER, u"Travel", u"Airlines and hotels", 10);
  Add(*root, ENTRY_FOLDER, u"Work", u"", 10);
  Add(*root, ENTRY_NOTE, u"E-mail", u"Personal mailbox")
      .SetStringByTag(TAG_LOGIN, u"ada@example.org");
  Add(*root, ENTRY_NOTE, u"Photo editor", u"Licence for two computers", 1);
  Add(*root, ENTRY_NOTE, u"Streaming", u"Family plan, renews in May");
  Add(*root, ENTRY_NOTE, u"Wi-Fi at home", u"Guest network: QuillGuest");
  Add(finance, ENTRY_NOTE, u"Online banking", u"Bank of Example, current account");
  Add(finance, ENTRY_NOTE, u"Credit card", u"Expires 09/28; bank hotline on the back");
  Add(finance, ENTRY_NOTE, u"Tax office", u"Online tax return");

  for (const QString& search : {QString(), QStringLiteral("bank")}) {
    if (!search.isEmpty() && !suffix.isEmpty()) {
      break;  // the search only in English
    }
    test::WhenRunning<CVaultQuillDlg>([&](CVaultQuillDlg& window) {
      window.resize(560, 420);
      window.Item<QLineEdit>(CVaultQuillDlg::kSearch)->setText(search);
      Capture(window, (search.isEmpty() ? "main-window" : "main-window-search") + suffix);
    });
    CVaultQuillDlg::Run(core.core());
  }
  core.core().m_Databases.LogOut();
}

// The settings with a typical data folder, and the update dialog with short release notes.
void RenderSettingsAndUpdate(test::TestCore& core, const QString& suffix) {
  core.profile().WriteProfileString(u"RunTime Settings", u"m_csUserDataFolder",
                                    u"/home/ada/.local/share/Orlavo software/VaultQuill");
  Render<CKSettingsDlg>("settings" + suffix, nullptr);
  CKCore& running = core.core();
  running.m_SettingsSystem.m_csUpdateSavePath = u"/home/ada/Downloads/";
  Render<CKUpdaterDlg>("update" + suffix, running.m_SettingsInterface, running.m_SettingsSystem,
                       running.m_SettingsRunTime, running.m_Languages,
                       QByteArray("{\\rtf1\\ansi {\\b VaultQuill 2.1}\\par Faster log-in on large "
                                  "user files.\\par The note editor remembers its size.\\par}"));
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
  Render<CKEditDatabaseDlg>("user-editor-new" + suffix, core.core().m_Databases, fresh, true,
                            nullptr);
  Render<CKEditDatabaseDlg>("user-editor-edit" + suffix, core.core().m_Databases,
                            *core.core().m_Databases.FindUser(u"alice"), false, nullptr);
  RenderEditors(core, suffix);
  RenderMainWindow(core, suffix);
  RenderSettingsAndUpdate(core, suffix);
  if (suffix.isEmpty()) {  // the About box's texts are the same in every language
    Render<CAboutDlg>("about", nullptr);
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
