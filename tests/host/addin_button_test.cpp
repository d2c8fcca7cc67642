// The add-in's button face and its greys in the system's colours.
#include <QPalette>
#include <QSet>

#include <gtest/gtest.h>

#include "host/addin_button.h"

namespace vlm::test {
namespace {

TEST(AddinButtonTest, TheFaceIsSixteenPixelsSquareInTheThreeGreysAndSomeColours) {
  const QImage face = host::addinButtonFace();
  ASSERT_EQ(face.size(), QSize(16, 16));
  QSet<QRgb> colours;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) colours.insert(face.pixel(x, y));
  EXPECT_TRUE(colours.contains(qRgb(192, 192, 192)));
  EXPECT_TRUE(colours.contains(qRgb(128, 128, 128)));
  EXPECT_TRUE(colours.contains(qRgb(223, 223, 223)));
  EXPECT_GE(colours.size(), 6) << "the objects have colours of their own";
  EXPECT_EQ(face.pixel(0, 0), qRgb(192, 192, 192)) << "the corners are the control's face";
}

TEST(AddinButtonTest, TheGreysTakeTheSystemsColoursAndNothingElseChanges) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(10, 20, 30));
  palette.setColor(QPalette::Dark, QColor(1, 2, 3));
  palette.setColor(QPalette::Midlight, QColor(240, 230, 220));
  const QImage face = host::addinButtonFace();
  const QImage mapped = host::withSystemColours(face, palette);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const QRgb before = face.pixel(x, y);
      const QRgb after = mapped.pixel(x, y);
      if (before == qRgb(192, 192, 192))
        EXPECT_EQ(after, qRgb(10, 20, 30));
      else if (before == qRgb(128, 128, 128))
        EXPECT_EQ(after, qRgb(1, 2, 3));
      else if (before == qRgb(223, 223, 223))
        EXPECT_EQ(after, qRgb(240, 230, 220));
      else
        EXPECT_EQ(after, before);
    }
}

}  // namespace
}  // namespace vlm::test
