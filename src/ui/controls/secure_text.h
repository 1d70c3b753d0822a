#pragma once

class QLineEdit;
class QPlainTextEdit;
class QString;

// Wiping of texts that held a password or user data.
namespace secure {

// Overwrites the string's characters where they are stored, then empties it. A string whose
// storage is shared with another (or is static) is only emptied: writing to it would change
// the other holder.
void WipeQString(QString& text);

// Empties an edit so that the storage of the text it held is overwritten: the edit gives its
// text up to us first, so that the last reference to it is ours.
void WipeLineEdit(QLineEdit* edit);
void WipeMemoEdit(QPlainTextEdit* edit);

}  // namespace secure
