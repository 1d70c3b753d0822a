#include "ui/dialog_builder.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "ui/controls/adv_button.h"
#include "ui/controls/button_st.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/combo_box_ex.h"
#include "ui/controls/control_ids.h"
#include "ui/controls/hot_key_ctrl.h"
#include "ui/controls/hyperlink.h"
#include "ui/controls/icons.h"
#include "ui/controls/list_ctrl.h"
#include "ui/controls/rich_edit.h"

namespace dialogs {
namespace {

QString TemplateText(const KControlTemplate& line) {
  return QString::fromStdU16String(line.text);
}

QWidget* MakeLabel(const KControlTemplate& line) {
  auto* label = new QLabel;
  // Language texts are outside input: never read as markup.
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setText(TemplateText(line));
  return label;
}

QWidget* MakeEdit(const KControlTemplate& line) {
  auto* edit = new QLineEdit;
  if (line.password) {
    edit->setEchoMode(QLineEdit::Password);
  }
  edit->setReadOnly(line.read_only);
  if (line.limit > 0) {
    edit->setMaxLength(line.limit);
  }
  if (line.number) {
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  }
  edit->setText(TemplateText(line));
  return edit;
}

QWidget* MakeMemo(const KControlTemplate& line) {
  auto* memo = new CKMemoEdit;
  memo->setReadOnly(line.read_only);
  memo->SetLimit(line.limit);
  memo->setVerticalScrollBarPolicy(line.vscroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
  memo->setPlainText(TemplateText(line));
  return memo;
}

QWidget* MakeButton(const KControlTemplate& line) {
  auto* button = new QPushButton(TemplateText(line));
  button->setDefault(line.default_button);
  return button;
}

QWidget* MakeImageButton(const KControlTemplate& line) {
  auto* button = new CButtonST;
  button->setText(TemplateText(line));
  if (line.image != 0) {
    button->SetIcon(line.image);
  }
  button->SetFlat(line.flat && !line.push);
  button->setDefault(line.default_button);
  return button;
}

QWidget* MakeCombo(const KControlTemplate& line) {
  auto* combo = new CKComboBox;
  combo->SetSorted(line.sorted);
  return combo;
}

QWidget* MakeList(const KControlTemplate& line) {
  auto* list = new CKListCtrl;
  if (line.no_header) {
    list->horizontalHeader()->hide();
  }
  if (line.no_header && line.height <= 16) {
    // A one-row list that only shows its entry.
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  return list;
}

QWidget* MakeLine() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QWidget* MakeIcon(const KControlTemplate& line, const QRect& place) {
  auto* picture = new QLabel;
  const int size = std::max(1, std::min(place.width(), place.height()));
  if (line.image != 0) {
    picture->setPixmap(icons::Pixmap(line.image, size));
  }
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return picture;
}

QWidget* MakeControl(const KControlTemplate& line, const QRect& place) {
  switch (line.kind) {
    case KControlKind::Label:
      return MakeLabel(line);
    case KControlKind::Edit:
      return MakeEdit(line);
    case KControlKind::Memo:
      return MakeMemo(line);
    case KControlKind::Button:
      return MakeButton(line);
    case KControlKind::Check:
      return new QCheckBox(TemplateText(line));
    case KControlKind::AdvCheck: {
      auto* check = new CKAdvButton;
      check->setText(TemplateText(line));
      return check;
    }
    case KControlKind::Toggle: {
      auto* toggle = new CKAdvToggleButton;
      toggle->setText(TemplateText(line));
      return toggle;
    }
    case KControlKind::ImageButton:
      return MakeImageButton(line);
    case KControlKind::Combo:
      return MakeCombo(line);
    case KControlKind::ComboEx:
      return new CKComboBoxEx;
    case KControlKind::List:
      return MakeList(line);
    case KControlKind::Line:
      return MakeLine();
    case KControlKind::Group:
      return new QGroupBox(TemplateText(line));
    case KControlKind::Icon:
      return MakeIcon(line, place);
    case KControlKind::HotKey:
      return new CKHotKeyCtrl;
    case KControlKind::RichEdit: {
      auto* rich = new CKRichEditCtrl;
      rich->setVerticalScrollBarPolicy(line.vscroll ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAsNeeded);
      return rich;
    }
    case KControlKind::Link: {
      auto* link = new CHyperLink;
      link->SetLink(TemplateText(line), TemplateText(line));
      return link;
    }
  }
  return new QWidget;
}

}  // namespace

QRect ControlRect(const QWidget* control, const KControlTemplate& line, const KDialogUnits& units) {
  QRect place = units.ToPixels(line.x, line.y, line.width, line.height);
  if (line.kind == KControlKind::Combo || line.kind == KControlKind::ComboEx) {
    // The template's height is that of the open list; the closed box keeps its own.
    place.setHeight(control->sizeHint().height());
  } else if (line.kind == KControlKind::Line) {
    place.setHeight(2);
  }
  return place;
}

KBuiltControls BuildControls(QWidget* dialog, const KDialogTemplate& dialog_template,
                             const KDialogUnits& units) {
  KBuiltControls built;
  for (const KControlTemplate& line : dialog_template.controls) {
    const QRect place = units.ToPixels(line.x, line.y, line.width, line.height);
    QWidget* control = MakeControl(line, place);
    control->setParent(dialog);
    controls::SetControlId(control, line.id);
    control->setGeometry(ControlRect(control, line, units));
    control->setEnabled(!line.disabled);
    control->setVisible(!line.hidden);
    if (line.id != -1) {
      built.by_id[line.id] = control;
    }
    built.all.emplace_back(control, &line);
  }
  return built;
}

QSize DialogSize(const KDialogTemplate& dialog_template, const KDialogUnits& units) {
  return {units.ToPixelsX(dialog_template.width), units.ToPixelsY(dialog_template.height)};
}

}  // namespace dialogs
