#pragma once
// JPEG pictures, decoded with libjpeg.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform::qt {

// Decodes a JPEG file's bytes (baseline or progressive; grey, colour or
// CMYK) into an RGB image. A null image when the data is not a JPEG that
// can be read; `error` then says why.
QImage decodeJpeg(const QByteArray& data, QString* error = nullptr);

}  // namespace platform::qt
