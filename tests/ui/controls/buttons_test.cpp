// The icons the windows name, and the image button that draws a grey copy when disabled.
#include <gtest/gtest.h>

#include "ui/controls/button_st.h"
#include "ui/controls/icons.h"

namespace {

TEST(Icons, EveryIconTheWindowsNameIsDrawnAndUnknownIdsGiveNone) {
  for (const int id : {100, 113, 114, 115, 116, 117, 126, 127, 128, 129, 130,
                       131, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150}) {
    ASSERT_TRUE(icons::Exists(id)) << id;
    const QImage image = icons::Pixmap(id, 16).toImage();
    ASSERT_EQ(image.size(), QSize(16, 16) * image.devicePixelRatio()) << id;
    // Something is drawn, and not edge to edge in one colour.
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
      }
    }
    EXPECT_GT(opaque, 20) << id;
    EXPECT_LT(opaque, image.width() * image.height()) << id;
  }
  EXPECT_EQ(icons::NaturalSize(127), QSize(16, 16));
  EXPECT_FALSE(icons::Exists(999));
  EXPECT_TRUE(icons::Load(999).isNull());
}

TEST(ButtonST, ADisabledButtonDrawsAGreyCopyWithTheTransparencyKept) {
  CButtonST button;
  button.SetIcon(145);
  EXPECT_EQ(button.GetIconWidth(), 16);
  const QImage colour = button.CurrentImage().toImage().convertToFormat(QImage::Format_ARGB32);
  button.setEnabled(false);
  const QImage grey = button.CurrentImage().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(grey.size(), colour.size());
  int coloured = 0;
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb before = colour.pixel(x, y);
      const QRgb after = grey.pixel(x, y);
      EXPECT_NEAR(qAlpha(after), qAlpha(before), 1);
      if (qAlpha(before) == 255) {
        // Grey, weighed as the eye sees the colours.
        EXPECT_TRUE(qRed(after) == qGreen(after) && qGreen(after) == qBlue(after));
        EXPECT_NEAR(qRed(after),
                    0.299 * qRed(before) + 0.587 * qGreen(before) + 0.114 * qBlue(before), 1.0);
        coloured += qRed(before) != qBlue(before) ? 1 : 0;
      }
    }
  }
  EXPECT_GT(coloured, 20);
  button.setEnabled(true);
  EXPECT_EQ(button.CurrentImage().toImage().convertToFormat(QImage::Format_ARGB32), colour);
}

}  // namespace
