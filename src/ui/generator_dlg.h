#pragma once

#include <cstdint>
#include <string>

#include "ui/dialog.h"

// The password generator dialog. The user picks the character sets and the length, generates,
// copies the result and, in pick mode (a note editor's generate button), hands it over with
// OK. The options go to the logged-in user's settings on Generate, OK and Cancel; the toggle
// of the user's own characters always opens off.
class CKGeneratorDlg final : public CKDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 108;
  static constexpr int kHeading = 622;
  static constexpr int kLowerCase = 615;
  static constexpr int kUpperCase = 614;
  static constexpr int kDigits = 617;
  static constexpr int kSpecial = 618;
  static constexpr int kCustomToggle = 616;
  static constexpr int kCustomCharacters = 619;
  static constexpr int kLengthCaption = 623;
  static constexpr int kLength = 620;
  static constexpr int kLengthUnit = 624;
  static constexpr int kGenerate = 612;
  static constexpr int kResult = 621;
  static constexpr int kCopy = 611;
  static constexpr int kHelp = 613;
  static constexpr int kPickHint = 625;
  static constexpr int kSeparator = 626;
  static constexpr int kCustomLimit = 128;
  static constexpr int kResultLimit = 255;
  static constexpr int kMinLength = 1;
  static constexpr int kMaxLength = 255;

  CKGeneratorDlg(bool pick_mode, QWidget* parent);
  ~CKGeneratorDlg() override;

  bool IsPickMode() const { return pick_mode_; }
  // What the result field held when the dialog closed (the user may have edited it).
  const std::u16string& GetResult() const { return result_; }

  bool OnInitDialog() override;
  bool ShowHelp() override;
  void OnOK() override;
  void OnCancel() override;
  // The close box is Cancel here too: the options are stored.
  void OnClose() override;

  void OnGenerate();
  void OnCopy();

 private:
  // The controls into the dialog's copies of the options, and those into the user's settings.
  void StoreOptions();
  // The length field as a number from 1 to 255; a value outside is brought into the range
  // and shown so, an empty field takes the length the dialog had.
  std::uint8_t ReadLength();
  void ReadResult();

  const bool pick_mode_;
  std::uint8_t length_ = 14;
  std::u16string custom_;
  bool upper_ = true;
  bool lower_ = true;
  bool digits_ = true;
  bool special_ = false;
  std::u16string result_;
};

// The generator on its own (the main window's Tools menu): the result can be copied. Options
// the user changed are kept in the user's file.
void RunPasswordGenerator(QWidget* parent);

// The generator in pick mode, to fill a field: true after OK, with the result field's text in
// password (which is left alone after Cancel). The caller wipes the password.
bool PickPassword(QWidget* parent, std::u16string& password);
