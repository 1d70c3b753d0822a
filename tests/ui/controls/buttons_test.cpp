#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include "ui/controls/adv_button.h"
#include "ui/controls/button_st.h"
#include "ui/controls/control_ids.h"
#include "ui/controls/icons.h"

namespace {

TEST(GreyCopy, WeighsTheColoursAndKeepsTransparency) {
  QImage image(3, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(255, 0, 0, 255));
  image.setPixel(1, 0, qRgba(10, 200, 30, 128));
  image.setPixel(2, 0, qRgba(255, 255, 255, 0));
  const QImage grey = icons::GreyCopy(image);
  EXPECT_EQ(grey.pixel(0, 0), qRgba(76, 76, 76, 255));     // 0.299 * 255 = 76.2
  EXPECT_EQ(grey.pixel(1, 0), qRgba(123, 123, 123, 128));  // 3.0 + 117.4 + 3.4 = 123.8
  EXPECT_EQ(qAlpha(grey.pixel(2, 0)), 0);
}

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

TEST(ButtonST, ADisabledButtonDrawsTheGreyCopy) {
  CButtonST button;
  button.SetIcon(145);
  EXPECT_EQ(button.GetIconWidth(), 16);
  const QImage colour = button.CurrentImage().toImage();
  button.setEnabled(false);
  const QImage grey = button.CurrentImage().toImage().convertToFormat(QImage::Format_ARGB32);
  const QImage expected = icons::GreyCopy(colour);
  ASSERT_EQ(grey.size(), expected.size());
  int compared = 0;
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      if (qAlpha(expected.pixel(x, y)) == 255) {
        EXPECT_EQ(grey.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
        EXPECT_EQ(qRed(grey.pixel(x, y)), qBlue(grey.pixel(x, y)));
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 20);
  button.setEnabled(true);
  EXPECT_EQ(button.CurrentImage().toImage(), colour);
}

TEST(AdvButton, CheckingEnablesTheDependentsAndInvertingTurnsThatRound) {
  QWidget dialog;
  auto* box = new CKAdvButton(&dialog);
  auto* first = new QLineEdit(&dialog);
  auto* second = new QLineEdit(&dialog);
  auto* other = new QLineEdit(&dialog);
  controls::SetControlId(first, 605);
  controls::SetControlId(second, 606);
  controls::SetControlId(other, 607);
  box->AddDependent(605);
  box->AddDependent(606);
  box->AddDependent(999);  // no such control: ignored
  box->SetCheck(false);
  EXPECT_FALSE(first->isEnabled());
  EXPECT_FALSE(second->isEnabled());
  EXPECT_TRUE(other->isEnabled());
  dialog.show();
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
  EXPECT_TRUE(box->GetCheck());
  EXPECT_TRUE(first->isEnabled());
  EXPECT_TRUE(second->isEnabled());

  auto* toggle = new CKAdvToggleButton(&dialog);
  toggle->AddDependent(607);
  toggle->SetInvert(true);
  toggle->SetCheck(true);
  EXPECT_FALSE(other->isEnabled());
  toggle->click();
  EXPECT_FALSE(toggle->GetCheck());
  EXPECT_TRUE(other->isEnabled());
}

}  // namespace
