#pragma once

#include <QUrl>
#include <string_view>

// Opening a note's web address in the desktop's browser.
namespace main_window {

// The address as the browser gets it: "www.example.org" becomes "http://www.example.org".
// Empty for anything that is not a web address (a local file, a program, another scheme):
// the address is user data and must never start a program.
QUrl WebAddressUrl(std::u16string_view address);
// Opens it; false when it is no web address or nothing could open it.
bool OpenWebAddress(std::u16string_view address);

}  // namespace main_window
