#include "languages/text_ids.h"

namespace texts {
namespace {

#define VQ_TEXT_ROW(name, group, entry, fields) KTextInfo{name, #name, fields, false},
#define VQ_SEPARATOR_ROW(name, group, entry) KTextInfo{name, #name, "", true},
constexpr KTextInfo kAllTexts[] = {VQ_LANGUAGE_TEXTS(VQ_TEXT_ROW, VQ_SEPARATOR_ROW)};
#undef VQ_TEXT_ROW
#undef VQ_SEPARATOR_ROW

}  // namespace

std::span<const KTextInfo> AllTexts() {
  return kAllTexts;
}

platform::MessageIcon MessageIconFor(std::uint8_t entry) {
  using platform::MessageIcon;
  const TextId id{0, entry};
  if (id == kMsgFileUnreadable || id == kMsgFolderUnusable || id == kMsgLanguageNotActivated ||
      id == kMsgMoveFailed || id == kMsgUserFileNewer || id == kMsgUserFileDamagedOrUnwritten ||
      id == kMsgDataFolderNotCreated || id == kMsgUserFileUnreadable || id == kMsgFileError) {
    return MessageIcon::Error;
  }
  if (id == kMsgNameNeeded || id == kMsgNameInUse || id == kMsgSelectEntryFirst ||
      id == kMsgUserExists || id == kMsgCurrentPasswordWrong || id == kMsgUserNameNeeded ||
      id == kMsgPasswordNeeded || id == kMsgPasswordsDiffer || id == kMsgFileTooLarge ||
      id == kMsgCannotMoveThere || id == kMsgNameExistsAtDestination || id == kMsgNoUsersInFolder) {
    return MessageIcon::Warning;
  }
  return MessageIcon::Information;
}

}  // namespace texts
