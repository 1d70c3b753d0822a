#include "ui/move_to_dlg.h"

#include <string>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tlv_array.h"
#include "elements/wipe_string.h"
#include "languages/text_ids.h"
#include "ui/controls/combo_box_ex.h"
#include "ui/controls/list_ctrl.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"

namespace {

constexpr KTextPair kMoveToTexts[] = {
    {texts::kMoveEntryCaption.key(), CKMoveToDlg::kEntryCaption},
    {texts::kMoveDestinationCaption.key(), CKMoveToDlg::kDestinationCaption},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

constexpr KTextPair kMoveToTips[] = {
    {texts::kTipHelp.key(), CKMoveToDlg::kHelp},
    {0, 0},
};

}  // namespace

CKMoveToDlg::CKMoveToDlg(CKTLVARRAY& entry, QWidget* parent)
    : CKResizeDialog(kTemplateId, parent), entry_(entry) {
  m_pTextTable = kMoveToTips;
  if (CKCore* core = TheCore()) {
    m_pPlacement = &core->m_SettingsWindows.m_stMoveTo;
  }
  OnClicked(kHelp, this, &CKMoveToDlg::ShowHelp);
}

CKMoveToDlg::~CKMoveToDlg() {
  // The combo box named the root "<    ROOT    >" through its name cache; left there, that
  // label would head the main window's path line, also after Cancel.
  if (CKTLVARRAY* root = Root()) {
    database::ClearNameCache(*root);
  }
}

CKTLVARRAY* CKMoveToDlg::Root() const {
  const CKCore* core = TheCore();
  return core != nullptr ? core->GetRootFolder() : nullptr;
}

bool CKMoveToDlg::OnInitDialog() {
  CKResizeDialog::OnInitDialog();
  if (const CKCore* core = TheCore()) {
    dialogs::ApplyTextsAndTitle(core->m_Languages, this, kMoveToTexts);
  }
  if (auto* list = Item<CKListCtrl>(kEntry)) {
    list->setFocusPolicy(Qt::NoFocus);
    list->SetColumnsOwner(&entry_);
    database::SetupColumns(*list);
    list->AddRow(&entry_);
  }
  FillDestinations();
  if (QWidget* combo = GetDlgItem(kDestination)) {
    combo->setFocus();
  }
  return true;
}

void CKMoveToDlg::FillDestinations() {
  auto* combo = Item<CKComboBoxEx>(kDestination);
  CKTLVARRAY* root = Root();
  if (combo == nullptr || root == nullptr) {
    return;
  }
  // The root first, then every folder before its own subfolders, as the tree reads from the
  // top; the root is preselected.
  combo->ResetContent();
  combo->AddItem(root);
  for (CKTLVARRAY* folder : database::CollectFolders(*root)) {
    combo->AddItem(folder);
  }
  combo->setCurrentIndex(0);
}

void CKMoveToDlg::OnOK() {
  const CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  const CKLanguages& languages = core->m_Languages;
  const auto* combo = Item<CKComboBoxEx>(kDestination);
  CKTLVARRAY* destination = combo != nullptr ? combo->GetSelectedEntry() : nullptr;
  CKTLVARRAY* parent = entry_.GetParent();
  if (parent == nullptr || destination == nullptr || destination == parent ||
      database::ContainsFolder(entry_, destination)) {
    languages.ShowMessage(texts::kMsgCannotMoveThere.entry);
    return;
  }
  std::u16string name = database::GetName(entry_);
  const bool taken = database::FindEntryByName(*destination, name) != nullptr;
  WipeString(name);
  if (taken) {
    languages.ShowMessage(texts::kMsgNameExistsAtDestination.entry);
    return;
  }
  if (!parent->MoveChild(&entry_, *destination)) {
    languages.ShowMessage(texts::kMsgMoveFailed.entry);
    return;
  }
  if (CKTLVARRAY* root = Root()) {
    database::ClearNameCache(*root);
  }
  CKResizeDialog::OnOK();
}

bool CKMoveToDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("index"));
}

bool RunMoveToDialog(CKTLVARRAY& entry, QWidget* parent) {
  CKMoveToDlg dialog(entry, parent);
  return dialog.DoModal() == CKDialog::kIdOk;
}
