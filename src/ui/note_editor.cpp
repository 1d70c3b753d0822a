#include "ui/note_editor.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QUrl>
#include <ctime>
#include <initializer_list>
#include <utility>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "elements/wipe_string.h"
#include "languages/text_ids.h"
#include "ui/clipboard.h"
#include "ui/controls/list_ctrl.h"
#include "ui/controls/secure_text.h"
#include "ui/dialog_texts.h"
#include "ui/entry_editors_qt.h"
#include "ui/generator_dlg.h"
#include "ui/help.h"

namespace {

using Dlg = CKNoteDlg;

// The captions of an ordinary note (a web login) and of a note of the licence kind.
constexpr KTextPair kNoteTexts[] = {
    {texts::kNoteTitleCaption.key(), Dlg::kTitleCaption},
    {texts::kNoteLoginCaption.key(), Dlg::kLoginCaption},
    {texts::kLoginPasswordCaption.key(), Dlg::kPasswordCaption},
    {texts::kNoteUrlCaption.key(), Dlg::kUrlCaption},
    {texts::kNoteAttachmentsCaption.key(), Dlg::kAttachmentsCaption},
    {texts::kNoteTextCaption.key(), Dlg::kTextCaption},
    {texts::kNoteEmailCaption.key(), Dlg::kEmailCaption},
    {texts::kNoteCreatedCaption.key(), Dlg::kCreatedCaption},
    {texts::kNoteModifiedCaption.key(), Dlg::kModifiedCaption},
    {texts::kButtonAddFile.key(), Dlg::kAddFile},
    {texts::kButtonDelete.key(), Dlg::kDeleteFile},
    {texts::kButtonSaveAs.key(), Dlg::kSaveFile},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

constexpr KTextPair kLicenceTexts[] = {
    {texts::kNoteTitleCaption.key(), Dlg::kTitleCaption},
    {texts::kNoteKind1LoginCaption.key(), Dlg::kLoginCaption},
    {texts::kNoteKind1PasswordCaption.key(), Dlg::kPasswordCaption},
    {texts::kNoteKind1UrlCaption.key(), Dlg::kUrlCaption},
    {texts::kNoteAttachmentsCaption.key(), Dlg::kAttachmentsCaption},
    {texts::kNoteTextCaption.key(), Dlg::kTextCaption},
    {texts::kNoteKind1EmailCaption.key(), Dlg::kEmailCaption},
    {texts::kNoteCreatedCaption.key(), Dlg::kCreatedCaption},
    {texts::kNoteModifiedCaption.key(), Dlg::kModifiedCaption},
    {texts::kButtonAddFile.key(), Dlg::kAddFile},
    {texts::kButtonDelete.key(), Dlg::kDeleteFile},
    {texts::kButtonSaveAs.key(), Dlg::kSaveFile},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

constexpr KTextPair kNoteTips[] = {
    {texts::kTipHelp.key(), Dlg::kHelp},
    {texts::kTipNoteTitle.key(), Dlg::kTitleCaption},
    {texts::kTipNoteTitle.key(), Dlg::kTitle},
    {texts::kTipNoteIcon.key(), Dlg::kIcon},
    {texts::kTipNoteLogin.key(), Dlg::kLoginCaption},
    {texts::kTipNoteLogin.key(), Dlg::kLogin},
    {texts::kTipNotePassword.key(), Dlg::kPasswordCaption},
    {texts::kTipNotePassword.key(), Dlg::kPassword},
    {texts::kTipNoteUrl.key(), Dlg::kUrlCaption},
    {texts::kTipNoteUrl.key(), Dlg::kUrl},
    {texts::kTipNoteAttachments.key(), Dlg::kAttachmentsCaption},
    {texts::kTipNoteAttachments.key(), Dlg::kAttachments},
    {texts::kTipNoteAddFile.key(), Dlg::kAddFile},
    {texts::kTipNoteDeleteFile.key(), Dlg::kDeleteFile},
    {texts::kTipNoteSaveFile.key(), Dlg::kSaveFile},
    {texts::kTipNoteText.key(), Dlg::kTextCaption},
    {texts::kTipNoteText.key(), Dlg::kText},
    {texts::kTipNoteCopy.key(), Dlg::kCopyLogin},
    {texts::kTipNoteCopy.key(), Dlg::kCopyPassword},
    {texts::kTipNoteCopy.key(), Dlg::kCopyUrl},
    {texts::kTipNoteCopy.key(), Dlg::kCopyEmail},
    {texts::kTipNoteGenerate.key(), Dlg::kGenerateLogin},
    {texts::kTipNoteGenerate.key(), Dlg::kGeneratePassword},
    {texts::kTipNoteOpenUrl.key(), Dlg::kOpenUrl},
    {0, 0},
};

// The edits of one-line fields and the copy and generate buttons that serve them.
constexpr int kOneLineFields[] = {Dlg::kTitle, Dlg::kLogin, Dlg::kPassword, Dlg::kEmail, Dlg::kUrl};
constexpr std::pair<int, int> kCopyButtons[] = {{Dlg::kCopyLogin, Dlg::kLogin},
                                                {Dlg::kCopyPassword, Dlg::kPassword},
                                                {Dlg::kCopyUrl, Dlg::kUrl},
                                                {Dlg::kCopyEmail, Dlg::kEmail}};
constexpr std::pair<int, int> kGenerateButtons[] = {{Dlg::kGenerateLogin, Dlg::kLogin},
                                                    {Dlg::kGeneratePassword, Dlg::kPassword}};

// The locale's time format without its time-zone field ("t" outside quotes), which the time
// of a note does not need.
QString TimeFormatWithoutZone(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString kept;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == QLatin1Char('\'')) {
      quoted = !quoted;
    } else if (!quoted && c == QLatin1Char('t')) {
      continue;
    }
    kept += c;
  }
  return kept.simplified();
}

}  // namespace

QString NoteTimeText(std::uint32_t seconds) {
  const QDateTime when = QDateTime::fromSecsSinceEpoch(seconds).toLocalTime();
  const QLocale locale = QLocale::system();
  return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(when.time(), TimeFormatWithoutZone(locale));
}

CKNoteDlg::CKNoteDlg(CKTLVARRAY& note, QWidget* parent)
    : CKResizeDialog(kTemplateId, parent), note_(note) {
  m_pTextTable = kNoteTips;
  if (CKCore* core = TheCore()) {
    m_pPlacement = &core->m_SettingsWindows.m_stNoteEditor;
  }
  note_.GetStringByTag(TAG_NAME, title_);
  opening_title_ = title_;
  note_.GetStringByTag(TAG_TEXT, text_);
  note_.GetDwordByTag(TAG_ICON, icon_kind_);
  note_.GetStringByTag(TAG_LOGIN, login_);
  note_.GetStringByTag(TAG_PASSWORD, password_);
  note_.GetStringByTag(TAG_URL, url_);
  note_.GetStringByTag(TAG_EMAIL, email_);

  editors::MakeClickable(Item<QLabel>(kIcon), [this] { OnIcon(); });
  for (const auto& [button, edit] : kCopyButtons) {
    OnClicked(button, this, [this, field = edit] { OnCopy(field); });
  }
  for (const auto& [button, edit] : kGenerateButtons) {
    OnClicked(button, this, [this, field = edit] { OnGenerate(field); });
  }
  OnClicked(kHelp, this, [this] { ShowHelp(); });
  OnClicked(kOpenUrl, this, [this] { OnOpenUrl(); });
  OnClicked(kAddFile, this, [this] { OnAddFile(); });
  OnClicked(kDeleteFile, this, [this] { OnDeleteFile(); });
  OnClicked(kSaveFile, this, [this] { OnSaveFile(); });
  if (CKListCtrl* list = AttachmentList()) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &CKNoteDlg::OnAttachmentMenu);
    list->viewport()->installEventFilter(this);
  }
}

CKNoteDlg::~CKNoteDlg() {
  WipeEdits(kOneLineFields);
  WipeEdits({kText});
  for (std::u16string* member :
       {&title_, &text_, &password_, &url_, &login_, &email_, &opening_title_}) {
    WipeString(*member);
  }
}

CKListCtrl* CKNoteDlg::AttachmentList() const {
  return Item<CKListCtrl>(kAttachments);
}

bool CKNoteDlg::OnInitDialog() {
  CKResizeDialog::OnInitDialog();
  ApplyCaptions();
  for (const int id : kOneLineFields) {
    if (auto* edit = Item<QLineEdit>(id)) {
      edit->setText(QString::fromStdU16String(*MemberOf(id)));
      edit->setCursorPosition(0);
    }
  }
  if (auto* text = Item<QPlainTextEdit>(kText)) {
    text->setPlainText(QString::fromStdU16String(text_));
  }
  if (CKListCtrl* list = AttachmentList()) {
    list->SetColumnsOwner(&note_);
    database::SetupColumns(*list);
    database::FillList(note_, *list);
  }
  ShowTimes();
  const CKCore* core = TheCore();
  if (auto* password = Item<QLineEdit>(kPassword)) {
    const bool hide = core == nullptr || core->m_SettingsUserBased.boolHidePasswords;
    password->setEchoMode(hide ? QLineEdit::Password : QLineEdit::Normal);
  }
  editors::ShowImage(Item<QLabel>(kIcon), icon_kind_);
  if (auto* title = Item<QLineEdit>(kTitle)) {
    title->setFocus();
    title->selectAll();
  }
  return true;
}

void CKNoteDlg::ApplyCaptions() {
  const bool licence = icon_kind_ == kLicenceKind;
  if (const CKCore* core = TheCore()) {
    dialogs::ApplyTextsAndTitle(core->m_Languages, this, licence ? kLicenceTexts : kNoteTexts);
  }
  if (QWidget* open = GetDlgItem(kOpenUrl)) {
    open->setVisible(!licence);
  }
}

void CKNoteDlg::ShowTimes() {
  const std::pair<int, std::uint32_t> lines[] = {{kCreated, TAG_CREATED},
                                                 {kModified, TAG_MODIFIED}};
  for (const auto& [id, tag] : lines) {
    auto* label = Item<QLabel>(id);
    if (label == nullptr) {
      continue;
    }
    // A note without the field shows an empty line rather than a made-up time.
    std::uint32_t seconds = 0;
    label->setText(note_.GetDwordByTag(tag, seconds) ? NoteTimeText(seconds) : QString());
  }
}

std::u16string* CKNoteDlg::MemberOf(int edit_id) {
  switch (edit_id) {
    case kTitle:
      return &title_;
    case kLogin:
      return &login_;
    case kPassword:
      return &password_;
    case kEmail:
      return &email_;
    case kUrl:
      return &url_;
    case kText:
      return &text_;
    default:
      return nullptr;
  }
}

void CKNoteDlg::ReadControls() {
  for (const int id : kOneLineFields) {
    std::u16string& member = *MemberOf(id);
    WipeString(member);
    if (const auto* edit = Item<QLineEdit>(id)) {
      member = edit->text().toStdU16String();
    }
  }
  WipeString(text_);
  if (const auto* text = Item<QPlainTextEdit>(kText)) {
    text_ = text->toPlainText().toStdU16String();
  }
}

void CKNoteDlg::OnOK() {
  const CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  ReadControls();
  if (title_.empty()) {
    core->m_Languages.ShowMessage(texts::kMsgNameNeeded.entry);
    return;
  }
  if (database::NameTaken(note_.GetParent(), title_, opening_title_)) {
    core->m_Languages.ShowMessage(texts::kMsgNameInUse.entry);
    return;
  }
  note_.SetStringByTag(TAG_NAME, title_.c_str());
  note_.SetStringByTag(TAG_TEXT, text_.c_str());
  note_.SetDwordByTag(TAG_ICON, icon_kind_);
  note_.SetStringByTag(TAG_PASSWORD, password_.c_str());
  note_.SetStringByTag(TAG_URL, url_.c_str());
  note_.SetStringByTag(TAG_LOGIN, login_.c_str());
  note_.SetStringByTag(TAG_EMAIL, email_.c_str());
  note_.SetDwordByTag(TAG_MODIFIED, static_cast<std::uint32_t>(std::time(nullptr)));
  CKResizeDialog::OnOK();
}

void CKNoteDlg::OnIcon() {
  icon_kind_ = icon_kind_ == 0 ? kLicenceKind : 0;
  editors::ShowImage(Item<QLabel>(kIcon), icon_kind_);
  ApplyCaptions();
}

void CKNoteDlg::OnCopy(int edit_id) {
  ReadControls();
  if (const std::u16string* member = MemberOf(edit_id)) {
    QString text = QString::fromStdU16String(*member);
    clipboard::PutClipboardText(text);
    secure::WipeQString(text);
  }
}

void CKNoteDlg::OnGenerate(int edit_id) {
  ReadControls();
  std::u16string* member = MemberOf(edit_id);
  auto* edit = Item<QLineEdit>(edit_id);
  if (member == nullptr || edit == nullptr) {
    return;
  }
  std::u16string generated;
  if (PickPassword(this, generated)) {
    WipeString(*member);
    member->swap(generated);
  }
  WipeString(generated);
  secure::WipeLineEdit(edit);
  edit->setText(QString::fromStdU16String(*member));
}

void CKNoteDlg::OnOpenUrl() {
  ReadControls();
  const QString typed = QString::fromStdU16String(url_).trimmed();
  if (typed.isEmpty()) {
    return;
  }
  // As typed; an address without a scheme ("www.example.org") is taken as a web address.
  const QUrl address = QUrl::fromUserInput(typed);
  if (address.isValid()) {
    QDesktopServices::openUrl(address);
  }
}

bool CKNoteDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("note-editor"));
}
