#include "platform/qt/images.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QStyle>

#include "platform/qt/jpeg.h"
#include "platform/qt/resources.h"

namespace platform::qt {
namespace {

QHash<QString, QImage>& cache() {
  static QHash<QString, QImage> images;
  return images;
}

QString pathOf(std::string_view name) { return resourcePath(name); }

bool isJpeg(const QString& path) {
  QString lower = path.toLower();
  return lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".jpeg"));
}

}  // namespace

QImage loadImage(std::string_view name) {
  if (name.empty()) return {};
  const QString path = pathOf(name);
  auto it = cache().constFind(path);
  if (it != cache().constEnd()) return *it;
  QImage image;
  if (isJpeg(path)) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) image = decodeJpeg(f.readAll());
  } else {
    QImageReader reader(path);
    image = reader.read();
  }
  cache().insert(path, image);
  return image;
}

QPixmap loadPixmap(std::string_view name) {
  QImage image = loadImage(name);
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QIcon loadIcon(std::string_view name) {
  QStyle* style = QApplication::style();
  if (name == "information") return style->standardIcon(QStyle::SP_MessageBoxInformation);
  if (name == "exclamation") return style->standardIcon(QStyle::SP_MessageBoxWarning);
  if (name == "question") return style->standardIcon(QStyle::SP_MessageBoxQuestion);
  if (name == "stop") return style->standardIcon(QStyle::SP_MessageBoxCritical);
  if (name.empty()) return {};
  const QString path = pathOf(name);
  if (isJpeg(path)) {
    QPixmap p = loadPixmap(name);
    return p.isNull() ? QIcon() : QIcon(p);
  }
  QIcon icon;
  QImageReader reader(path);
  for (int i = 0, n = std::max(reader.imageCount(), 1); i < n; ++i) {
    if (i > 0 && !reader.jumpToNextImage()) break;
    QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

bool drawsNothing(const QIcon& icon) {
  for (const QSize& size : icon.availableSizes()) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qAlpha(image.pixel(x, y)) != 0) return false;
  }
  return true;
}

QCursor loadCursor(std::string_view name, Qt::CursorShape fallback) {
  QImage image = loadImage(name);
  if (image.isNull()) return QCursor(fallback);
  // The hot spot of the first cursor of a CUR file: bytes 10..13 of the
  // file (after the 6-byte header, the directory entry's x and y).
  int hx = -1, hy = -1;
  QFile f(pathOf(name));
  if (f.open(QIODevice::ReadOnly)) {
    QByteArray head = f.read(14);
    auto word = [&head](int at) {
      return static_cast<int>(static_cast<unsigned char>(head[at])) |
             (static_cast<int>(static_cast<unsigned char>(head[at + 1])) << 8);
    };
    if (head.size() == 14 && word(0) == 0 && word(2) == 2) {
      hx = word(10);
      hy = word(12);
    }
  }
  return QCursor(QPixmap::fromImage(image), hx, hy);
}

QCursor cursorFor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Default:
    case CursorShape::Arrow: return QCursor(Qt::ArrowCursor);
    case CursorShape::Hand: return loadCursor("~hand.cur", Qt::PointingHandCursor);
    case CursorShape::IBeam: return QCursor(Qt::IBeamCursor);
    case CursorShape::Wait: return QCursor(Qt::WaitCursor);
    case CursorShape::Cross: return QCursor(Qt::CrossCursor);
  }
  return QCursor(Qt::ArrowCursor);
}

void clearImageCache() { cache().clear(); }

}  // namespace platform::qt
