#include "support/test_core.h"

#include <QApplication>

#include "core/core.h"
#include "database/database.h"
#include "platform/profile_store.h"
#include "platform/program_folder.h"
#include "platform/utf.h"
#include "ui/hidden_dlg.h"
#include "ui/user_dialogs.h"

namespace test {

QueuedChoosers::QueuedChoosers() : previous_(platform::InstallChoosers(this)) {}

QueuedChoosers::~QueuedChoosers() {
  platform::InstallChoosers(previous_);
}

bool QueuedChoosers::Next(std::deque<std::filesystem::path>& queue, std::u16string& path) {
  if (queue.empty()) {
    return false;
  }
  path = queue.front().u16string();
  queue.pop_front();
  return true;
}

TestCore::TestCore(const KTestCoreOptions& options)
    : program_(root_.path() / "program"),
      data_(root_.path() / "data"),
      previous_profile_(platform::InstallProfile(&profile_)) {
  std::filesystem::create_directories(program_ / "Languages");
  std::filesystem::create_directories(data_);
  if (options.with_languages) {
    std::filesystem::copy(VQ_LANGUAGES_DIR, program_ / "Languages");
  }
  platform::SetProgramFolder(program_.u16string());
  profile_.WriteProfileString(u"RunTime Settings", u"m_csUserDataFolder", data_.u16string() + u"/");
  for (const auto& [key, value] :
       {std::pair{u"m_boolRunMinimised", options.start_minimised ? 1u : 0u},
        {u"m_boolSystemTray", 1u},
        {u"m_boolHotKey", options.hot_key ? 1u : 0u},
        {u"m_wordVirtKey", std::uint32_t{options.hot_key_code}},
        {u"m_wordKeyMod", std::uint32_t{options.hot_key_modifiers}},
        {u"m_boolStartUp", 0u}}) {
    profile_.WriteProfileInt(u"Interface Settings", key, value);
  }
  profile_.WriteProfileString(u"Interface Settings", u"m_csLastLogin", options.last_login);
  profile_.WriteProfileString(u"Interface Settings", u"m_csLanguage", options.language);
  dialogs_ = std::make_unique<CKUserDialogs>();
}

TestCore::~TestCore() {
  Stop();
  dialogs_.reset();
  platform::InstallProfile(previous_profile_);
  platform::SetProgramFolder(u"");
}

bool TestCore::Start() {
  return Start(std::make_unique<CKHiddenDlg>());
}

bool TestCore::Start(std::unique_ptr<CKHiddenWindow> hidden_window) {
  core_ = new CKCore(std::move(hidden_window));
  SetTheCore(core_);
  const bool started = core_->Init();
  if (started) {
    core_->m_SettingsRunTime.m_boolStartMinimised = core_->m_SettingsInterface.m_boolRunMinimised;
  }
  return started;
}

void TestCore::Stop() {
  if (core_ != nullptr) {
    SetTheCore(nullptr);
    delete core_;
    core_ = nullptr;
  }
}

std::filesystem::path TestCore::UserFile(const std::string& name) const {
  return data_ / (name + ".VaultQuill");
}

void TestCore::AddUser(const std::u16string& name, const std::u16string& password,
                       const std::u16string& memo) {
  WriteUserFile(data_ / (platform::ToUtf8(name) + ".VaultQuill"), name, password, memo);
  if (core_ != nullptr) {
    core_->m_Databases.Scan();
  }
}

std::string TestCore::MessageText(int entry, const std::string& value) const {
  std::u16string text;
  core_->m_Languages.GetText(0, static_cast<std::uint8_t>(entry), text);
  std::string message = platform::ToUtf8(text);
  if (const auto field = message.find("%s"); field != std::string::npos) {
    message.replace(field, 2, value);
  }
  return message;
}

void WriteUserFile(const std::filesystem::path& path, const std::u16string& name,
                   const std::u16string& password, const std::u16string& memo) {
  CKDatabase database;
  database.SetPath(path.u16string());
  database.SetName(name);
  database.SetMemo(memo);
  database.NewSalt();
  database.SetPassword(password);
  database.SetOpen(true);
  if (database.Save() != 0) {
    throw std::runtime_error("the user file could not be written");
  }
}

}  // namespace test
