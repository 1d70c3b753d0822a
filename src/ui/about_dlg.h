#pragma once

#include "ui/dialog.h"

// The About box: the program's version and links to its page, the maker's site and the
// maker's support address.
class CAboutDlg : public CKDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 102;
  static constexpr int kVersion = 1000;
  static constexpr int kProductLink = 1001;
  static constexpr int kMakerLink = 1002;
  static constexpr int kSupportLink = 1003;

  explicit CAboutDlg(QWidget* parent);

  bool OnInitDialog() override;
  bool ShowHelp() override;
};
