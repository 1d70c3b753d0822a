#pragma once

#include <string>

class QWidget;

namespace ui {

// Lets the user pick a data folder with the folder browser and makes sure it exists (made with
// its parents, 0700). False when the user cancelled, or when the folder cannot be made, which
// has then been said with the "folder unusable" message. The folder ends in "/".
bool ChooseDataFolder(QWidget* parent, std::u16string& folder);

}  // namespace ui
