// The main window's menu bar, its accelerators and the commands they give.
#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <iterator>
#include <string>
#include <vector>

#include "core/core.h"
#include "elements/tags.h"
#include "languages/menus.h"
#include "languages/text_ids.h"
#include "ui/dialog_texts.h"
#include "ui/main_window.h"

namespace {

// The texts of the main window that the language sets: the captions, then the title (3.255).
constexpr KTextPair kMainTexts[] = {
    {texts::kMainSearchCaption.key(), CVaultQuillDlg::kSearchCaption},
    {texts::kMainPathCaption.key(), CVaultQuillDlg::kPathCaption},
    {0, 0},
};

// The built-in texts of the menu bar, in the places of menus::kMenuBar; a language text "%"
// keeps them.
constexpr const char16_t* kBuiltInTitles[] = {u"&File", u"&Tools", u"&Help"};
struct KBuiltInItem {
  std::uint32_t command;
  const char16_t* text;
};
constexpr KBuiltInItem kBuiltInItems[] = {
    {menus::kCmdNewNote, u"&New note"},
    {menus::kCmdNewFolder, u"New &folder"},
    {menus::kCmdEditEntry, u"&Edit / view entry"},
    {menus::kCmdDeleteEntry, u"&Delete entry"},
    {menus::kCmdLogOut, u"&Log out current user"},
    {menus::kCmdExit, u"E&xit"},
    {menus::kCmdGenerator, u"&Passwords generator..."},
    {menus::kCmdSettings, u"&Settings..."},
    {menus::kCmdPersonalData, u"Edit your personal &data..."},
    {menus::kCmdClearClipboard, u"&Clear clipboard"},
    {menus::kCmdOpenDataFolder, u"&Open data folder"},
    {menus::kCmdBackUp, u"&Back up user file..."},
    {menus::kCmdRestore, u"&Restore user file..."},
    {menus::kCmdHelp, u"&Help"},
    {menus::kCmdVisitWebsite, u"&Visit website"},
    {menus::kCmdAbout, u"&About..."},
};

// The accelerator table: Ctrl with a letter for most commands, Alt+X to quit, F1 for help.
struct KAccelerator {
  Qt::KeyboardModifiers modifiers;
  int key;
  std::uint32_t command;
};
const KAccelerator kAccelerators[] = {
    {Qt::ControlModifier, Qt::Key_N, menus::kCmdNewNote},
    {Qt::ControlModifier, Qt::Key_F, menus::kCmdNewFolder},
    {Qt::ControlModifier, Qt::Key_E, menus::kCmdEditEntry},
    {Qt::ControlModifier, Qt::Key_D, menus::kCmdDeleteEntry},
    {Qt::ControlModifier, Qt::Key_L, menus::kCmdLogOut},
    {Qt::ControlModifier, Qt::Key_P, menus::kCmdGenerator},
    {Qt::ControlModifier, Qt::Key_T, menus::kCmdSettings},
    {Qt::ControlModifier, Qt::Key_Y, menus::kCmdPersonalData},
    {Qt::ControlModifier, Qt::Key_R, menus::kCmdClearClipboard},
    {Qt::ControlModifier, Qt::Key_O, menus::kCmdOpenDataFolder},
    {Qt::ControlModifier, Qt::Key_B, menus::kCmdAbout},
    {Qt::ControlModifier, Qt::Key_W, menus::kCmdVisitWebsite},
    {Qt::AltModifier, Qt::Key_X, menus::kCmdExit},
    {Qt::NoModifier, Qt::Key_F1, menus::kCmdHelp},
};

const KAccelerator* FindAccelerator(Qt::KeyboardModifiers modifiers, int key) {
  modifiers &= ~Qt::KeypadModifier;
  for (const KAccelerator& accelerator : kAccelerators) {
    if (accelerator.key == key && accelerator.modifiers == modifiers) {
      return &accelerator;
    }
  }
  return nullptr;
}

// The key that gives a command, as the menu shows it after the item's text; empty for none.
QString AcceleratorText(std::uint32_t command) {
  for (const KAccelerator& accelerator : kAccelerators) {
    if (accelerator.command == command) {
      return QKeySequence(accelerator.modifiers | static_cast<Qt::Key>(accelerator.key))
          .toString(QKeySequence::NativeText);
    }
  }
  return QString();
}

QString ItemText(const QString& text, std::uint32_t command) {
  const QString keys = AcceleratorText(command);
  return keys.isEmpty() ? text : text + QLatin1Char('\t') + keys;
}

QString BuiltInText(std::uint32_t command) {
  for (const KBuiltInItem& item : kBuiltInItems) {
    if (item.command == command) {
      return QString::fromUtf16(item.text);
    }
  }
  return QString();
}

}  // namespace

void CVaultQuillDlg::BuildMenuBar() {
  menu_bar_ = new QMenuBar(this);
  menu_bar_->setNativeMenuBar(false);
  for (std::size_t index = 0; index < std::size(menus::kMenuBar); ++index) {
    const menus::KMenuBarMenu& layout = menus::kMenuBar[index];
    QMenu* menu = menu_bar_->addMenu(QString::fromUtf16(kBuiltInTitles[index]));
    menus_[index] = menu;
    for (const menus::KMenuBarItem& item : layout.items) {
      if (item.command == 0) {
        menu->addSeparator();
        continue;
      }
      const std::uint32_t command = item.command;
      QAction* action = menu->addAction(ItemText(BuiltInText(command), command));
      action->setData(static_cast<uint>(command));
      connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
      actions_[command] = action;
    }
  }
  // The controls of the template move down below the menu bar, and the window grows by it.
  const int bar_height = menu_bar_->sizeHint().height();
  menu_bar_->setGeometry(0, 0, width(), bar_height);
  for (const auto& [control, line] : AllControls()) {
    control->move(control->x(), control->y() + bar_height);
  }
  resize(width(), height() + bar_height);
}

QAction* CVaultQuillDlg::MenuAction(std::uint32_t command) const {
  const auto found = actions_.find(command);
  return found == actions_.end() ? nullptr : found->second;
}

void CVaultQuillDlg::TranslateMenu() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  const CKLanguages& languages = core->m_Languages;
  dialogs::ApplyTextsAndTitle(languages, this, kMainTexts);
  for (std::size_t index = 0; index < std::size(menus::kMenuBar); ++index) {
    const menus::KMenuBarMenu& layout = menus::kMenuBar[index];
    std::vector<std::u16string> texts;
    languages.GetGroupTexts(layout.title.group, texts);
    if (!texts.empty() && texts.front() != u"%") {
      menus_[index]->setTitle(QString::fromStdU16String(texts.front()));
    }
    for (std::size_t place = 0; place < layout.items.size(); ++place) {
      const std::uint32_t command = layout.items[place].command;
      if (command == 0 || place + 1 >= texts.size() || texts[place + 1] == u"%") {
        continue;
      }
      if (QAction* action = MenuAction(command)) {
        action->setText(ItemText(QString::fromStdU16String(texts[place + 1]), command));
      }
    }
  }
  menu_bar_->update();
}

bool CVaultQuillDlg::TranslateAccelerator(const QKeyEvent& key) {
  const KAccelerator* accelerator = FindAccelerator(key.modifiers(), key.key());
  if (accelerator == nullptr) {
    return false;
  }
  OnCommand(accelerator->command);
  return true;
}

bool CVaultQuillDlg::IsAcceleratorKey(const QKeyEvent& key) {
  return FindAccelerator(key.modifiers(), key.key()) != nullptr;
}

void CVaultQuillDlg::OnCommand(std::uint32_t command) {
  switch (command) {
    case menus::kCmdNewNote:
      OnNewEntry(ENTRY_NOTE);
      break;
    case menus::kCmdNewFolder:
      OnNewEntry(ENTRY_FOLDER);
      break;
    case menus::kCmdEditEntry:
      OnEditEntry();
      break;
    case menus::kCmdDeleteEntry:
      OnDeleteEntry();
      break;
    case menus::kCmdLogOut:
      m_dwCloseMode = kCloseToLogIn;
      OnCancel();
      break;
    case menus::kCmdExit:
      m_dwCloseMode = kCloseQuit;
      OnCancel();
      break;
    case menus::kCmdGenerator:
      OnGenerator();
      break;
    case menus::kCmdSettings:
      OnSettings();
      break;
    case menus::kCmdPersonalData:
      OnPersonalData();
      break;
    case menus::kCmdClearClipboard:
      OnClearClipboard();
      break;
    case menus::kCmdOpenDataFolder:
      OnOpenDataFolder();
      break;
    case menus::kCmdBackUp:
      OnBackUp();
      break;
    case menus::kCmdRestore:
      OnRestore();
      break;
    case menus::kCmdHelp:
      ShowHelp();
      break;
    case menus::kCmdAbout:
      OnAbout();
      break;
    case menus::kCmdVisitWebsite:
      OnVisitWebsite();
      break;
    default:
      break;
  }
}
