#include "ui/dialog_template.h"

#include <charconv>
#include <map>
#include <set>
#include <utility>

#include "platform/utf.h"

namespace {

// Dialog units far beyond any screen; a larger number is a typing error.
constexpr int kMaxUnits = 4096;
constexpr int kMaxId = 65535;

const std::map<std::string_view, KControlKind>& Kinds() {
  static const std::map<std::string_view, KControlKind> kinds = {
      {"label", KControlKind::Label},   {"edit", KControlKind::Edit},
      {"memo", KControlKind::Memo},     {"button", KControlKind::Button},
      {"check", KControlKind::Check},   {"advcheck", KControlKind::AdvCheck},
      {"toggle", KControlKind::Toggle}, {"imagebutton", KControlKind::ImageButton},
      {"combo", KControlKind::Combo},   {"comboex", KControlKind::ComboEx},
      {"list", KControlKind::List},     {"line", KControlKind::Line},
      {"group", KControlKind::Group},   {"icon", KControlKind::Icon},
      {"hotkey", KControlKind::HotKey}, {"richedit", KControlKind::RichEdit},
      {"link", KControlKind::Link},
  };
  return kinds;
}

const std::map<std::string_view, KAnchor>& Anchors() {
  static const std::map<std::string_view, KAnchor> anchors = {
      {"stays", KAnchor::Stays},
      {"right", KAnchor::Right},
      {"down", KAnchor::Down},
      {"move", KAnchor::Move},
      {"widen", KAnchor::Widen},
      {"grow", KAnchor::Grow},
      {"down-widen", KAnchor::DownWiden},
  };
  return anchors;
}

class Failure {
 public:
  Failure(int line, std::string message) : line_(line), message_(std::move(message)) {}
  int line() const { return line_; }
  const std::string& message() const { return message_; }

 private:
  int line_;
  std::string message_;
};

// Splits a line into words; a word in double quotes may hold blanks, \" and \\.
std::vector<std::string> SplitWords(std::string_view line, int line_number) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    std::string word;
    bool in_quotes = false;
    while (i < line.size()) {
      const char c = line[i];
      if (!in_quotes && (c == ' ' || c == '\t' || c == '\r')) {
        break;
      }
      ++i;
      if (c == '"') {
        in_quotes = !in_quotes;
        continue;
      }
      if (in_quotes && c == '\\') {
        if (i >= line.size()) {
          throw Failure(line_number, "a line ends in an escape");
        }
        word += line[i++];
        continue;
      }
      word += c;
    }
    if (in_quotes) {
      throw Failure(line_number, "a quoted text is not closed");
    }
    words.push_back(std::move(word));
  }
  return words;
}

int Number(const std::string& word, int low, int high, int line_number, const char* what) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end) {
    throw Failure(line_number, std::string(what) + " is not a number: " + word);
  }
  if (value < low || value > high) {
    throw Failure(line_number, std::string(what) + " is out of range: " + word);
  }
  return value;
}

KDialogTemplate ParseDialogLine(const std::vector<std::string>& words, int line_number) {
  if (words.size() < 4) {
    throw Failure(line_number, "a dialog line needs an id, a width and a height");
  }
  KDialogTemplate dialog;
  dialog.id = Number(words[1], 1, kMaxId, line_number, "the dialog id");
  dialog.width = Number(words[2], 1, kMaxUnits, line_number, "the width");
  dialog.height = Number(words[3], 1, kMaxUnits, line_number, "the height");
  for (std::size_t i = 4; i < words.size(); ++i) {
    const std::string& style = words[i];
    if (style == "caption") {
      dialog.caption = true;
    } else if (style == "sysmenu") {
      dialog.system_menu = true;
    } else if (style == "minimize") {
      dialog.minimize_box = true;
    } else if (style == "maximize") {
      dialog.maximize_box = true;
    } else if (style == "resizable") {
      dialog.resizable = true;
    } else if (style == "visible") {
      dialog.visible = true;
    } else {
      throw Failure(line_number, "unknown dialog style: " + style);
    }
  }
  return dialog;
}

void ParseOption(const std::string& option, KControlTemplate& control, int line_number) {
  static const std::map<std::string_view, bool KControlTemplate::*> flags = {
      {"disabled", &KControlTemplate::disabled},  {"hidden", &KControlTemplate::hidden},
      {"sorted", &KControlTemplate::sorted},      {"default", &KControlTemplate::default_button},
      {"readonly", &KControlTemplate::read_only}, {"password", &KControlTemplate::password},
      {"number", &KControlTemplate::number},      {"vscroll", &KControlTemplate::vscroll},
      {"noheader", &KControlTemplate::no_header}, {"single", &KControlTemplate::single_selection},
      {"notify", &KControlTemplate::notify},      {"push", &KControlTemplate::push},
  };
  if (const auto flag = flags.find(option); flag != flags.end()) {
    control.*(flag->second) = true;
    return;
  }
  if (option == "flat=0") {
    control.flat = false;
    return;
  }
  const auto equals = option.find('=');
  if (equals == std::string::npos) {
    throw Failure(line_number, "unknown option: " + option);
  }
  const std::string name = option.substr(0, equals);
  const std::string value = option.substr(equals + 1);
  if (name == "image") {
    control.image = Number(value, 1, kMaxId, line_number, "the image id");
  } else if (name == "limit") {
    control.limit = Number(value, 1, 1 << 20, line_number, "the limit");
  } else if (name == "text") {
    control.text = platform::FromUtf8(value);
  } else {
    throw Failure(line_number, "unknown option: " + name);
  }
}

KControlTemplate ParseControlLine(const std::vector<std::string>& words, int line_number) {
  const auto kind = Kinds().find(words[0]);
  if (kind == Kinds().end()) {
    throw Failure(line_number, "unknown control kind: " + words[0]);
  }
  if (words.size() < 7) {
    throw Failure(line_number, "a control line needs an id, a place and an anchor");
  }
  KControlTemplate control;
  control.kind = kind->second;
  control.id = Number(words[1], -1, kMaxId, line_number, "the control id");
  control.x = Number(words[2], 0, kMaxUnits, line_number, "x");
  control.y = Number(words[3], 0, kMaxUnits, line_number, "y");
  control.width = Number(words[4], 0, kMaxUnits, line_number, "the width");
  control.height = Number(words[5], 0, kMaxUnits, line_number, "the height");
  const auto anchor = Anchors().find(words[6]);
  if (anchor == Anchors().end()) {
    throw Failure(line_number, "unknown anchor: " + words[6]);
  }
  control.anchor = anchor->second;
  for (std::size_t i = 7; i < words.size(); ++i) {
    ParseOption(words[i], control, line_number);
  }
  return control;
}

}  // namespace

const KControlTemplate* KDialogTemplate::Find(int control_id) const {
  for (const KControlTemplate& control : controls) {
    if (control.id == control_id) {
      return &control;
    }
  }
  return nullptr;
}

std::optional<KDialogTemplate> ParseDialogTemplate(std::string_view text, KTemplateError* error) {
  try {
    std::optional<KDialogTemplate> dialog;
    std::set<int> ids;
    int line_number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) {
        end = text.size();
      }
      const std::string_view line = text.substr(start, end - start);
      start = end + 1;
      ++line_number;
      if (line.find_first_not_of(" \t\r") == std::string_view::npos ||
          line[line.find_first_not_of(" \t\r")] == '#') {
        continue;
      }
      const std::vector<std::string> words = SplitWords(line, line_number);
      if (words[0] == "dialog") {
        if (dialog) {
          throw Failure(line_number, "a second dialog line");
        }
        dialog = ParseDialogLine(words, line_number);
        continue;
      }
      if (!dialog) {
        throw Failure(line_number, "controls before the dialog line");
      }
      KControlTemplate control = ParseControlLine(words, line_number);
      if (control.id != -1 && !ids.insert(control.id).second) {
        throw Failure(line_number, "control id used twice: " + words[1]);
      }
      dialog->controls.push_back(std::move(control));
    }
    if (!dialog) {
      throw Failure(line_number, "no dialog line");
    }
    return dialog;
  } catch (const Failure& failure) {
    if (error != nullptr) {
      error->line = failure.line();
      error->message = failure.message();
    }
    return std::nullopt;
  }
}
