#pragma once

#include <cstdint>
#include <string>

#include "ui/resize_dialog.h"

class CKTLVARRAY;

// Edits a folder's name (unique within its parent folder, letter case aside), description and
// icon. Only the tree in memory changes, and only on OK; the caller saves.
class CKFolderDlg final : public CKResizeDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 105;
  static constexpr int kNameCaption = 569;
  static constexpr int kIcon = 572;
  static constexpr int kName = 568;
  static constexpr int kHelp = 566;
  static constexpr int kDescriptionCaption = 570;
  static constexpr int kDescription = 567;
  static constexpr int kSeparator = 571;
  static constexpr int kNameLimit = 64;
  static constexpr int kDescriptionLimit = 256;
  // A click on the icon steps through the folder images and comes back to the first of the
  // pair: 10, 11, 10, ...
  static constexpr std::uint32_t kFirstIcon = 10;
  static constexpr std::uint32_t kLastIcon = 11;

  CKFolderDlg(CKTLVARRAY& folder, QWidget* parent);
  ~CKFolderDlg() override;

  std::uint32_t GetIconIndex() const { return icon_; }

  bool OnInitDialog() override;
  bool ShowHelp() override;
  void OnOK() override;

  void OnIcon();

 private:
  void ReadControls();

  CKTLVARRAY& folder_;
  std::u16string name_;
  std::u16string opening_name_;
  std::u16string description_;
  std::uint32_t icon_ = kFirstIcon;
};
