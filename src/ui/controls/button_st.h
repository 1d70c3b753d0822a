#pragma once

#include <QColor>
#include <QPixmap>
#include <QPushButton>

// A push button that shows an icon (and an optional text after it). A flat button draws its
// border only while the mouse is over it; a disabled one shows the icon in grey.
class CButtonST : public QPushButton {
  Q_OBJECT

 public:
  explicit CButtonST(QWidget* parent = nullptr);

  // Loads the icon resource at its natural size, makes its grey copy and redraws.
  void SetIcon(int icon_id);
  void SetFlat(bool flat);
  bool IsFlat() const { return flat_; }
  bool IsHover() const { return hover_; }
  int GetIconWidth() const { return icon_width_; }
  int GetIconHeight() const { return icon_height_; }
  // The image that drawing uses now: the grey copy while disabled.
  const QPixmap& CurrentImage() const { return isEnabled() ? icon_ : grey_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QPixmap icon_;
  QPixmap grey_;
  int icon_width_ = 0;
  int icon_height_ = 0;
  bool flat_ = true;
  bool hover_ = false;
};
