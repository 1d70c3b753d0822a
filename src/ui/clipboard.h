#pragma once

#include <QString>

// The program's only writers of the clipboard. Copied text carries the hint that it is secret,
// so that clipboard managers of the desktop do not keep it in their history.
namespace clipboard {

// Empties the clipboard first when asked to; an empty text then leaves it empty and gives
// false. True when the text was put on the clipboard.
bool PutClipboardText(const QString& text, bool empty_first = true);
// Empties the clipboard; true when it could be emptied.
bool ClearClipboard();
// Whether the clipboard offers text now.
bool ClipboardHasText();

}  // namespace clipboard
