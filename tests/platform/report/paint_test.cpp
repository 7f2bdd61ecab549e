// Painting a page: the same function for every device.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "platform/report/paint.h"
#include "platform/report/text_metrics.h"
#include "tests/platform/report/gui_app.h"

namespace {

using namespace platform::report;

int darkPixels(const QImage& image, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++n;
  return n;
}

TEST(PaintPage, ItemsLandWhereTheirRectanglesSayAtAnyScale) {
  Page page;  // portrait: 8500 by 11000
  PageItem box;
  box.kind = ItemKind::Box;
  box.rect = {1000, 1000, 2000, 1000};
  box.fill = Black;
  PageItem text;
  text.text = "IN-COURT WORKSHEET";
  text.font = {"Arial", 14, true};
  text.rect = {1000, 3000, 4000, 300};
  page.items = {box, text};
  for (int widthPixels : {425, 850}) {
    SCOPED_TRACE(widthPixels);
    const double k = widthPixels / 8500.0;
    QImage image(widthPixels, static_cast<int>(11000 * k), QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    paintPage(painter, page, QRectF(0, 0, image.width(), image.height()));
    painter.end();
    auto px = [k](int v) { return static_cast<int>(v * k); };
    const QRect inBox(px(1000) + 2, px(1000) + 2, px(2000) - 4, px(1000) - 4);
    EXPECT_EQ(darkPixels(image, inBox), inBox.width() * inBox.height());
    // The sheet is white around the items; the text stays in its box.
    EXPECT_EQ(qGray(image.pixel(px(6000), px(1500))), 255);
    const QRect textBox(px(1000), px(3000), px(4000), px(300));
    const int inside = darkPixels(image, textBox);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(darkPixels(image, textBox.adjusted(-6, -6, 6, 6)), inside);
  }
}

// A line a little wider on the device than its box (the screen's hinted
// glyphs against the print measure) keeps its last letters: it is drawn
// narrowed to the box, not cut at the box's edge.
TEST(PaintPage, ALineWiderOnTheDeviceThanItsBoxIsNarrowedNotCut) {
  Page page;
  PageItem text;
  // Dense letters, then light dots: cut, the box holds only letters; whole,
  // its right end holds the dots.
  text.text = "MMMMMMMMMM..........";
  text.font = {"Arial", 10};
  const int widthPixels = 850;
  const double k = widthPixels / 8500.0;
  QImage probe(widthPixels, static_cast<int>(11000 * k), QImage::Format_RGB32);
  QFont f = qtFont(text.font);
  f.setPointSizeF(10 * 1000.0 * k / probe.logicalDpiX());
  const double wide = QFontMetricsF(f, &probe).horizontalAdvance(QString::fromStdString(text.text));
  // The box takes 60% of the line's width on this device.
  const int boxWidth = static_cast<int>(wide * 0.6 / k);
  text.rect = {1000, 1000, boxWidth, 300};
  page.items = {text};
  QImage image = probe;
  image.fill(Qt::white);
  QPainter painter(&image);
  paintPage(painter, page, QRectF(0, 0, image.width(), image.height()));
  painter.end();
  auto px = [k](int v) { return static_cast<int>(v * k); };
  const int quarter = px(boxWidth) / 4;
  const QRect left(px(1000), px(1000), quarter, px(300));
  const QRect right(px(1000) + px(boxWidth) - quarter, px(1000), quarter, px(300));
  EXPECT_GT(darkPixels(image, left), 0);
  EXPECT_LT(darkPixels(image, right) * 2, darkPixels(image, left));
  // Nothing beyond the box.
  const QRect after(px(1000) + px(boxWidth) + 2, px(1000), 40, px(300));
  EXPECT_EQ(darkPixels(image, after), 0);
}

}  // namespace
