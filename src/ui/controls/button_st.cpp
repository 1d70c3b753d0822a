#include "ui/controls/button_st.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/controls/icons.h"

namespace {

// Space between the left edge and the icon, and between the icon and the text.
constexpr int kIconMargin = 3;

}  // namespace

CButtonST::CButtonST(QWidget* parent) : QPushButton(parent) {
  setAttribute(Qt::WA_Hover);
}

void CButtonST::SetIcon(int icon_id) {
  const QSize natural = icons::NaturalSize(icon_id);
  icon_width_ = natural.width();
  icon_height_ = natural.height();
  icon_ = icons::Pixmap(icon_id, icon_width_);
  QImage grey = icons::GreyCopy(icon_.toImage());
  grey.setDevicePixelRatio(icon_.devicePixelRatio());
  grey_ = QPixmap::fromImage(grey);
  update();
}

void CButtonST::SetFlat(bool flat) {
  flat_ = flat;
  update();
}

QSize CButtonST::sizeHint() const {
  const QSize text_size = text().isEmpty() ? QSize() : fontMetrics().size(0, text());
  const int width = kIconMargin + icon_width_ + (text().isEmpty() ? kIconMargin : kIconMargin * 2) +
                    text_size.width();
  return {width + 4, std::max(icon_height_, text_size.height()) + 8};
}

void CButtonST::enterEvent(QEnterEvent* event) {
  QPushButton::enterEvent(event);
  if (QApplication::activeWindow() != nullptr && !hover_) {
    hover_ = true;
    update();
  }
}

void CButtonST::leaveEvent(QEvent* event) {
  QPushButton::leaveEvent(event);
  if (hover_) {
    hover_ = false;
    update();
  }
}

void CButtonST::focusOutEvent(QFocusEvent* event) {
  QPushButton::focusOutEvent(event);
  hover_ = false;
  update();
}

void CButtonST::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  const bool pressed = isDown() || isChecked();
  if (!flat_ || hover_ || pressed) {
    option.features &= ~QStyleOptionButton::Flat;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
  }

  const QPixmap& image = CurrentImage();
  const int shift = pressed ? 1 : 0;
  const QSize image_size = image.isNull() ? QSize(0, 0) : image.deviceIndependentSize().toSize();
  int x = 0;
  if (text().isEmpty()) {
    x = (width() - image_size.width()) / 2;
  } else {
    x = kIconMargin;
  }
  const int y = (height() - image_size.height()) / 2;
  if (!image.isNull()) {
    painter.drawPixmap(x + shift, y + shift, image);
  }
  if (!text().isEmpty()) {
    const int text_left = x + image_size.width() + kIconMargin;
    const QRect text_rect(text_left + shift, shift, width() - text_left, height());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(text_rect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
  }
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}
