#include "ui/dialog_units.h"

#include <QFontMetrics>
#include <cmath>

namespace {

// value * numerator / denominator, rounded to the nearest whole number.
int Scale(int value, int numerator, int denominator) {
  return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

KDialogUnits::KDialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the 52 Latin letters, as the classic dialog manager measures it; a
  // font's own "average character width" figure varies too much between font files.
  static const QString kLetters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  base_x_ = std::max(1, (metrics.horizontalAdvance(kLetters) / 26 + 1) / 2);
  base_y_ = std::max(1, metrics.height());
}

int KDialogUnits::ToPixelsX(int units) const {
  return Scale(units, base_x_, 4);
}

int KDialogUnits::ToPixelsY(int units) const {
  return Scale(units, base_y_, 8);
}

QRect KDialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}
