#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "ui/resize_dialog.h"

class CKListCtrl;
class CKTLVARRAY;
class QLineEdit;

// Edits one note: title (unique within its folder, letter case aside), login, password,
// e-mail, web address, free text and icon kind, and its attached files. The fields are
// written on OK only; adding or deleting an attachment changes the note at once. Every copy of
// the note's texts that the editor held is wiped when it closes.
class CKNoteDlg final : public CKResizeDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 104;
  static constexpr int kTitleCaption = 558;
  static constexpr int kIcon = 565;
  static constexpr int kTitle = 552;
  static constexpr int kHelp = 550;
  static constexpr int kLoginCaption = 559;
  static constexpr int kLogin = 556;
  static constexpr int kCopyLogin = 545;
  static constexpr int kGenerateLogin = 548;
  static constexpr int kPasswordCaption = 560;
  static constexpr int kPassword = 554;
  static constexpr int kCopyPassword = 543;
  static constexpr int kGeneratePassword = 547;
  static constexpr int kEmailCaption = 569;
  static constexpr int kEmail = 566;
  static constexpr int kCopyEmail = 567;
  static constexpr int kUrlCaption = 561;
  static constexpr int kUrl = 555;
  static constexpr int kCopyUrl = 544;
  static constexpr int kOpenUrl = 549;
  static constexpr int kAttachmentsCaption = 562;
  static constexpr int kAttachments = 557;
  static constexpr int kAddFile = 542;
  static constexpr int kDeleteFile = 546;
  static constexpr int kSaveFile = 551;
  static constexpr int kTextCaption = 563;
  static constexpr int kText = 553;
  static constexpr int kCreatedCaption = 571;
  static constexpr int kCreated = 572;
  static constexpr int kModifiedCaption = 573;
  static constexpr int kModified = 574;
  static constexpr int kSeparator = 564;
  static constexpr int kFieldLimit = 255;
  // Commands of the attachment list's context menu (their entry numbers in the language).
  static constexpr std::uint32_t kMenuAddFile = 1;
  static constexpr std::uint32_t kMenuSaveAs = 2;
  static constexpr std::uint32_t kMenuDelete = 4;
  // The icon kind that makes a note a software licence: other captions, no address to open.
  static constexpr std::uint32_t kLicenceKind = 1;

  CKNoteDlg(CKTLVARRAY& note, QWidget* parent);
  ~CKNoteDlg() override;

  std::uint32_t GetIconKind() const { return icon_kind_; }
  // Whether an attachment was added or deleted while the editor was open.
  bool AttachmentsChanged() const { return attachments_changed_; }

  bool OnInitDialog() override;
  bool ShowHelp() override;
  void OnOK() override;

  void OnIcon();
  void OnCopy(int edit_id);
  void OnGenerate(int edit_id);
  void OnOpenUrl();
  void OnAddFile();
  void OnDeleteFile();
  void OnSaveFile();
  // The attachment list's context menu at a point of the list's viewport.
  void OnAttachmentMenu(const QPoint& where);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The edits into the members (wiping what the members held).
  void ReadControls();
  // The member that an edit is read into.
  std::u16string* MemberOf(int edit_id);
  void ApplyCaptions();
  void ShowTimes();
  CKListCtrl* AttachmentList() const;
  // Writes an attachment's content to a file the user chooses; true when it was written.
  bool ExportAttachment(CKTLVARRAY& attachment);

  CKTLVARRAY& note_;
  std::u16string title_;
  std::u16string opening_title_;
  std::u16string text_;
  std::uint32_t icon_kind_ = 0;
  std::u16string login_;
  std::u16string password_;
  std::u16string url_;
  std::u16string email_;
  bool attachments_changed_ = false;
};

// A time of a note (seconds since 1970, UTC) as the note editor shows it: the date in the
// locale's short format, a blank, the time in the locale's format (without the time zone).
QString NoteTimeText(std::uint32_t seconds);
