#include "database/attachment_import.h"

#include "database/file_paths.h"
#include "database/user_messages.h"
#include "elements/scalars.h"
#include "elements/schema.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "files/file.h"

namespace database {
namespace {

constexpr std::uint64_t kFileTimeUnitsPerSecond = 10'000'000;

// Whole seconds since 1601, low 32 bits, as the attachment keeps its file times.
std::uint32_t StoredTime(std::uint64_t file_time) {
  return static_cast<std::uint32_t>(file_time / kFileTimeUnitsPerSecond);
}

bool Refuse(const std::u16string& path) {
  ShowMessage(kMsgFileUnreadable, path);
  return false;
}

}  // namespace

bool ImportAttachment(CKTLVARRAY& attachment, const std::u16string& path) {
  CKTLV* data = attachment.FindChild(TAG_FILE_DATA);
  if (data == nullptr || dynamic_cast<CKTLVBINARY*>(data) == nullptr) {
    return Refuse(path);
  }
  try {
    CKFile file(true, true);
    if (!file.Open(path, CKFile::modeRead | CKFile::shareDenyNone)) {
      return Refuse(path);
    }
    std::uint64_t size = 0;
    file.GetLength(size);
    if (size > CKTLVBINARY::kMaxBytes) {
      ShowMessage(kMsgFileTooLarge, path);
      return false;
    }
    const auto bytes = static_cast<std::uint32_t>(size);
    if (bytes != 0) {
      // Content that cannot be held whole is refused: an attachment without it would lose the
      // file without a trace.
      void* buffer = data->GetBuffer(bytes);
      std::uint32_t got = 0;
      if (buffer == nullptr || !file.Read(buffer, bytes, &got) || got != bytes) {
        return Refuse(path);
      }
    }
    std::uint64_t created = 0;
    std::uint64_t modified = 0;
    file.GetFileTime(&created, nullptr, &modified);
    file.Close();
    const std::u16string name(FileNameOf(path));
    if (!attachment.SetDwordByTag(TAG_FILE_SIZE, bytes) ||
        !attachment.SetDwordByTag(TAG_FILE_CREATED, StoredTime(created)) ||
        !attachment.SetDwordByTag(TAG_FILE_MODIFIED, StoredTime(modified)) ||
        !attachment.SetStringByTag(TAG_FILE_NAME, name.c_str())) {
      return false;
    }
  } catch (...) {
    return false;  // the file class has shown what failed
  }
  return CheckSchema(attachment);
}

}  // namespace database
