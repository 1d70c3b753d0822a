#pragma once

#include <cstdint>
#include <span>

#include "languages/text_ids.h"

// The menus whose items the language names by position rather than by command.
namespace menus {

// One place of the main window's menu bar: the text's address and the command it gives
// (0 for a separator, whose language text is "%").
struct KMenuBarItem {
  TextId text;
  std::uint32_t command;
};

// Command ids of the main window.
enum MainCommand : std::uint32_t {
  kCmdNewNote = 32768,
  kCmdNewFolder = 32769,
  kCmdDeleteEntry = 32770,
  kCmdEditEntry = 32771,
  kCmdExit = 32772,
  kCmdLogOut = 32773,
  kCmdAbout = 32774,
  kCmdHelp = 32776,
  kCmdVisitWebsite = 32777,
  kCmdBackUp = 32778,
  kCmdClearClipboard = 32779,
  kCmdPersonalData = 32780,
  kCmdOpenDataFolder = 32782,
  kCmdGenerator = 32783,
  kCmdRestore = 32784,
  kCmdSettings = 32785,
};

// Each menu's first text (entry 0) is its title; the items follow in this order, and
// GetGroupTexts of the menu's group gives the texts in the same order.
inline constexpr KMenuBarItem kFileMenu[] = {
    {texts::kFileNewNote, kCmdNewNote},
    {texts::kFileNewFolder, kCmdNewFolder},
    {texts::kFileEditEntry, kCmdEditEntry},
    {texts::kFileDeleteEntry, kCmdDeleteEntry},
    {texts::kFileSeparator1, 0},
    {texts::kFileLogOut, kCmdLogOut},
    {texts::kFileExit, kCmdExit},
};
inline constexpr KMenuBarItem kToolsMenu[] = {
    {texts::kToolsGenerator, kCmdGenerator},
    {texts::kToolsSettings, kCmdSettings},
    {texts::kToolsPersonalData, kCmdPersonalData},
    {texts::kToolsSeparator1, 0},
    {texts::kToolsClearClipboard, kCmdClearClipboard},
    {texts::kToolsOpenDataFolder, kCmdOpenDataFolder},
    {texts::kToolsSeparator2, 0},
    {texts::kToolsBackUp, kCmdBackUp},
    {texts::kToolsRestore, kCmdRestore},
};
inline constexpr KMenuBarItem kHelpMenu[] = {
    {texts::kHelpHelp, kCmdHelp},
    {texts::kHelpWebsite, kCmdVisitWebsite},
    {texts::kHelpSeparator1, 0},
    {texts::kHelpAbout, kCmdAbout},
};

struct KMenuBarMenu {
  TextId title;
  std::span<const KMenuBarItem> items;
};
inline constexpr KMenuBarMenu kMenuBar[] = {
    {texts::kFileMenu, kFileMenu},
    {texts::kToolsMenu, kToolsMenu},
    {texts::kHelpMenu, kHelpMenu},
};

// Popup menus built with BuildMenu: their commands are the entry numbers.
inline constexpr std::uint8_t kTrayMenuGroup = 240;
enum TrayCommand : std::uint32_t { kTrayAbout = 1, kTrayShowHide = 3, kTrayExit = 5 };

inline constexpr std::uint8_t kEntryMenuGroup = 250;
inline constexpr std::uint8_t kAttachmentMenuGroup = 251;
inline constexpr std::uint8_t kKind1NoteMenuGroup = 252;
enum EntryCommand : std::uint32_t {
  kEntryCopyLogin = 1,
  kEntryCopyPassword = 2,
  kEntryCopyEmail = 3,
  kEntryCopyOrOpenUrl = 4,
  kEntryEdit = 6,
  kEntryMove = 7,
  kEntryDelete = 9,
};
enum AttachmentCommand : std::uint32_t {
  kAttachmentAdd = 1,
  kAttachmentSaveAs = 2,
  kAttachmentDelete = 4,
};

}  // namespace menus
