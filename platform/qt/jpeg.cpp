#include "platform/qt/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace platform::qt {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to decode(). Nothing with a destructor lives between the
// setjmp and the jump.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void onError(j_common_ptr info) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

extern "C" void onMessage(j_common_ptr) {}  // warnings are not shown

// The largest picture decoded: far above any picture the windows show, and
// low enough that a damaged or foreign file that claims a huge size is
// refused instead of exhausting memory.
constexpr unsigned long long MaxPixels = 50'000'000ULL;

struct Decoded {
  int width = 0, height = 0, components = 0;
  bool cmyk = false, inverted = false;
};

// Returns false with err->message filled on failure. `out` is allocated
// with new[] by the caller once the size is known (through `allocate`).
bool decode(const unsigned char* data, unsigned long size, ErrorManager* err, Decoded* info,
            unsigned char* (*allocate)(void*, std::size_t), void* context, unsigned char** out) {
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err->base);
  err->base.error_exit = onError;
  err->base.output_message = onMessage;
  if (setjmp(err->jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), size);
  jpeg_read_header(&cinfo, TRUE);
  if (static_cast<unsigned long long>(cinfo.image_width) * cinfo.image_height > MaxPixels) {
    std::snprintf(err->message, sizeof err->message, "picture too large (%u x %u)", cinfo.image_width,
                  cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    cinfo.out_color_space = JCS_CMYK;
    info->cmyk = true;
    info->inverted = cinfo.saw_Adobe_marker;
  } else {
    cinfo.out_color_space = JCS_RGB;
  }
  jpeg_start_decompress(&cinfo);
  info->width = static_cast<int>(cinfo.output_width);
  info->height = static_cast<int>(cinfo.output_height);
  info->components = cinfo.output_components;
  const std::size_t stride = static_cast<std::size_t>(info->width) * static_cast<std::size_t>(info->components);
  *out = allocate(context, stride * static_cast<std::size_t>(info->height));
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = *out + stride * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& data, QString* error) {
  if (data.isEmpty()) {
    if (error) *error = QStringLiteral("empty file");
    return {};
  }
  ErrorManager err;
  std::memset(&err, 0, sizeof err);
  Decoded info;
  QByteArray pixels;
  unsigned char* out = nullptr;
  auto allocate = [](void* context, std::size_t n) -> unsigned char* {
    QByteArray* buffer = static_cast<QByteArray*>(context);
    buffer->resize(static_cast<qsizetype>(n));
    return reinterpret_cast<unsigned char*>(buffer->data());
  };
  if (!decode(reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()), &err,
              &info, allocate, &pixels, &out)) {
    if (error) *error = QString::fromLocal8Bit(err.message);
    return {};
  }
  QImage image(info.width, info.height, QImage::Format_RGB32);
  if (image.isNull()) {
    if (error) *error = QStringLiteral("not enough memory for the picture");
    return {};
  }
  const std::size_t stride = static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.components);
  for (int y = 0; y < info.height; ++y) {
    const unsigned char* src = out + stride * static_cast<std::size_t>(y);
    QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < info.width; ++x, src += info.components) {
      if (info.cmyk) {
        int c = src[0], m = src[1], yl = src[2], k = src[3];
        if (!info.inverted) {
          c = 255 - c;
          m = 255 - m;
          yl = 255 - yl;
          k = 255 - k;
        }
        dst[x] = qRgb(c * k / 255, m * k / 255, yl * k / 255);
      } else {
        dst[x] = qRgb(src[0], src[1], src[2]);
      }
    }
  }
  if (error) error->clear();
  return image;
}

}  // namespace platform::qt
