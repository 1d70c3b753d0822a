#pragma once

#include <QString>
#include <cstdint>

#include "languages/text_table.h"

class CKLanguages;
class QAction;
class QMenu;
class QWidget;

// The active language's texts on real windows: captions and titles by a dialog's text table,
// tooltips, and popup menus built from a language group.
namespace dialogs {

// For each pair of the table in order: the text of its key becomes the caption of the dialog's
// control with that id. Stops at the first missing text (the remaining controls keep theirs)
// and returns false; true at the end of the table.
bool ApplyTexts(const CKLanguages& languages, QWidget* dialog, TextTable table);
// ApplyTexts, then the title from entry 255 of the first pair's group; false when either
// fails.
bool ApplyTextsAndTitle(const CKLanguages& languages, QWidget* dialog, TextTable table);
// The tooltip of a control: the text of the table's first pair with that control id; empty
// when there is none.
QString GetTooltip(const CKLanguages& languages, TextTable table, int control_id);

// The caption of a control, whatever its kind (label, button, box, edit, group, link).
void SetControlText(QWidget* control, const QString& text);

// Appends the items of a language group to a popup menu: each action carries its command (the
// entry number) as its data; "%" gives a separator. Returns how many items were appended.
int BuildMenu(const CKLanguages& languages, std::uint8_t group, QMenu& menu);
// The command an action of such a menu carries; 0 for none.
std::uint32_t MenuCommand(const QAction* action);

}  // namespace dialogs
