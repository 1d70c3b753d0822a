#pragma once

#include "ui/resize_dialog.h"

class CKTLVARRAY;

// Moves one folder or note of the logged-in user's tree into another folder: the entry goes
// last among the destination's children. Only the tree in memory changes; the caller saves.
class CKMoveToDlg final : public CKResizeDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 110;
  static constexpr int kEntryCaption = 647;
  static constexpr int kHelp = 643;
  static constexpr int kEntry = 646;
  static constexpr int kDestinationCaption = 648;
  static constexpr int kDestination = 645;
  static constexpr int kSeparator = 649;

  CKMoveToDlg(CKTLVARRAY& entry, QWidget* parent);
  ~CKMoveToDlg() override;

  bool OnInitDialog() override;
  bool ShowHelp() override;
  // Moves the entry into the selected folder, or says why it cannot and stays open.
  void OnOK() override;

 private:
  void FillDestinations();
  CKTLVARRAY* Root() const;

  CKTLVARRAY& entry_;
};

// Runs the move-to dialog for an entry of the logged-in user's tree (not the root, not the up
// entry). True when the entry was moved: the caller saves the user's file and shows its folder
// again.
bool RunMoveToDialog(CKTLVARRAY& entry, QWidget* parent);
