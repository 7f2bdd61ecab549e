// Draws a frame with a child window that holds a list, and writes it to a
// PNG in the test's working folder so the drawing can be looked at.

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include "platform/qt/images.h"
#include "platform/qt/resources.h"
#include "platform/qt/widgets.h"
#include "qt_fixture.h"

namespace platform::qt::test {
namespace {

class Render : public QtTest {};

TEST_F(Render, AFrameWithAChildHoldingAListGoesToAPng) {
  // A tiled background picture of two colours, as the frame's.
  QTemporaryDir dir;
  QImage tile(16, 16, QImage::Format_RGB32);
  tile.fill(QColor(40, 70, 120));
  for (int i = 0; i < 16; ++i) tile.setPixel(i, i, qRgb(200, 200, 230));
  ASSERT_TRUE(tile.save(dir.filePath("back.png")));
  setResourceDir(dir.path().toStdString());
  clearImageCache();

  WindowSpec frameSpec = windowSpec("Dalmoor - Pellmark  Software -  An easy way to do your billing !",
                                    WindowKind::Frame, {0, 0, 520, 300});
  frameSpec.backgroundPicture = "back.png";
  frameSpec.backgroundTiled = true;
  frameSpec.statusZones = {-1, 80, 120, 45};
  Script frame{frameSpec,
               {ctl(-2, ControlKind::Menu, "&File"), ctl(-5, ControlKind::Item, "E&xit", {}, -2),
                ctl(-10, ControlKind::Menu, "&Browse"), ctl(-11, ControlKind::Item, "OPEN MY CASE FILES", {}, -10),
                ctl(-36, ControlKind::Toolbar), ctl(-37, ControlKind::Button, "OPEN MY CASE FILES", {0, 0, 128, 26}, -36)},
               {}, {}, nullptr, false};
  start(frame);
  must(desk->frameWidget())->resize(900, 560);

  WindowSpec listSpec = windowSpec("CASE FILE", WindowKind::Child, {8, 8, 330, 200});
  listSpec.background = rgb(192, 192, 192);
  ControlSpec band = ctl(20, ControlKind::Box, "", {0, 0, 330, 16});
  band.fill = rgb(0, 0, 0);
  ControlSpec selected = ctl(21, ControlKind::String, "Case Selected:", {4, 3, 60, 10});
  selected.fontColor = rgb(255, 255, 255);
  ControlSpec name = ctl(22, ControlKind::String, "United States v. Doe", {66, 1, 200, 14});
  name.font = Font{"Arial", 14, false, false, 0};
  name.fontColor = rgb(255, 255, 255);
  ControlSpec vertical = ctl(23, ControlKind::String, "CASE FILES", {2, 40, 12, 80});
  vertical.font = Font{"", 10, true, false, 900};
  ControlSpec list = ctl(1, ControlKind::List, "", {18, 40, 300, 110});
  list.vscroll = true;
  list.columns = {{80, Justify::Left, "Case Number", Justify::Left, "s20"},
                  {140, Justify::Left, "Case Name", Justify::Left, "s100"},
                  {70, Justify::Right, "Hourly Rate", Justify::Center, "N$-10.2B"}};
  ControlSpec change = ctl(2, ControlKind::Button, "CASE CLOSING SUMMARY AND CJA20 FORM", {18, 160, 150, 16});
  change.defaultButton = true;
  ControlSpec fresh = ctl(4, ControlKind::String, "NEW CASE", {180, 164, 60, 10});
  fresh.fontColor = rgb(255, 0, 0);
  Script s{listSpec,
           {band, selected, name, vertical, list, change, ctl(3, ControlKind::Button, "&DELETE CASE", {180, 180, 60, 14}),
            fresh},
           {}, {}, nullptr, false};
  s.handler = [](Window& w, const Event& e) {
    if (e.kind == EventKind::OpenWindow) {
      w.control(1).setRows({{"1:07-cr-00012", "United States v. Doe", "$125.00"},
                            {"1:07-cr-00044", "United States v. Roe", "$110.00"},
                            {"1:06-cr-00310", "United States v. Poe", "$125.00"}});
      w.control(1).setSelected(1);
    }
    return EventLevel::Continue;
  };
  start(s);

  QMainWindow* main = must(desk->frameWidget());
  QImage shot = main->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  EXPECT_TRUE(shot.save("desktop_frame_with_list.png"));
  EXPECT_TRUE(QFile::exists("desktop_frame_with_list.png"));

  // The child stands over the tiled background, the list's first row is
  // drawn selected, the band black.
  auto* lw = must(qobject_cast<ListWidget*>(desk->controlWidget(*s.window, 1)));
  const QRect row = lw->table()->visualRect(lw->table()->model()->index(0, 1));
  const QPoint inRow = lw->table()->viewport()->mapTo(main, row.topLeft() + QPoint(2, 2));
  EXPECT_EQ(shot.pixelColor(inRow), lw->table()->palette().color(QPalette::Active, QPalette::Highlight));
  QWidget* bandWidget = must(desk->controlWidget(*s.window, 20));
  EXPECT_EQ(shot.pixelColor(bandWidget->mapTo(main, QPoint(bandWidget->width() - 3, 2))), QColor(0, 0, 0));
  const QPoint background = must(desk->mdiArea())->mapTo(main, QPoint(must(desk->mdiArea())->width() - 3,
                                                                       must(desk->mdiArea())->height() - 3));
  const QColor back = shot.pixelColor(background);
  EXPECT_TRUE(back == QColor(40, 70, 120) || back == QColor(200, 200, 230));
  setResourceDir({});
  clearImageCache();
}

// A whole picture keeps its proportions, stands centred, and is scaled
// smoothly; at its own size it is drawn as it is. The picture: one-pixel
// black and white stripes, 200 by 100, on a red background.
TEST(Picture, AWholePictureKeepsItsProportionsAndIsScaledSmoothly) {
  QImage stripes(200, 100, QImage::Format_RGB32);
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 100; ++y) stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  struct Case {
    QSize widget;
    QRect drawn;
  } cases[] = {{{200, 100}, {0, 0, 200, 100}}, {{300, 300}, {0, 75, 300, 150}}, {{100, 200}, {0, 75, 100, 50}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.widget.width());
    QWidget back;
    back.setAutoFillBackground(true);
    QPalette red = back.palette();
    red.setColor(QPalette::Window, Qt::red);
    back.setPalette(red);
    back.resize(c.widget);
    auto* image = new ImageWidget(&back);
    image->setPixmap(QPixmap::fromImage(stripes));
    image->setGeometry(back.rect());
    EXPECT_EQ(image->pictureRect(), c.drawn);
    const QImage shot = back.grab().toImage();
    const QPoint middle = c.drawn.center();
    if (c.drawn.top() > 0) {
      EXPECT_EQ(shot.pixelColor(middle.x(), c.drawn.top() / 2), QColor(Qt::red));
    }
    const QColor seen = shot.pixelColor(middle);
    if (c.drawn.size() == stripes.size()) {
      EXPECT_EQ(seen, stripes.pixelColor(middle)) << "drawn as it is";
    } else {
      // Smoothly scaled, neighbouring stripes blend: neither black nor white.
      EXPECT_GT(seen.red(), 40);
      EXPECT_LT(seen.red(), 215);
    }
  }
}

}  // namespace
}  // namespace platform::qt::test
