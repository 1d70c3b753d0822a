#pragma once

#include <string_view>

#include "settings/settings.h"
#include "settings/window_placement.h"

// The last placement of each resizable dialog, one stored byte block per record. Each dialog
// keeps a pointer to its record.
class CKSettingsWindows final : public CKSettings {
 public:
  static constexpr std::u16string_view kGroupName = u"Windows Settings";

  // Every record zero.
  CKSettingsWindows();

  // A stored block fills the record from its start, 51 bytes at most; a shorter one leaves the
  // rest as it was, a missing or empty one the whole record.
  bool Load() override;
  // Writes all eight records, 51 bytes each.
  bool Save() override;

  KWindowPlacement m_stNoteEditor;
  KWindowPlacement m_stFolderEditor;
  KWindowPlacement m_stMainWindow;
  KWindowPlacement m_stLogIn;
  // Loaded and saved, but no dialog uses these two.
  KWindowPlacement m_stUserNew;
  KWindowPlacement m_stUserEditor;
  KWindowPlacement m_stMoveTo;
  // The user editor's.
  KWindowPlacement m_stDbEdit;

 private:
  struct Record {
    std::u16string_view key;
    KWindowPlacement CKSettingsWindows::*member;
  };
  // Every record under its key, in the order of loading and saving.
  static const Record kRecords[8];
};
