#pragma once

#include <string_view>

// The only texts the program carries itself: start-up failures shown before (or without) an
// active language.
namespace startup {

inline constexpr std::u16string_view kRichEditFailed = u"Can't init RichEdit control";
inline constexpr std::u16string_view kCoreInitFailed = u"Core Initialization failed";
inline constexpr std::u16string_view kNoLanguages = u"No Languages found";
inline constexpr std::u16string_view kCannotActivateLanguage = u"Can not activate language";

}  // namespace startup
