// A user file opened with the password: whatever the bytes, the open gives one of its five
// results, and a file that opens gives trees that the program can show, search and write.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "crypto/crypto_file.h"
#include "database/database.h"
#include "database/entries.h"
#include "database/tree_io.h"
#include "files/memory_stream.h"
#include "user_file_common.h"

namespace {

// Key derivation is not what is fuzzed: iteration counts stay small so each run is quick.
constexpr std::uint16_t kMaxIterations = 8;

void Walk(CKTLVARRAY& entry) {
  database::GetName(entry);
  database::GetDescription(entry);
  database::GetKindWord(entry);
  database::MatchesText(entry, u"\u00e4x");
  for (CKTLVARRAY* folder : database::CollectFolders(entry)) {
    std::u16string path;
    database::GetDisplayPath(*folder, path);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (bytes.size() >= 12) {
    const unsigned iterations = bytes[10] | (bytes[11] << 8);
    bytes[10] = static_cast<std::uint8_t>(iterations % (kMaxIterations + 1));
    bytes[11] = 0;
  }
  // Inputs of even length are read through a mapping of the file, as long user files are.
  CKCryptoFile::SetMappingMinimum(size % 2 == 0 ? 0 : ~0ull);
  CKDatabase database;
  database.SetPath(fuzz::WriteUserFile(bytes.data(), bytes.size()));
  const int result = database.Load(u"fuzz");
  if (result < 0 || result > 4 || database.IsOpen() != (result == 0)) {
    __builtin_trap();
  }
  if (result != 0) {
    if (database.GetEntriesRoot().GetChildCount() != 0) {
      __builtin_trap();
    }
    return 0;
  }
  CKTLVARRAY& root = database.GetEntriesRoot();
  Walk(root);
  for (CKTLV* child : root.GetChildren()) {
    if (auto* entry = dynamic_cast<CKTLVARRAY*>(child)) {
      Walk(*entry);
    }
  }
  std::uint32_t number = 0;
  std::u16string text;
  database.GetNumberSetting(u"intPasswordLength", number, 14);
  database.GetTextSetting(u"stringDefaultLogin", text, u"");
  // What was read whole writes back.
  CKMemoryStream stream;
  if (!database::WriteTrees(stream, root, database.GetSettingsRoot())) {
    __builtin_trap();
  }
  return 0;
}
