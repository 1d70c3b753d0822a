#include "ui/generator_dlg.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "core/core.h"
#include "database/database.h"
#include "elements/wipe_string.h"
#include "generator/password_generator.h"
#include "languages/text_ids.h"
#include "ui/clipboard.h"
#include "ui/controls/adv_button.h"
#include "ui/controls/secure_text.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"

namespace {

using Dlg = CKGeneratorDlg;

constexpr KTextPair kGeneratorTexts[] = {
    {texts::kGenHeading.key(), Dlg::kHeading},
    {texts::kGenCustomToggle.key(), Dlg::kCustomToggle},
    {texts::kGenLengthCaption.key(), Dlg::kLengthCaption},
    {texts::kGenLengthUnit.key(), Dlg::kLengthUnit},
    {texts::kGenPickHint.key(), Dlg::kPickHint},
    {texts::kButtonGenerate.key(), Dlg::kGenerate},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

constexpr KTextPair kGeneratorTips[] = {
    {texts::kTipHelp.key(), Dlg::kHelp},
    {texts::kTipNoteCopy.key(), Dlg::kCopy},
    {texts::kTipNoteGenerate.key(), Dlg::kGenerate},
    {0, 0},
};

// The generator options of the user's settings, to see whether a run of the dialog changed
// them.
struct KGeneratorOptions {
  bool upper, lower, digits, special, custom_on;
  std::int32_t length;
  std::u16string custom;

  explicit KGeneratorOptions(const CKSettingsUserBased& settings)
      : upper(settings.boolIsLetersEnabledBig),
        lower(settings.boolIsLetersEnabledSmall),
        digits(settings.boolIsNumbersEnabled),
        special(settings.boolIsSpecialEnabled),
        custom_on(settings.boolIsCustomEnabled),
        length(settings.intPasswordLength),
        custom(settings.stringCustomArray) {}
  ~KGeneratorOptions() { WipeString(custom); }
  KGeneratorOptions(const KGeneratorOptions&) = delete;
  KGeneratorOptions& operator=(const KGeneratorOptions&) = delete;

  bool operator==(const KGeneratorOptions& other) const {
    return upper == other.upper && lower == other.lower && digits == other.digits &&
           special == other.special && custom_on == other.custom_on && length == other.length &&
           custom == other.custom;
  }
};

// Runs the dialog; options that changed are written into the logged-in user's file at once,
// so that they outlive the session (the settings dialog would otherwise be the only way there).
int RunKeepingOptions(CKGeneratorDlg& dialog) {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return dialog.DoModal();
  }
  const KGeneratorOptions before(core->m_SettingsUserBased);
  const int result = dialog.DoModal();
  const KGeneratorOptions after(core->m_SettingsUserBased);
  CKDatabase* user = core->m_Databases.GetCurrent();
  if (user != nullptr && user->IsOpen() && !(before == after)) {
    core->m_SettingsUserBased.Save();
    user->Save();
  }
  return result;
}

}  // namespace

CKGeneratorDlg::CKGeneratorDlg(bool pick_mode, QWidget* parent)
    : CKDialog(kTemplateId, parent), pick_mode_(pick_mode) {
  m_pTextTable = kGeneratorTips;
  if (const CKCore* core = TheCore()) {
    const CKSettingsUserBased& options = core->m_SettingsUserBased;
    length_ = static_cast<std::uint8_t>(options.intPasswordLength & 0xFF);
    custom_ = options.stringCustomArray;
    upper_ = options.boolIsLetersEnabledBig;
    lower_ = options.boolIsLetersEnabledSmall;
    digits_ = options.boolIsNumbersEnabled;
    special_ = options.boolIsSpecialEnabled;
  }
  OnClicked(kGenerate, this, &CKGeneratorDlg::OnGenerate);
  OnClicked(kCopy, this, &CKGeneratorDlg::OnCopy);
  OnClicked(kHelp, this, &CKGeneratorDlg::ShowHelp);
}

CKGeneratorDlg::~CKGeneratorDlg() {
  WipeEdits({kResult, kCustomCharacters});
  WipeString(result_);
  WipeString(custom_);
}

bool CKGeneratorDlg::OnInitDialog() {
  CKDialog::OnInitDialog();
  if (const CKCore* core = TheCore()) {
    dialogs::ApplyTextsAndTitle(core->m_Languages, this, kGeneratorTexts);
  }
  if (auto* special = Item<QAbstractButton>(kSpecial)) {
    // A label takes "&" as the mark of its access key; "&&" shows one.
    QString shown =
        QString::fromUtf16(CKPasswordGenerator::kSpecial.data(),
                           static_cast<qsizetype>(CKPasswordGenerator::kSpecial.size()));
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    special->setText(shown);
  }
  if (!pick_mode_) {
    if (auto* hint = Item<QLabel>(kPickHint)) {
      hint->setText(QStringLiteral(" "));
      hint->hide();
      const int shift = hint->height();
      for (const int id : {kSeparator, kIdOk, kIdCancel}) {
        if (QWidget* control = GetDlgItem(id)) {
          control->move(control->x(), control->y() - shift);
        }
      }
      setFixedSize(width(), height() - shift);
    }
  }
  if (auto* toggle = Item<CKAdvToggleButton>(kCustomToggle)) {
    toggle->AddDependent(kCustomCharacters);
    // Always off at first, whatever was stored: the user's own characters are a deliberate
    // choice each time.
    toggle->SetCheck(false);
  }
  SetChecked(kUpperCase, upper_);
  SetChecked(kLowerCase, lower_);
  SetChecked(kDigits, digits_);
  SetChecked(kSpecial, special_);
  if (auto* custom = Item<QLineEdit>(kCustomCharacters)) {
    custom->setText(QString::fromStdU16String(custom_));
  }
  if (auto* length = Item<QLineEdit>(kLength)) {
    length->setText(QString::number(length_));
  }
  if (auto* generate = GetDlgItem(kGenerate)) {
    generate->setFocus();
  }
  return true;
}

std::uint8_t CKGeneratorDlg::ReadLength() {
  auto* edit = Item<QLineEdit>(kLength);
  if (edit == nullptr) {
    return length_;
  }
  bool number = false;
  const int typed = edit->text().trimmed().toInt(&number);
  int length = number ? typed : length_;
  length = std::clamp(length, kMinLength, kMaxLength);
  edit->setText(QString::number(length));
  return static_cast<std::uint8_t>(length);
}

void CKGeneratorDlg::ReadResult() {
  WipeString(result_);
  if (const auto* edit = Item<QLineEdit>(kResult)) {
    result_ = edit->text().toStdU16String();
  }
}

void CKGeneratorDlg::StoreOptions() {
  length_ = ReadLength();
  WipeString(custom_);
  if (const auto* edit = Item<QLineEdit>(kCustomCharacters)) {
    custom_ = edit->text().left(kCustomLimit).toStdU16String();
  }
  upper_ = IsChecked(kUpperCase);
  lower_ = IsChecked(kLowerCase);
  digits_ = IsChecked(kDigits);
  special_ = IsChecked(kSpecial);
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  CKSettingsUserBased& options = core->m_SettingsUserBased;
  WipeString(options.stringCustomArray);
  options.stringCustomArray = custom_;
  options.intPasswordLength = length_;
  options.boolIsLetersEnabledBig = upper_;
  options.boolIsLetersEnabledSmall = lower_;
  options.boolIsNumbersEnabled = digits_;
  options.boolIsSpecialEnabled = special_;
  options.boolIsCustomEnabled = IsChecked(kCustomToggle);
}

void CKGeneratorDlg::OnGenerate() {
  StoreOptions();
  std::u16string password;
  if (const CKCore* core = TheCore()) {
    CKPasswordGenerator generator(core->m_SettingsUserBased);
    generator.Generate(password);
  }
  if (auto* result = Item<QLineEdit>(kResult)) {
    secure::WipeLineEdit(result);
    result->setText(QString::fromStdU16String(password));
  }
  WipeString(password);
}

void CKGeneratorDlg::OnCopy() {
  if (const auto* result = Item<QLineEdit>(kResult)) {
    QString text = result->text();
    clipboard::PutClipboardText(text);
    secure::WipeQString(text);
  }
}

void CKGeneratorDlg::OnOK() {
  StoreOptions();
  ReadResult();
  CKDialog::OnOK();
}

void CKGeneratorDlg::OnCancel() {
  StoreOptions();
  CKDialog::OnCancel();
}

void CKGeneratorDlg::OnClose() {
  StoreOptions();
  CKDialog::OnClose();
}

bool CKGeneratorDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("passwords-generator"));
}

void RunPasswordGenerator(QWidget* parent) {
  CKGeneratorDlg dialog(false, parent);
  RunKeepingOptions(dialog);
}

bool PickPassword(QWidget* parent, std::u16string& password) {
  CKGeneratorDlg dialog(true, parent);
  if (RunKeepingOptions(dialog) != CKDialog::kIdOk) {
    return false;
  }
  WipeString(password);
  password = dialog.GetResult();
  return true;
}
