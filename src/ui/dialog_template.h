#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A dialog's template: its size and its controls with their places, all in dialog units, as
// the files in resources/dialogs describe them. One file per dialog:
//
//   # comment
//   dialog ID WIDTH HEIGHT [style ...]
//   KIND ID X Y WIDTH HEIGHT ANCHOR [option ...]
//
// Styles: caption sysmenu minimize maximize resizable visible.
// Kinds: see KControlKind. An id of -1 is a control that the code never addresses.
// Anchors (what Layout does to the control when the dialog's size changes): stays right down
// move widen grow down-widen.
// Options: disabled hidden sorted default readonly password multiline number vscroll noheader
// single notify flat push, image=ICON, limit=CHARACTERS, text="template text" (a backslash
// inside the quotes takes the next character as it is).

enum class KControlKind {
  Label,        // static text
  Edit,         // one-line edit (password, number, readonly by option)
  Memo,         // several-line edit
  Button,       // push button
  Check,        // check box
  AdvCheck,     // check box that enables the controls that depend on it (CKAdvButton)
  Toggle,       // push button that stays pressed
  ImageButton,  // owner-drawn button with an icon (CButtonST)
  Combo,        // drop-down list
  ComboEx,      // drop-down list of entries with icons (CKComboBoxEx)
  List,         // report-style list of entries (CKListCtrl)
  Line,         // etched horizontal line
  Group,        // group box
  Icon,         // picture of an icon
  HotKey,       // hot-key control
  RichEdit,     // read-only rich text (CKRichEditCtrl)
  Link,         // static text that opens a link (CHyperLink)
};

enum class KAnchor { Stays, Right, Down, Move, Widen, Grow, DownWiden };

struct KControlTemplate {
  KControlKind kind = KControlKind::Label;
  int id = -1;
  int x = 0, y = 0, width = 0, height = 0;
  KAnchor anchor = KAnchor::Stays;
  std::u16string text;
  int image = 0;  // icon resource id, 0 for none
  int limit = 0;  // most characters an edit takes, 0 for the control's own limit
  bool disabled = false;
  bool hidden = false;
  bool sorted = false;
  bool default_button = false;
  bool read_only = false;
  bool password = false;
  bool number = false;
  bool vscroll = false;
  bool no_header = false;
  bool single_selection = false;
  bool notify = false;
  bool flat = true;
  bool push = false;  // an image button drawn as a plain push button
};

struct KDialogTemplate {
  int id = 0;
  int width = 0, height = 0;
  bool caption = false;
  bool system_menu = false;
  bool minimize_box = false;
  bool maximize_box = false;
  bool resizable = false;
  bool visible = false;
  std::vector<KControlTemplate> controls;

  const KControlTemplate* Find(int control_id) const;
};

struct KTemplateError {
  int line = 0;
  std::string message;
};

// Reads a template file's text (UTF-8). Nothing, with the first fault in error, for a text that
// does not follow the format: an unknown word, a missing or malformed number, a place outside
// the dialog's range, a control id used twice.
std::optional<KDialogTemplate> ParseDialogTemplate(std::string_view text,
                                                   KTemplateError* error = nullptr);
