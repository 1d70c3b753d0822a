#include "user_session.h"

#include <stdexcept>

#include "database/database.h"
#include "platform/utf.h"

namespace test {
namespace {
constexpr char16_t kName[] = u"Zo\u00eb";
constexpr char16_t kPassword[] = u"open sesame";
}  // namespace

UserSession::UserSession() : previous_(platform::InstallDialogs(this)) {
  const std::u16string path = platform::FromUtf8(folder.path().string()) + u"/";
  CKDatabase user;
  user.SetPath(path + kName + u".VaultQuill");
  user.SetName(kName);
  user.GetKeys().SetIterations(1);  // keeps every open fast
  user.NewSalt();
  user.SetPassword(kPassword);
  user.SetOpen(true);
  if (user.Save() != 0 || users.Scan(path) != 1) {
    throw std::runtime_error("the test user's file could not be made");
  }
}

CKDatabase* UserSession::RunLogIn(CKDatabasesContainer& container) {
  CKDatabase* user = container.FindUser(kName);
  return user != nullptr && user->Load(kPassword) == 0 ? user : nullptr;
}

}  // namespace test
