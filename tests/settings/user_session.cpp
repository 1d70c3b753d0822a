#include "user_session.h"

#include <stdexcept>

#include "database/database.h"
#include "platform/utf.h"

namespace test {

UserSession::UserSession() : previous_(platform::InstallDialogs(this)) {
  const std::u16string folder_path = platform::FromUtf8(folder.path().string()) + u"/";
  CKDatabase user;
  user.SetPath(folder_path + kName + u".VaultQuill");
  user.SetName(kName);
  user.GetKeys().SetIterations(1);  // keeps every open fast
  user.NewSalt();
  user.SetPassword(kPassword);
  user.SetOpen(true);
  if (user.Save() != 0 || users.Scan(folder_path) != 1) {
    throw std::runtime_error("the test user's file could not be made");
  }
}

UserSession::~UserSession() {
  platform::InstallDialogs(previous_);
}

CKDatabase* UserSession::RunLogIn(CKDatabasesContainer& container) {
  CKDatabase* user = container.FindUser(kName);
  return user != nullptr && user->Load(kPassword) == 0 ? user : nullptr;
}

}  // namespace test
