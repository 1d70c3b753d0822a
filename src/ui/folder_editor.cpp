#include "ui/folder_editor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "elements/wipe_string.h"
#include "languages/text_ids.h"
#include "ui/dialog_texts.h"
#include "ui/entry_editors_qt.h"
#include "ui/help.h"

namespace {

using Dlg = CKFolderDlg;

constexpr KTextPair kFolderTexts[] = {
    {texts::kFolderNameCaption.key(), Dlg::kNameCaption},
    {texts::kNoteTextCaption.key(), Dlg::kDescriptionCaption},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

constexpr KTextPair kFolderTips[] = {
    {texts::kTipHelp.key(), Dlg::kHelp},
    {texts::kTipFolderName.key(), Dlg::kNameCaption},
    {texts::kTipFolderName.key(), Dlg::kName},
    {texts::kTipFolderIcon.key(), Dlg::kIcon},
    {texts::kTipNoteText.key(), Dlg::kDescriptionCaption},
    {texts::kTipNoteText.key(), Dlg::kDescription},
    {0, 0},
};

}  // namespace

CKFolderDlg::CKFolderDlg(CKTLVARRAY& folder, QWidget* parent)
    : CKResizeDialog(kTemplateId, parent), folder_(folder) {
  m_pTextTable = kFolderTips;
  if (CKCore* core = TheCore()) {
    m_pPlacement = &core->m_SettingsWindows.m_stFolderEditor;
  }
  folder_.GetStringByTag(TAG_NAME, name_);
  opening_name_ = name_;
  folder_.GetStringByTag(TAG_TEXT, description_);
  folder_.GetDwordByTag(TAG_ICON, icon_);
  editors::MakeClickable(Item<QLabel>(kIcon), [this] { OnIcon(); });
  OnClicked(kHelp, this, &CKFolderDlg::ShowHelp);
}

CKFolderDlg::~CKFolderDlg() {
  WipeEdits({kName, kDescription});
  WipeString(name_);
  WipeString(description_);
  WipeString(opening_name_);
}

bool CKFolderDlg::OnInitDialog() {
  CKResizeDialog::OnInitDialog();
  if (const CKCore* core = TheCore()) {
    dialogs::ApplyTextsAndTitle(core->m_Languages, this, kFolderTexts);
  }
  if (auto* name = Item<QLineEdit>(kName)) {
    name->setText(QString::fromStdU16String(name_));
    name->setFocus();
    name->selectAll();
  }
  if (auto* description = Item<QPlainTextEdit>(kDescription)) {
    description->setPlainText(QString::fromStdU16String(description_));
  }
  editors::ShowImage(Item<QLabel>(kIcon), icon_);
  return true;
}

void CKFolderDlg::OnIcon() {
  ++icon_;
  if (icon_ > kLastIcon) {
    icon_ = kFirstIcon;
  }
  editors::ShowImage(Item<QLabel>(kIcon), icon_);
}

void CKFolderDlg::ReadControls() {
  WipeString(name_);
  WipeString(description_);
  if (const auto* name = Item<QLineEdit>(kName)) {
    name_ = name->text().left(kNameLimit).toStdU16String();
  }
  if (const auto* description = Item<QPlainTextEdit>(kDescription)) {
    description_ = description->toPlainText().left(kDescriptionLimit).toStdU16String();
  }
}

void CKFolderDlg::OnOK() {
  const CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  ReadControls();
  if (name_.empty()) {
    core->m_Languages.ShowMessage(texts::kMsgNameNeeded.entry);
    return;
  }
  // The folder that holds this one: for a new folder its parent is already set, although it
  // is not among the children yet.
  CKTLVARRAY* holder =
      folder_.GetParent() != nullptr ? folder_.GetParent() : core->GetCurrentFolder();
  if (database::NameTaken(holder, name_, opening_name_)) {
    core->m_Languages.ShowMessage(texts::kMsgNameInUse.entry);
    return;
  }
  folder_.SetStringByTag(TAG_NAME, name_.c_str());
  folder_.SetStringByTag(TAG_TEXT, description_.c_str());
  folder_.SetDwordByTag(TAG_ICON, icon_);
  CKResizeDialog::OnOK();
}

bool CKFolderDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("folder-editor"));
}
