#pragma once

#include <QFont>
#include <QRect>

// Dialog units as the templates measure: a horizontal unit is a quarter of the dialog font's
// average character width, a vertical unit an eighth of its character height.
class KDialogUnits {
 public:
  explicit KDialogUnits(const QFont& font);
  KDialogUnits(int base_width, int base_height) : base_x_(base_width), base_y_(base_height) {}

  int BaseX() const { return base_x_; }
  int BaseY() const { return base_y_; }
  int ToPixelsX(int units) const;
  int ToPixelsY(int units) const;
  QRect ToPixels(int x, int y, int width, int height) const;

 private:
  int base_x_;
  int base_y_;
};
