#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's icon resources by id: our own drawings, resources/icons/ID.svg, compiled into
// the program.
namespace icons {

// The icon; a null icon for an id the program has no drawing for.
QIcon Load(int id);
bool Exists(int id);
// The size the drawing was made for (16 x 16 for most); empty for an unknown id.
QSize NaturalSize(int id);
// The icon drawn at size x size pixels (device pixels follow the screen's scale).
QPixmap Pixmap(int id, int size);

// The program's own icons (the large one, the small one for the tray and title bars).
inline constexpr int kApplication = 100;
inline constexpr int kApplicationSmall = 141;

// The grey copy of an image that a disabled image button shows: every pixel's colour becomes
// grey = 0.299 red + 0.587 green + 0.114 blue, cut to a whole number; transparency stays.
QImage GreyCopy(const QImage& image);

}  // namespace icons
