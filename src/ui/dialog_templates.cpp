#include "ui/dialog_templates.h"

#include <QDir>
#include <QFile>
#include <map>

namespace dialogs {
namespace {

const QString kFolder = QStringLiteral(":/dialogs");

struct KLoaded {
  std::map<int, KDialogTemplate> templates;
  std::vector<KTemplateFault> faults;
};

const KLoaded& Loaded() {
  static const KLoaded loaded = [] {
    KLoaded result;
    const QDir folder(kFolder);
    for (const QString& name : folder.entryList({QStringLiteral("*.dialog")}, QDir::Files)) {
      QFile file(folder.filePath(name));
      if (!file.open(QIODevice::ReadOnly)) {
        result.faults.push_back({name, {0, "cannot be read"}});
        continue;
      }
      const QByteArray text = file.readAll();
      KTemplateError error;
      auto parsed = ParseDialogTemplate(std::string_view(text.constData(), text.size()), &error);
      if (!parsed) {
        result.faults.push_back({name, error});
        continue;
      }
      const int id = parsed->id;
      if (!result.templates.emplace(id, std::move(*parsed)).second) {
        result.faults.push_back({name, {0, "a second template for id " + std::to_string(id)}});
      }
    }
    return result;
  }();
  return loaded;
}

}  // namespace

const KDialogTemplate* FindTemplate(int dialog_id) {
  const auto& templates = Loaded().templates;
  const auto found = templates.find(dialog_id);
  return found == templates.end() ? nullptr : &found->second;
}

std::vector<KTemplateFault> CheckAllTemplates() {
  return Loaded().faults;
}

std::vector<int> AllTemplateIds() {
  std::vector<int> ids;
  for (const auto& [id, dialog] : Loaded().templates) {
    ids.push_back(id);
  }
  return ids;
}

}  // namespace dialogs
