#include "platform/user_dialogs.h"

namespace platform {
namespace {

class CancellingDialogs final : public UserDialogs {
 public:
  CKDatabase* RunLogIn(CKDatabasesContainer&) override { return nullptr; }
  bool RunUserEditor(CKDatabasesContainer&, CKDatabase&, bool) override { return false; }
};

CancellingDialogs default_dialogs;
UserDialogs* installed = nullptr;

}  // namespace

UserDialogs& Dialogs() {
  return installed != nullptr ? *installed : default_dialogs;
}

UserDialogs* InstallDialogs(UserDialogs* dialogs) {
  UserDialogs* previous = installed;
  installed = dialogs;
  return previous;
}

}  // namespace platform
