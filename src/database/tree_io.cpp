#include "database/tree_io.h"

#include "crypto/crypto_file.h"
#include "crypto/user_file.h"
#include "elements/stream_io.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"

namespace database {
namespace {

constexpr std::uint64_t kHeaderWordSize = 4;

bool ReadRoot(CKCryptoFile& stream, CKTLVARRAY& root, std::uint32_t tag) {
  std::uint8_t bytes[kHeaderWordSize];
  if (!elements::ReadExactly(stream, bytes, sizeof bytes)) {
    return false;
  }
  const std::uint32_t word = elements::LoadLittleEndian32(bytes);
  const std::uint32_t word_tag = (word >> 8) & CKTLV::kMaxTag;
  if ((word & 0xFF) != TLV_ARRAY || (word_tag != 0 && word_tag != tag)) {
    return false;
  }
  root.SetHeaderWord(word);
  // An array that breaks off inside a child keeps the children before it and may still pass
  // its schema check.
  if (!root.Read(stream) || !root.IsWhole()) {
    return false;
  }
  root.SetTag(tag);
  return true;
}

}  // namespace

int ReadTrees(CKCryptoFile& stream, CKTLVARRAY& entries, CKTLVARRAY& settings) {
  bool whole = false;
  try {
    whole = ReadRoot(stream, entries, ENTRY_ROOT) && ReadRoot(stream, settings, SETTINGS_ROOT);
  } catch (...) {
    whole = false;
  }
  try {
    stream.Settle();  // the attachments deciphered on the stream's second thread
  } catch (...) {
  }
  if (stream.FileFailed()) {
    return userfile::kUnreadable;
  }
  return whole && !stream.ReachedEnd() ? userfile::kOpened : userfile::kDamaged;
}

bool WriteTrees(CKFile& stream, CKTLVARRAY& entries, CKTLVARRAY& settings) {
  for (auto [root, tag] : {std::pair{&entries, ENTRY_ROOT}, std::pair{&settings, SETTINGS_ROOT}}) {
    if (root->GetTag() == 0) {
      root->SetTag(tag);
    }
    std::uint8_t bytes[kHeaderWordSize];
    elements::StoreLittleEndian32(root->GetHeaderWord(), bytes);
    if (!stream.Write(bytes, sizeof bytes) || !root->Write(stream)) {
      return false;
    }
  }
  return true;
}

}  // namespace database
