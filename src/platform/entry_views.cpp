#include "platform/entry_views.h"

namespace platform {
namespace {

class CancellingEditors final : public EntryEditors {
 public:
  bool EditFolder(CKTLVARRAY&) override { return false; }
  bool EditNote(CKTLVARRAY&) override { return false; }
};

CancellingEditors default_editors;
EntryEditors* installed = nullptr;

}  // namespace

EntryEditors& Editors() {
  return installed != nullptr ? *installed : default_editors;
}

EntryEditors* InstallEditors(EntryEditors* editors) {
  EntryEditors* previous = installed;
  installed = editors;
  return previous;
}

}  // namespace platform
