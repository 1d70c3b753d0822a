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

// A folder "Finance" holding the note "Online banking" with two statements attached, as a
// user would have them.
CKTLVARRAY& AddSampleNote(CKTLVARRAY& root) {
  CKTLVARRAY* finance = database::CreateEntry(root, ENTRY_FOLDER);
  finance->SetStringByTag(TAG_NAME, u"Finance");
  finance->SetStringByTag(TAG_TEXT, u"Banks, cards, insurance and tax papers.");
  finance->SetDwordByTag(TAG_ICON, 11);
  root.AddChild(finance);
  CKTLVARRAY* note = database::CreateEntry(*finance, ENTRY_NOTE);
  note->SetStringByTag(TAG_NAME, u"Online banking");
  note->SetStringByTag(TAG_LOGIN, u"ada.lovelace");
  note->SetStringByTag(TAG_PASSWORD, u"k7#Tq9!vLm2x");
  note->SetStringByTag(TAG_EMAIL, u"ada@example.org");
  note->SetStringByTag(TAG_URL, u"https://bank.example.com/login");
  note->SetStringByTag(TAG_TEXT,
                       u"Security question: first pet is \"Babbage\".\n"
                       u"The card's PIN is in the safe, not here.");
  note->SetDwordByTag(TAG_CREATED, 1741944360);   // 14 March 2025
  note->SetDwordByTag(TAG_MODIFIED, 1777747200);  // 2 May 2026
  const std::pair<const char16_t*, std::uint32_t> files[] = {{u"statement-2026-04.pdf", 250'880},
                                                             {u"card-contract.pdf", 1'572'864}};
  for (const auto& [name, size] : files) {
    CKTLVARRAY* attachment = database::CreateEntry(*note, ENTRY_ATTACHMENT);
    attachment->SetStringByTag(TAG_FILE_NAME, name);
    attachment->SetDwordByTag(TAG_FILE_SIZE, size);
    attachment->FindChild(TAG_FILE_DATA)->GetBuffer(size);
    note->AddChild(attachment);
  }
  finance->AddChild(note);
  return *note;
}

// The note editor, the folder editor, the move-to dialog and the generator in both modes, on
// the logged-in user's sample data.
void RenderEditors(test::TestCore& core, const QString& suffix) {
  test::WhenRunning<CKLoginDlg>([](CKLoginDlg& dialog) {
    dialog.Item<QLineEdit>(CKLoginDlg::kPassword)->setText(QStringLiteral("correct horse"));
    dialog.OnOK();
  });
  CKTLVARRAY* root = core.core().m_Databases.LogIn() ? core.core().GetRootFolder() : nullptr;
  if (root == nullptr) {
    std::fprintf(stderr, "the sample user did not log in\n");
    ++g_failures;
    return;
  }
  CKTLVARRAY& note = AddSampleNote(*root);
  CKTLVARRAY& finance = *note.GetParent();
  for (const char16_t* name : {u"Home", u"Travel"}) {
    CKTLVARRAY* folder = database::CreateEntry(*root, ENTRY_FOLDER);
    folder->SetStringByTag(TAG_NAME, name);
    root->AddChild(folder);
  }
  CKTLVARRAY* archive = database::CreateEntry(finance, ENTRY_FOLDER);
  archive->SetStringByTag(TAG_NAME, u"Archive");
  finance.AddChild(archive);

  test::WhenRunning<CKNoteDlg>([&](CKNoteDlg& dialog) { Capture(dialog, "note-editor" + suffix); });
  CKNoteDlg(note, nullptr).DoModal();
  test::WhenRunning<CKFolderDlg>(
      [&](CKFolderDlg& dialog) { Capture(dialog, "folder-editor" + suffix); });
  CKFolderDlg(finance, nullptr).DoModal();
  test::WhenRunning<CKMoveToDlg>([&](CKMoveToDlg& dialog) { Capture(dialog, "move-to" + suffix); });
  CKMoveToDlg(note, nullptr).DoModal();
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
  test::WhenRunning<CKLoginDlg>([](CKLoginDlg& dialog) {
    dialog.Item<QLineEdit>(CKLoginDlg::kPassword)->setText(QStringLiteral("correct horse"));
    dialog.OnOK();
  });
  CKTLVARRAY* root = core.core().m_Databases.LogIn() ? core.core().GetRootFolder() : nullptr;
  if (root == nullptr) {
    std::fprintf(stderr, "the sample user did not log in\n");
    ++g_failures;
    return;
  }
  const auto add = [](CKTLVARRAY& parent, std::uint32_t kind, const char16_t* name,
                      const char16_t* text, std::uint32_t icon) -> CKTLVARRAY& {
    CKTLVARRAY* entry = database::CreateEntry(parent, kind);
    entry->SetStringByTag(TAG_NAME, name);
    entry->SetStringByTag(TAG_TEXT, text);
    entry->SetDwordByTag(TAG_ICON, icon);
    parent.AddChild(entry);
    return *entry;
  };
  CKTLVARRAY& finance = add(*root, ENTRY_FOLDER, u"Finance", u"Banks, cards, tax", 11);
  add(*root, ENTRY_FOLDER, u"Home", u"Router, alarm, utilities", 10);
  add(*root, ENTRY_FOLDER, u"Travel", u"Airlines and hotels", 10);
  add(*root, ENTRY_FOLDER, u"Work", u"", 10);
  add(*root, ENTRY_NOTE, u"E-mail", u"Personal mailbox", 0)
      .SetStringByTag(TAG_LOGIN, u"ada@example.org");
  add(*root, ENTRY_NOTE, u"Photo editor", u"Licence for two computers", 1);
  add(*root, ENTRY_NOTE, u"Streaming", u"Family plan, renews in May", 0);
  add(*root, ENTRY_NOTE, u"Wi-Fi at home", u"Guest network: QuillGuest", 0);
  add(finance, ENTRY_NOTE, u"Online banking", u"Bank of Example, current account", 0);
  add(finance, ENTRY_NOTE, u"Credit card", u"Expires 09/28; bank hotline on the back", 0);
  add(finance, ENTRY_NOTE, u"Tax office", u"Online tax return", 0);

  const QSize size(560, 420);
  test::WhenRunning<CVaultQuillDlg>([&](CVaultQuillDlg& window) {
    window.resize(size);
    Capture(window, "main-window" + suffix);
  });
  CVaultQuillDlg::Run(core.core());
  if (suffix.isEmpty()) {
    test::WhenRunning<CVaultQuillDlg>([&](CVaultQuillDlg& window) {
      window.resize(size);
      window.Item<QLineEdit>(CVaultQuillDlg::kSearch)->setText(QStringLiteral("bank"));
      Capture(window, "main-window-search");
    });
    CVaultQuillDlg::Run(core.core());
  }
  core.core().m_Databases.LogOut();
}

// The settings with a typical data folder, and the update dialog with short release notes.
void RenderSettingsAndUpdate(test::TestCore& core, const QString& suffix) {
  core.profile().WriteProfileString(u"RunTime Settings", u"m_csUserDataFolder",
                                    u"/home/ada/.local/share/Orlavo software/VaultQuill");
  test::WhenRunning<CKSettingsDlg>(
      [&](CKSettingsDlg& dialog) { Capture(dialog, "settings" + suffix); });
  CKSettingsDlg(nullptr).DoModal();

  CKCore& running = core.core();
  running.m_SettingsSystem.m_csUpdateSavePath = u"/home/ada/Downloads/";
  const QByteArray notes(
      "{\\rtf1\\ansi {\\b VaultQuill 2.1}\\par Faster log-in on large user files.\\par "
      "The note editor remembers its size.\\par}");
  test::WhenRunning<CKUpdaterDlg>(
      [&](CKUpdaterDlg& dialog) { Capture(dialog, "update" + suffix); });
  CKUpdaterDlg(running.m_SettingsInterface, running.m_SettingsSystem, running.m_SettingsRunTime,
               running.m_Languages, notes)
      .DoModal();
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

  RenderEditors(core, suffix);
  RenderMainWindow(core, suffix);
  RenderSettingsAndUpdate(core, suffix);

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
