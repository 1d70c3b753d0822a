#pragma once

#include <array>
#include <span>
#include <string_view>

#include "languages/text_ids.h"
#include "platform/format.h"

// The language's messages that the command-line tool shows where the desktop's editors and
// dialogs would, each with the English text that stands in when no language provides it.
namespace cli {

struct LanguageText {
  TextId id;
  std::u16string_view fallback;
};

inline constexpr LanguageText kNameNeeded{texts::kMsgNameNeeded, u"Please enter a name."};
inline constexpr LanguageText kNameInUse{
    texts::kMsgNameInUse,
    u"This folder already holds an entry with this name. Please choose another name."};
inline constexpr LanguageText kUserExists{
    texts::kMsgUserExists, u"A user named \"%s\" already exists. Please choose another name."};
inline constexpr LanguageText kCurrentPasswordWrong{texts::kMsgCurrentPasswordWrong,
                                                    u"The current password is not correct."};
inline constexpr LanguageText kUserNameNeeded{
    texts::kMsgUserNameNeeded, u"Please enter a user name, or choose an existing user."};
inline constexpr LanguageText kPasswordNeeded{
    texts::kMsgPasswordNeeded, u"The password is missing or not correct. Please enter it again."};
inline constexpr LanguageText kPasswordsDiffer{
    texts::kMsgPasswordsDiffer,
    u"The passwords do not match. Please type the same password in both fields."};
inline constexpr LanguageText kCannotMoveThere{
    texts::kMsgCannotMoveThere,
    u"The entry cannot be moved there. Choose a folder other than the one it is in, and not the "
    u"entry itself or one of its subfolders."};
inline constexpr LanguageText kNameExistsAtDestination{
    texts::kMsgNameExistsAtDestination,
    u"The destination folder already holds an entry with this name."};
inline constexpr LanguageText kMoveFailed{texts::kMsgMoveFailed, u"The entry could not be moved."};

// Shows the message (on standard error) with its fields filled.
void ShowLanguageMessage(const LanguageText& text, std::span<const platform::FormatValue> values);

template <typename... Values>
void ShowLanguageMessage(const LanguageText& text, const Values&... values) {
  const std::array<platform::FormatValue, sizeof...(Values)> list{platform::FormatValue(values)...};
  ShowLanguageMessage(text, std::span<const platform::FormatValue>(list));
}

}  // namespace cli
