#pragma once

#include <cstdint>
#include <span>

#include "languages/text_table.h"
#include "platform/messages.h"

// Every interface text the program asks a language file for, by (group, entry), with a name
// for the code and the fields the program fills in ("s" a string, "d" a number, in order).
// Group 0 holds messages (OK box), group 1 questions (Yes/No box), group 2 the common
// buttons; entry 255 of a dialog's group is its title. Every language file must hold all of
// them; the language tests check that the shipped files do.
//
// TEXT(name, group, entry, fields) is a text; SEPARATOR(name, group, entry) a menu item that
// must read exactly "%" (the menus below keep their separators at fixed places).
// clang-format off
#define VQ_LANGUAGE_TEXTS(TEXT, SEPARATOR)                                  \
  /* Messages */                                                            \
  TEXT(kMsgLanguageChanged, 0, 0, "")                                       \
  TEXT(kMsgAboutMenuItem, 0, 1, "")                                         \
  TEXT(kMsgNameNeeded, 0, 3, "")                                            \
  TEXT(kMsgNameInUse, 0, 4, "")                                             \
  TEXT(kMsgSelectEntryFirst, 0, 5, "")                                      \
  TEXT(kMsgUserExists, 0, 8, "s")                                           \
  TEXT(kMsgCurrentPasswordWrong, 0, 9, "")                                  \
  TEXT(kMsgUserNameNeeded, 0, 10, "")                                       \
  TEXT(kMsgPasswordNeeded, 0, 11, "")                                       \
  TEXT(kMsgPasswordsDiffer, 0, 12, "")                                      \
  TEXT(kMsgFileTooLarge, 0, 13, "")                                         \
  TEXT(kMsgFileUnreadable, 0, 14, "s")                                      \
  TEXT(kMsgClipboardHasText, 0, 15, "")                                     \
  TEXT(kMsgClipboardEmpty, 0, 16, "")                                       \
  TEXT(kMsgFolderUnusable, 0, 17, "")                                       \
  TEXT(kMsgLanguageNotActivated, 0, 19, "")                                 \
  TEXT(kMsgCannotMoveThere, 0, 20, "")                                      \
  TEXT(kMsgNameExistsAtDestination, 0, 21, "")                              \
  TEXT(kMsgMoveFailed, 0, 22, "")                                           \
  TEXT(kMsgUserFileNewer, 0, 23, "s")                                       \
  /* Both a damaged user file at log-in (user name) and a failed save (file path). */ \
  TEXT(kMsgUserFileDamagedOrUnwritten, 0, 24, "s")                          \
  TEXT(kMsgDataFolderNotCreated, 0, 25, "s")                                \
  TEXT(kMsgUserFileUnreadable, 0, 26, "s")                                  \
  TEXT(kMsgFileSaved, 0, 28, "s")                                           \
  TEXT(kMsgNoUsersInFolder, 0, 29, "")                                      \
  TEXT(kKindFolder, 0, 32, "")                                              \
  TEXT(kKindNote, 0, 33, "")                                                \
  TEXT(kKindAttachment, 0, 34, "")                                          \
  TEXT(kMsgUserFileFolderNote, 0, 35, "s")                                  \
  TEXT(kMsgFileError, 0, 37, "ss")                                          \
  TEXT(kMsgDownloadStarts, 0, 41, "d")                                      \
  /* Questions */                                                           \
  TEXT(kAskClose, 1, 0, "")                                                 \
  TEXT(kAskDelete, 1, 1, "ss")                                              \
  TEXT(kAskRetrySave, 1, 2, "")                                             \
  TEXT(kAskOpenDownloadFolder, 1, 6, "s")                                   \
  /* Common buttons */                                                      \
  TEXT(kButtonOk, 2, 0, "")                                                 \
  TEXT(kButtonCancel, 2, 1, "")                                             \
  TEXT(kButtonAddFile, 2, 4, "")                                            \
  TEXT(kButtonDelete, 2, 5, "")                                             \
  TEXT(kButtonShowMemo, 2, 9, "")                                           \
  TEXT(kButtonNewUser, 2, 11, "")                                           \
  TEXT(kButtonSaveAs, 2, 12, "")                                            \
  TEXT(kButtonGenerate, 2, 13, "")                                          \
  /* Main window */                                                         \
  TEXT(kMainSearchCaption, 3, 0, "")                                        \
  TEXT(kMainPathCaption, 3, 1, "")                                          \
  TEXT(kMainTitle, 3, 255, "")                                              \
  /* Log-in dialog (the user editor shares 5.1 and 5.2, the note editor 5.2) */ \
  TEXT(kLoginDescription, 5, 0, "")                                         \
  TEXT(kLoginUserCaption, 5, 1, "")                                         \
  TEXT(kLoginPasswordCaption, 5, 2, "")                                     \
  TEXT(kLoginMemoCaption, 5, 3, "")                                         \
  TEXT(kLoginTitle, 5, 255, "")                                             \
  /* Note editor (6.4 also captions the folder editor's description) */     \
  TEXT(kNoteTitleCaption, 6, 0, "")                                         \
  TEXT(kNoteLoginCaption, 6, 1, "")                                         \
  TEXT(kNoteUrlCaption, 6, 2, "")                                           \
  TEXT(kNoteAttachmentsCaption, 6, 3, "")                                   \
  TEXT(kNoteTextCaption, 6, 4, "")                                          \
  TEXT(kNoteEmailCaption, 6, 5, "")                                         \
  TEXT(kNoteKind1LoginCaption, 6, 16, "")                                   \
  TEXT(kNoteKind1PasswordCaption, 6, 17, "")                                \
  TEXT(kNoteKind1EmailCaption, 6, 18, "")                                   \
  TEXT(kNoteKind1UrlCaption, 6, 19, "")                                     \
  TEXT(kNoteCreatedCaption, 6, 32, "")                                      \
  TEXT(kNoteModifiedCaption, 6, 33, "")                                     \
  TEXT(kNoteTitle, 6, 255, "")                                              \
  /* Folder editor */                                                       \
  TEXT(kFolderNameCaption, 7, 0, "")                                        \
  TEXT(kFolderTitle, 7, 255, "")                                            \
  /* User editor */                                                         \
  TEXT(kUserCurrentPasswordCaption, 8, 1, "")                               \
  TEXT(kUserConfirmCaption, 8, 2, "")                                       \
  TEXT(kUserShowPasswords, 8, 3, "")                                        \
  TEXT(kUserMemoCaption, 8, 4, "")                                          \
  TEXT(kUserRestoreButton, 8, 5, "")                                        \
  TEXT(kUserNewPasswordCaption, 8, 6, "")                                   \
  TEXT(kUserEditNote, 8, 7, "")                                             \
  TEXT(kUserEditDescription, 8, 8, "")                                      \
  TEXT(kUserNewDescription, 8, 9, "")                                       \
  TEXT(kUserEditTitle, 8, 254, "")                                          \
  TEXT(kUserNewTitle, 8, 255, "")                                           \
  /* Settings dialog */                                                     \
  TEXT(kSetStartUp, 9, 0, "")                                               \
  TEXT(kSetSystemTray, 9, 1, "")                                            \
  TEXT(kSetRunMinimised, 9, 2, "")                                          \
  TEXT(kSetAskForExit, 9, 3, "")                                            \
  TEXT(kSetDefaultLoginCaption, 9, 4, "")                                   \
  TEXT(kSetCleanClipboard, 9, 5, "")                                        \
  TEXT(kSetLogOutOnMinimise, 9, 6, "")                                      \
  TEXT(kSetLanguageCaption, 9, 7, "")                                       \
  TEXT(kSetProgramGroup, 9, 13, "")                                         \
  TEXT(kSetSecurityGroup, 9, 14, "")                                        \
  TEXT(kSetDefaultEmailCaption, 9, 15, "")                                  \
  TEXT(kSetAutoFill, 9, 16, "")                                             \
  TEXT(kSetHotKey, 9, 17, "")                                               \
  TEXT(kSetDataFolderCaption, 9, 18, "")                                    \
  TEXT(kSetHidePasswords, 9, 19, "")                                        \
  TEXT(kSetCheckForUpdates, 9, 20, "")                                      \
  TEXT(kSetSingleClick, 9, 21, "")                                          \
  TEXT(kSetNote, 9, 22, "")                                                 \
  TEXT(kSetTitle, 9, 255, "")                                               \
  /* Password generator */                                                  \
  TEXT(kGenHeading, 10, 0, "")                                              \
  TEXT(kGenCustomToggle, 10, 1, "")                                         \
  TEXT(kGenLengthCaption, 10, 2, "")                                        \
  TEXT(kGenLengthUnit, 10, 3, "")                                           \
  TEXT(kGenPickHint, 10, 4, "")                                             \
  TEXT(kGenTitle, 10, 255, "")                                              \
  /* Move-to dialog */                                                      \
  TEXT(kMoveEntryCaption, 12, 0, "")                                        \
  TEXT(kMoveDestinationCaption, 12, 1, "")                                  \
  TEXT(kMoveTitle, 12, 255, "")                                             \
  /* Updater dialog (63.255 is both the check box and the title) */         \
  TEXT(kUpdHeading, 63, 0, "")                                              \
  TEXT(kUpdSaveCaption, 63, 1, "")                                          \
  TEXT(kUpdDownloadButton, 63, 2, "")                                       \
  TEXT(kUpdTitle, 63, 255, "")                                              \
  /* Column titles of the entry lists */                                    \
  TEXT(kColumnName, 128, 0, "")                                             \
  TEXT(kColumnDescription, 128, 1, "")                                      \
  /* Tooltips of the main window (163.5 is every dialog's help button) */   \
  TEXT(kTipNewNote, 163, 0, "")                                             \
  TEXT(kTipNewFolder, 163, 1, "")                                           \
  TEXT(kTipEditEntry, 163, 2, "")                                           \
  TEXT(kTipDeleteEntry, 163, 3, "")                                         \
  TEXT(kTipSettings, 163, 4, "")                                            \
  TEXT(kTipHelp, 163, 5, "")                                                \
  TEXT(kTipAbout, 163, 6, "")                                               \
  TEXT(kTipSearch, 163, 7, "")                                              \
  TEXT(kTipPath, 163, 8, "")                                                \
  TEXT(kTipUp, 163, 9, "")                                                  \
  TEXT(kTipRoot, 163, 10, "")                                               \
  TEXT(kTipEntryList, 163, 11, "")                                          \
  TEXT(kTipClipboardStatus, 163, 12, "")                                    \
  /* Tooltips of the note editor (166.9 also serves the folder editor) */   \
  TEXT(kTipNoteTitle, 166, 0, "")                                           \
  TEXT(kTipNoteIcon, 166, 1, "")                                            \
  TEXT(kTipNoteLogin, 166, 2, "")                                           \
  TEXT(kTipNotePassword, 166, 3, "")                                        \
  TEXT(kTipNoteUrl, 166, 4, "")                                             \
  TEXT(kTipNoteAttachments, 166, 5, "")                                     \
  TEXT(kTipNoteAddFile, 166, 6, "")                                         \
  TEXT(kTipNoteDeleteFile, 166, 7, "")                                      \
  TEXT(kTipNoteSaveFile, 166, 8, "")                                        \
  TEXT(kTipNoteText, 166, 9, "")                                            \
  TEXT(kTipNoteCopy, 166, 10, "")                                           \
  TEXT(kTipNoteGenerate, 166, 11, "")                                       \
  TEXT(kTipNoteOpenUrl, 166, 12, "")                                        \
  /* Tooltips of the folder editor */                                       \
  TEXT(kTipFolderName, 167, 0, "")                                          \
  TEXT(kTipFolderIcon, 167, 1, "")                                          \
  /* Tooltips of the settings dialog */                                     \
  TEXT(kTipSetStartUp, 169, 0, "")                                          \
  TEXT(kTipSetSystemTray, 169, 1, "")                                       \
  TEXT(kTipSetRunMinimised, 169, 2, "")                                     \
  TEXT(kTipSetAskForExit, 169, 3, "")                                       \
  TEXT(kTipSetLanguage, 169, 5, "")                                         \
  TEXT(kTipSetCleanClipboard, 169, 6, "")                                   \
  TEXT(kTipSetLogOutOnMinimise, 169, 7, "")                                 \
  /* Tray menu: the commands are the entry numbers */                       \
  TEXT(kTrayAbout, 240, 1, "")                                              \
  SEPARATOR(kTraySeparator1, 240, 2)                                        \
  TEXT(kTrayShowHide, 240, 3, "")                                           \
  SEPARATOR(kTraySeparator2, 240, 4)                                        \
  TEXT(kTrayExit, 240, 5, "")                                               \
  /* Menu bar: entry 0 is the menu's title, the items follow in order */    \
  TEXT(kFileMenu, 241, 0, "")                                               \
  TEXT(kFileNewNote, 241, 1, "")                                            \
  TEXT(kFileNewFolder, 241, 2, "")                                          \
  TEXT(kFileEditEntry, 241, 3, "")                                          \
  TEXT(kFileDeleteEntry, 241, 4, "")                                        \
  SEPARATOR(kFileSeparator1, 241, 5)                                        \
  TEXT(kFileLogOut, 241, 6, "")                                             \
  TEXT(kFileExit, 241, 7, "")                                               \
  TEXT(kToolsMenu, 242, 0, "")                                              \
  TEXT(kToolsGenerator, 242, 1, "")                                         \
  TEXT(kToolsSettings, 242, 2, "")                                          \
  TEXT(kToolsPersonalData, 242, 3, "")                                      \
  SEPARATOR(kToolsSeparator1, 242, 4)                                       \
  TEXT(kToolsClearClipboard, 242, 5, "")                                    \
  TEXT(kToolsOpenDataFolder, 242, 6, "")                                    \
  SEPARATOR(kToolsSeparator2, 242, 7)                                       \
  TEXT(kToolsBackUp, 242, 8, "")                                            \
  TEXT(kToolsRestore, 242, 9, "")                                           \
  TEXT(kHelpMenu, 243, 0, "")                                               \
  TEXT(kHelpHelp, 243, 1, "")                                               \
  TEXT(kHelpWebsite, 243, 2, "")                                            \
  SEPARATOR(kHelpSeparator1, 243, 3)                                        \
  TEXT(kHelpAbout, 243, 4, "")                                              \
  /* Context menu of the entry list; the commands are the entry numbers */  \
  TEXT(kEntryCopyLogin, 250, 1, "")                                         \
  TEXT(kEntryCopyPassword, 250, 2, "")                                      \
  TEXT(kEntryCopyEmail, 250, 3, "")                                         \
  TEXT(kEntryOpenUrl, 250, 4, "")                                           \
  SEPARATOR(kEntrySeparator1, 250, 5)                                       \
  TEXT(kEntryEdit, 250, 6, "")                                              \
  TEXT(kEntryMove, 250, 7, "")                                              \
  SEPARATOR(kEntrySeparator2, 250, 8)                                       \
  TEXT(kEntryDelete, 250, 9, "")                                            \
  /* Context menu of the attachment list */                                 \
  TEXT(kAttachmentAdd, 251, 1, "")                                          \
  TEXT(kAttachmentSaveAs, 251, 2, "")                                       \
  SEPARATOR(kAttachmentSeparator1, 251, 3)                                  \
  TEXT(kAttachmentDelete, 251, 4, "")                                       \
  /* Context menu of a note of icon kind 1 */                               \
  TEXT(kKind1CopyLogin, 252, 1, "")                                         \
  TEXT(kKind1CopyPassword, 252, 2, "")                                      \
  TEXT(kKind1CopyEmail, 252, 3, "")                                         \
  TEXT(kKind1CopyUrl, 252, 4, "")                                           \
  SEPARATOR(kKind1Separator1, 252, 5)                                       \
  TEXT(kKind1Edit, 252, 6, "")                                              \
  TEXT(kKind1Move, 252, 7, "")                                              \
  SEPARATOR(kKind1Separator2, 252, 8)                                       \
  TEXT(kKind1Delete, 252, 9, "")
// clang-format on

// The address of one text.
struct TextId {
  std::uint8_t group;
  std::uint8_t entry;
  constexpr std::uint32_t key() const { return languages::TextKey(group, entry); }
  friend constexpr bool operator==(TextId, TextId) = default;
};

namespace texts {

#define VQ_TEXT_CONSTANT(name, group, entry, fields) inline constexpr TextId name{group, entry};
#define VQ_SEPARATOR_CONSTANT(name, group, entry) inline constexpr TextId name{group, entry};
VQ_LANGUAGE_TEXTS(VQ_TEXT_CONSTANT, VQ_SEPARATOR_CONSTANT)
#undef VQ_TEXT_CONSTANT
#undef VQ_SEPARATOR_CONSTANT

// One row of the list above.
struct KTextInfo {
  TextId id;
  const char* name;
  const char* fields;  // the letters of the fields the program fills, in order
  bool separator;      // a menu separator: the text must be exactly "%"
};

// Every text of the list, in the order above.
std::span<const KTextInfo> AllTexts();

// The icon of the message box that shows a message of group 0.
platform::MessageIcon MessageIconFor(std::uint8_t entry);

}  // namespace texts
