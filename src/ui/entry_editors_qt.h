#pragma once

#include <cstdint>
#include <functional>

#include "platform/entry_views.h"

class CKTLVARRAY;
class QLabel;
class QWidget;

// The folder and note editors as the user database opens them (EditEntry). Installed for the
// object's lifetime; the one installed before comes back afterwards.
class CKQtEntryEditors final : public platform::EntryEditors {
 public:
  CKQtEntryEditors();
  ~CKQtEntryEditors() override;
  CKQtEntryEditors(const CKQtEntryEditors&) = delete;
  CKQtEntryEditors& operator=(const CKQtEntryEditors&) = delete;

  bool EditFolder(CKTLVARRAY& folder) override;
  // True after OK; also after Cancel when attachments of a note already in the tree were added
  // or deleted, since those changes are made at once and have to be saved like any other.
  bool EditNote(CKTLVARRAY& note) override;

 private:
  platform::EntryEditors* previous_;
};

// What the folder and note editors share.
namespace editors {

// The window an editor belongs to: the modal window in front, else the active one.
QWidget* OwnerWindow();

// Makes an icon control report left clicks.
void MakeClickable(QLabel* icon, std::function<void()> on_click);

// Shows the image of that index of the shared image list, centred in the control.
void ShowImage(QLabel* icon, std::uint32_t index);

}  // namespace editors
