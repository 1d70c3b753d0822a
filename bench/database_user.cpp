// The synthetic user of the database benchmarks, and the peak memory of loading it.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "database/database.h"
#include "database/entries.h"
#include "database_bench.h"
#include "elements/tags.h"
#include "platform/utf.h"

namespace database_bench {
namespace {

std::u16string Text(const std::string& text) {
  return platform::FromUtf8(text);
}

void Fill(CKDatabase& database) {
  std::mt19937 random(42);
  CKTLVARRAY& root = database.GetEntriesRoot();
  int note_number = 0;
  for (int f = 0; f < kFolders; ++f) {
    CKTLVARRAY* folder = database::CreateEntry(root, ENTRY_FOLDER);
    root.AddChild(folder);
    folder->SetStringByTag(TAG_NAME, Text("Folder " + std::to_string(f)).c_str());
    for (int n = 0; n < kNotesPerFolder; ++n, ++note_number) {
      const std::string number = std::to_string(note_number);
      CKTLVARRAY* note = database::CreateEntry(*folder, ENTRY_NOTE);
      folder->AddChild(note);
      note->SetStringByTag(TAG_NAME, Text("Account " + number + " \xc3\xa9t\xc3\xa9").c_str());
      note->SetStringByTag(TAG_LOGIN, Text("user" + number).c_str());
      std::string password;
      for (int i = 0; i < 16; ++i) {
        password += static_cast<char>('!' + random() % 90);
      }
      note->SetStringByTag(TAG_PASSWORD, Text(password).c_str());
      note->SetStringByTag(TAG_URL, Text("https://site" + number + ".example.invalid/").c_str());
      note->SetStringByTag(TAG_EMAIL, Text("user" + number + "@example.invalid").c_str());
      note->SetStringByTag(TAG_TEXT, Text("Security questions, recovery codes and notes for "
                                          "account " +
                                          number + ", kept since the account was opened.")
                                         .c_str());
      if (note_number < kAttachments) {
        CKTLVARRAY* attachment = database::CreateEntry(*note, ENTRY_ATTACHMENT);
        note->AddChild(attachment);
        attachment->SetStringByTag(TAG_FILE_NAME, Text("scan" + number + ".pdf").c_str());
        attachment->SetDwordByTag(TAG_FILE_SIZE, kAttachmentSize);
        auto* data = static_cast<std::uint8_t*>(
            attachment->FindChild(TAG_FILE_DATA)->GetBuffer(kAttachmentSize));
        for (std::uint32_t i = 0; i < kAttachmentSize; ++i) {
          data[i] = static_cast<std::uint8_t>(random());
        }
      }
    }
  }
  for (const char16_t* name : {u"boolLogOutOnMinimize", u"boolCleanClipboardOnExit",
                               u"boolHidePasswords", u"boolAutoFillNewNotesWithDefaults"}) {
    database.SetNumberSetting(name, 1);
  }
  database.SetTextSetting(u"stringDefaultLogin", u"me");
}

std::string Folder() {
  static const std::string folder = [] {
    // In memory where the system has it: the figures are the program's, not the disk's.
    std::string pattern = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    pattern += "/vq-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    static const std::string to_remove = pattern;
    std::atexit([] { std::filesystem::remove_all(to_remove); });
    return pattern;
  }();
  return folder;
}

std::uint64_t StatusField(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(prefix, 0) == 0) {
      return std::stoull(line.substr(prefix.size())) * 1024;
    }
  }
  return 0;
}

}  // namespace

const UserFile& SyntheticUser() {
  static const UserFile file = [] {
    UserFile made;
    const std::string path = Folder() + "/Bench.VaultQuill";
    made.path = platform::FromUtf8(path);
    made.iterations = userfile::kNewUserIterations;
    const pid_t child = fork();
    if (child == 0) {
      CKDatabase database;
      database.SetPath(made.path);
      database.SetMemo(u"the usual");
      database.NewSalt();
      database.SetPassword(kPassword);
      database.SetOpen(true);
      Fill(database);
      std::_Exit(database.Save() == 0 ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "could not make the synthetic user\n");
      std::abort();
    }
    made.file_size = std::filesystem::file_size(path);
    made.stream_size = made.file_size - 64 - 2 * std::u16string_view(u"the usual").size();
    return made;
  }();
  return file;
}

std::uint64_t MeasureLoadPeakMemory() {
  const UserFile& file = SyntheticUser();
  const std::uint64_t before = StatusField("VmRSS");
  {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";  // the peak starts again from the present size
  }
  {
    CKDatabase database;
    database.SetPath(file.path);
    if (database.Load(kPassword) != 0) {
      std::abort();
    }
  }
  const std::uint64_t peak = StatusField("VmHWM");
  return peak > before ? peak - before : 0;
}

}  // namespace database_bench
