// Fonts, dialog units, colours, the built-in pictures and the loaders.

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <QBuffer>
#include <QFontDatabase>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>

#include "platform/qt/fonts.h"
#include "platform/qt/images.h"
#include "platform/qt/jpeg.h"
#include "platform/qt/look.h"
#include "platform/qt/resources.h"
#include "qt_fixture.h"

namespace platform::qt::test {
namespace {

TEST(Fonts, NamedFacesMapToInstalledFamilies) {
  struct Case {
    const char* face;
    const char* family;
  } cases[] = {{"MS Sans Serif", "Liberation Sans"}, {"ms sans serif", "Liberation Sans"}, {"Arial", "Liberation Sans"},
               {"Verdana", "DejaVu Sans"},           {"Courier", "Liberation Mono"},    {"Gothic", "Gothic"}};
  for (const Case& c : cases) EXPECT_EQ(installedFamily(c.face), c.family) << c.face;
  // Every family of the table is installed here, as the program needs it.
  for (const FontSubstitute& s : fontSubstitutes())
    EXPECT_TRUE(QFontDatabase::families().contains(QString::fromLatin1(s.family))) << s.family;
}

TEST(Fonts, ModelFontsOverTheWindowsFont) {
  const QFont base = windowFont(Font{});
  EXPECT_EQ(base.family(), "Liberation Sans");
  EXPECT_EQ(base.pointSize(), 8);
  QFont f = toQFont(Font{"Arial", 14, true, false, 0}, base);
  EXPECT_EQ(f.family(), "Liberation Sans");
  EXPECT_EQ(f.pointSize(), 14);
  EXPECT_TRUE(f.bold());
  QFont same = toQFont(Font{"", 0, false, true, 0}, windowFont(Font{"Verdana", 10, false, false, 0}));
  EXPECT_EQ(same.family(), "DejaVu Sans");
  EXPECT_EQ(same.pointSize(), 10);
  EXPECT_TRUE(same.italic());
}

TEST(DialogUnits, QuarterOfTheAverageLetterAndEighthOfTheHeight) {
  DialogUnits du{6, 13};
  EXPECT_EQ(du.toX(4), 6);
  EXPECT_EQ(du.toY(8), 13);
  EXPECT_EQ(du.toX(654), 981);
  EXPECT_EQ(du.toY(318), 517);  // 516.75 rounds up
  EXPECT_EQ(du.toPixels(Rect{4, 8, 40, 16}), QRect(6, 13, 60, 26));
  for (int v : {0, 1, 7, 130, 654}) {
    EXPECT_EQ(du.fromX(du.toX(v)), v);
    EXPECT_EQ(du.fromY(du.toY(v)), v);
  }
  EXPECT_EQ(du.toX(-10), -15);
  // From a real font: the letters' average and the height.
  const QFont font = windowFont(Font{});
  const DialogUnits real = DialogUnits::of(font);
  EXPECT_EQ(real.baseY, QFontMetrics(font).height());
  EXPECT_GT(real.baseX, 2);
  EXPECT_LT(real.baseX, real.baseY);
}

TEST(Colours, BgrValuesSystemColoursAndNone) {
  EXPECT_FALSE(toQColor(NoColor).isValid());
  EXPECT_EQ(toQColor(0x270F71), QColor(0x71, 0x0F, 0x27));
  EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(toQColor(0xC0C0C0), QColor(192, 192, 192));
  // A system colour index that names none paints black.
  EXPECT_EQ(toQColor(static_cast<Color>(0xFEBC3E81u)), QColor(0, 0, 0));
}

TEST(Labels, MnemonicsAreNotShown) {
  EXPECT_EQ(withoutMnemonics("&1) Case Name"), "1) Case Name");
  EXPECT_EQ(withoutMnemonics("Smith && Jones"), "Smith & Jones");
  EXPECT_EQ(withoutMnemonics("plain"), "plain");
  EXPECT_EQ(withoutMnemonics("end&"), "end");
}

TEST(Resources, EveryPictureTheWindowsNameIsBuiltIntoTheProgram) {
  // Whatever folder the program runs in or was built in.
  QTemporaryDir elsewhere;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.path().toStdString());
  setResourceDir({});
  clearImageCache();
  for (const char* picture : {"logoBack.jpg", "box21.jpg", "lanv.gif"})
    EXPECT_FALSE(loadImage(picture).isNull()) << picture;
  for (const char* icon : {"docs black.ico", "Blank.ico", "folder.ico", "car.ico", "key.ico", "help.ico", "calendar.ico"})
    EXPECT_FALSE(loadIcon(icon).isNull()) << icon;
  EXPECT_EQ(cursorFor(CursorShape::Hand).shape(), Qt::BitmapCursor);
  std::filesystem::current_path(before);

  // A name with a folder is a file on disk; a test's folder stands in for
  // the built-in files.
  EXPECT_EQ(resourcePath("/elsewhere/x.gif"), QStringLiteral("/elsewhere/x.gif"));
  setResourceDir("/some/folder");
  EXPECT_EQ(resourcePath("logoBack.jpg"), QStringLiteral("/some/folder/logoBack.jpg"));
  setResourceDir({});
  EXPECT_EQ(resourcePath("logoBack.jpg"), QStringLiteral(":/lanvik/logoBack.jpg"));
}

// A small JPEG, written with libjpeg: `components` 1 (grey) or 3 (colour).
QByteArray encodeJpeg(int width, int height, int components, int quality = 95) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
  while (cinfo.next_scanline < cinfo.image_height) {
    // Left half red (or dark), right half blue (or light).
    for (int x = 0; x < width; ++x) {
      unsigned char* px = &row[static_cast<std::size_t>(x * components)];
      const bool left = x < width / 2;
      if (components == 1) {
        px[0] = left ? 30 : 220;
      } else {
        px[0] = left ? 220 : 20;
        px[1] = 20;
        px[2] = left ? 20 : 220;
      }
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
  std::free(out);
  return bytes;
}

bool near(QRgb a, QColor b) {
  return std::abs(qRed(a) - b.red()) < 24 && std::abs(qGreen(a) - b.green()) < 24 && std::abs(qBlue(a) - b.blue()) < 24;
}

TEST(Jpeg, DecodesColourAndGrey) {
  QImage colour = decodeJpeg(encodeJpeg(32, 16, 3));
  ASSERT_FALSE(colour.isNull());
  EXPECT_EQ(colour.size(), QSize(32, 16));
  EXPECT_TRUE(near(colour.pixel(4, 8), QColor(220, 20, 20)));
  EXPECT_TRUE(near(colour.pixel(28, 8), QColor(20, 20, 220)));
  QImage grey = decodeJpeg(encodeJpeg(16, 8, 1));
  ASSERT_FALSE(grey.isNull());
  EXPECT_TRUE(near(grey.pixel(2, 4), QColor(30, 30, 30)));
  EXPECT_TRUE(near(grey.pixel(14, 4), QColor(220, 220, 220)));
}

TEST(Jpeg, DamagedDataGivesANullImageAndTheReason) {
  QByteArray good = encodeJpeg(32, 16, 3);
  struct Case {
    const char* name;
    QByteArray data;
  } cases[] = {{"empty", QByteArray()},
               {"not a JPEG", QByteArray("GIF89a not at all a jpeg file")},
               {"header only", good.left(20)}};
  for (const Case& c : cases) {
    QString why;
    EXPECT_TRUE(decodeJpeg(c.data, &why).isNull()) << c.name;
    EXPECT_FALSE(why.isEmpty()) << c.name;
  }
  // A file that claims a huge size is refused before anything is allocated
  // for it: the frame header's height and width set to 60000.
  QByteArray huge = good;
  const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  for (qsizetype at : {sof + 5, sof + 7}) {
    huge[at] = static_cast<char>(0xEA);
    huge[at + 1] = static_cast<char>(0x60);
  }
  QString why;
  EXPECT_TRUE(decodeJpeg(huge, &why).isNull());
  EXPECT_TRUE(why.contains("too large")) << why.toStdString();
  // Cut in the middle of the picture: libjpeg fills the rest; no crash.
  QImage cut = decodeJpeg(good.left(good.size() * 2 / 3));
  EXPECT_TRUE(cut.isNull() || cut.size() == QSize(32, 16));
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setResourceDir(dir.path().toStdString());
    clearImageCache();
  }
  void TearDown() override {
    setResourceDir({});
    clearImageCache();
  }
  void write(const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray ico(QSize size, QColor colour) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
  }
  QTemporaryDir dir;
};

TEST_F(Pictures, JpegThroughOurLoaderIconsAndCursorsThroughQt) {
  write("logoBack.jpg", encodeJpeg(40, 20, 3));
  QImage logo = loadImage("logoBack.jpg");
  ASSERT_FALSE(logo.isNull());
  EXPECT_EQ(logo.size(), QSize(40, 20));

  write("docs black.ico", ico(QSize(16, 16), Qt::black));
  QIcon icon = loadIcon("docs black.ico");
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16));

  // A cursor file is an icon file of type 2 with its hot spot in the
  // directory entry.
  QByteArray cur = ico(QSize(32, 32), Qt::white);
  cur[2] = 2;
  cur[10] = 5;
  cur[12] = 9;
  write("~hand.cur", cur);
  QCursor hand = loadCursor("~hand.cur", Qt::PointingHandCursor);
  EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
  EXPECT_EQ(hand.hotSpot(), QPoint(5, 9));
  EXPECT_EQ(cursorFor(CursorShape::Hand).hotSpot(), QPoint(5, 9));

  // Qt reads GIF but does not write it: a 1x1 GIF of one colour, by hand.
  const QByteArray gifBytes =
      QByteArray::fromHex("47494638396101000100800000780f28ffffff2c00000000010001000002024401003b");
  write("lanv.gif", gifBytes);
  QImage logo2 = loadImage("lanv.gif");
  ASSERT_FALSE(logo2.isNull());
  EXPECT_TRUE(near(logo2.pixel(0, 0), QColor(120, 15, 40)));

  EXPECT_TRUE(loadImage("missing.gif").isNull());
  EXPECT_TRUE(loadIcon("missing.ico").isNull());
  EXPECT_EQ(loadCursor("missing.cur", Qt::PointingHandCursor).shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(loadIcon("question").isNull());
}

}  // namespace
}  // namespace platform::qt::test
