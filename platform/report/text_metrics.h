#pragma once
// Text measures for page layout, in thousandths of an inch, through Qt's
// font metrics (QtGui only) on the installed families that stand in for the
// report faces (platform/qt/fonts.h), at print resolution and without
// hinting or kerning. The painter (paint.h) draws with the same fonts, so a
// text laid out to fit its box fits it on the printer, in a PDF and in the
// preview alike. Layout needs a QGuiApplication (on the offscreen platform
// in tests); without one the measures throw std::logic_error.

#include <QFont>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/report/page.h"

namespace platform::report {

// The Qt font of a report font: the installed family, the point size,
// bold, italic and underline, without hinting or kerning.
QFont qtFont(const ReportFont& font);

class TextMetrics {
 public:
  // The width of one line of UTF-8 text.
  double width(const ReportFont& font, std::string_view text);
  // From one line's top to the next.
  double lineHeight(const ReportFont& font);
  // The longest start of `text` that fits `width` (whole characters).
  std::string cut(const ReportFont& font, std::string_view text, double width);
  // `text` in lines that fit `width`, broken after blanks where it can and
  // inside a word that is wider than a whole line.
  std::vector<std::string> wrap(const ReportFont& font, std::string_view text, double width);

  // The measures of the process.
  static TextMetrics& shared();

 private:
  struct Face;
  Face& face(const ReportFont& font);
  std::vector<std::unique_ptr<Face>> faces_;
};

}  // namespace platform::report
