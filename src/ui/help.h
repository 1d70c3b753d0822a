#pragma once

#include <QString>

// The help pages: html/PAGE.html beside the program, opened in the desktop's browser.
namespace help {

// The page's path beside the program.
QString PagePath(const QString& page);
// Opens the page; false (and nothing shown) when the page is missing or nothing can open it.
bool ShowPage(const QString& page);

}  // namespace help
