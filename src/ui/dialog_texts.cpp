#include "ui/dialog_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "languages/languages.h"
#include "ui/controls/control_ids.h"
#include "ui/controls/hyperlink.h"

namespace dialogs {

void SetControlText(QWidget* control, const QString& text) {
  if (auto* link = qobject_cast<CHyperLink*>(control)) {
    link->SetLink(text, link->GetUrl());
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
    memo->setPlainText(text);
  } else if (control != nullptr) {
    control->setWindowTitle(text);
  }
}

bool ApplyTexts(const CKLanguages& languages, QWidget* dialog, TextTable table) {
  for (const KTextPair& pair : languages::UsedPairs(table)) {
    std::u16string text;
    if (!languages.GetTextByKey(pair.key, text)) {
      return false;
    }
    if (QWidget* control = controls::ControlById(dialog, static_cast<int>(pair.control))) {
      SetControlText(control, QString::fromStdU16String(text));
    }
  }
  return true;
}

bool ApplyTextsAndTitle(const CKLanguages& languages, QWidget* dialog, TextTable table) {
  if (!ApplyTexts(languages, dialog, table)) {
    return false;
  }
  const auto key = languages::TitleKey(table);
  std::u16string title;
  if (!key || !languages.GetTextByKey(*key, title)) {
    return false;
  }
  dialog->setWindowTitle(QString::fromStdU16String(title));
  return true;
}

QString GetTooltip(const CKLanguages& languages, TextTable table, int control_id) {
  std::u16string text;
  if (control_id < 0 ||
      !languages.GetTooltipText(table, static_cast<std::uint32_t>(control_id), text)) {
    return QString();
  }
  return QString::fromStdU16String(text);
}

int BuildMenu(const CKLanguages& languages, std::uint8_t group, QMenu& menu) {
  std::vector<KMenuItem> items;
  languages.BuildMenu(group, items);
  for (const KMenuItem& item : items) {
    if (item.separator) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromStdU16String(item.text));
    action->setData(static_cast<uint>(item.command));
  }
  return static_cast<int>(items.size());
}

std::uint32_t MenuCommand(const QAction* action) {
  return action != nullptr ? action->data().toUInt() : 0;
}

}  // namespace dialogs
