#pragma once

#include <QString>
#include <vector>

#include "ui/dialog_template.h"

// The dialog templates built into the program (resources/dialogs/*.dialog), by dialog id.
namespace dialogs {

// The template of a dialog id; null when the program has none (or its file is faulty, which
// the tests of the shipped templates rule out).
const KDialogTemplate* FindTemplate(int dialog_id);

// Every template, for the tests: a list of (file name, parse error) for files that fail.
struct KTemplateFault {
  QString file;
  KTemplateError error;
};
std::vector<KTemplateFault> CheckAllTemplates();
std::vector<int> AllTemplateIds();

}  // namespace dialogs
