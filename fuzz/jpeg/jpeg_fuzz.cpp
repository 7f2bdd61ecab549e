// The JPEG loader on any bytes: a picture file from the resources folder may
// be damaged or not a JPEG at all.
//
// - a picture that cannot be read gives a null image and says why;
// - a picture that is read has a size within the loader's limit and is an
//   opaque RGB image.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "platform/qt/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using lvfuzz::require;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString why = QStringLiteral("unset");
  const QImage image = platform::qt::decodeJpeg(bytes, &why);
  if (image.isNull()) {
    require(!why.isEmpty() && why != QStringLiteral("unset"), "a picture that cannot be read says why");
    return 0;
  }
  require(why.isEmpty(), "a picture that is read has no error", why.toStdString());
  require(image.width() > 0 && image.height() > 0, "a picture read has a size");
  require(static_cast<long long>(image.width()) * image.height() <= 50'000'000LL, "a picture read is within the limit");
  require(image.format() == QImage::Format_RGB32, "a picture read is opaque RGB");
  return 0;
}
