#pragma once

#include <cstdint>
#include <string_view>

#include "platform/messages.h"

namespace database {

// The language's messages (group 0) and questions (group 1) that the user databases show,
// each with the English text that stands in while no language provides one. Texts come from
// language files, so their fields are filled by platform::Format, never by printf.
struct UserText {
  std::uint8_t entry;
  std::u16string_view fallback;
  platform::MessageIcon icon = platform::MessageIcon::Information;
};

inline constexpr UserText kMsgUserExists{8, u"A user named \"%s\" already exists.",
                                         platform::MessageIcon::Warning};
inline constexpr UserText kMsgFileTooLarge{
    13, u"This file is too large. Files of up to 16 MB can be attached.",
    platform::MessageIcon::Warning};
inline constexpr UserText kMsgFileUnreadable{14, u"The file \"%s\" cannot be read.",
                                             platform::MessageIcon::Error};
inline constexpr UserText kMsgUserFileNotWritten{
    24, u"The user file \"%s\" is damaged or could not be written completely.",
    platform::MessageIcon::Error};
inline constexpr UserText kAskRetrySave{
    2, u"Your changes could not be saved. Do you want to try again?",
    platform::MessageIcon::Question};

// A message with its "%s" field filled; the filled-in text is wiped once shown.
void ShowMessage(const UserText& message, std::u16string_view value);
// A Yes/No question; true for Yes.
bool Ask(const UserText& question);

}  // namespace database
