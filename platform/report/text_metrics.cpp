#include "platform/report/text_metrics.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cmath>
#include <stdexcept>

#include "platform/qt/fonts.h"

namespace platform::report {

namespace {

// Print resolution: measures are taken at 1200 dots an inch.
constexpr double Dpi = 1200;
constexpr double PerDot = 1000.0 / Dpi;

const QImage& printDevice() {
  static const QImage device = [] {
    QImage image(1, 1, QImage::Format_ARGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(Dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
  }();
  return device;
}

}  // namespace

QFont qtFont(const ReportFont& font) {
  QFont f(QString::fromStdString(qt::installedFamily(font.face)));
  f.setPointSizeF(font.size > 0 ? font.size : 8);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  f.setStyleStrategy(QFont::PreferOutline);
  return f;
}

struct TextMetrics::Face {
  ReportFont font;
  QFontMetricsF metrics;
  double lineHeight;
  std::array<double, 256> latin1{};  // advances measured so far; < 0 not yet

  explicit Face(const ReportFont& f) : font(f), metrics(qtFont(f), &printDevice()) {
    lineHeight = metrics.lineSpacing() * PerDot;
    latin1.fill(-1);
  }
  double advance(QChar c) {
    const char16_t u = c.unicode();
    if (u < 256) {
      double& a = latin1[u];
      if (a < 0) a = metrics.horizontalAdvance(c) * PerDot;
      return a;
    }
    return metrics.horizontalAdvance(c) * PerDot;
  }
};

TextMetrics& TextMetrics::shared() {
  static TextMetrics metrics;
  return metrics;
}

TextMetrics::Face& TextMetrics::face(const ReportFont& font) {
  for (auto& f : faces_)
    if (f->font == font) return *f;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    throw std::logic_error("report layout measures text through Qt and needs a QGuiApplication");
  faces_.push_back(std::make_unique<Face>(font));
  return *faces_.back();
}

double TextMetrics::width(const ReportFont& font, std::string_view text) {
  Face& f = face(font);
  double w = 0;
  for (QChar c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) w += f.advance(c);
  return w;
}

double TextMetrics::lineHeight(const ReportFont& font) { return face(font).lineHeight; }

std::string TextMetrics::cut(const ReportFont& font, std::string_view text, double width) {
  Face& f = face(font);
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  double w = 0;
  qsizetype n = 0;
  for (; n < s.size(); ++n) {
    w += f.advance(s[n]);
    if (w > width) break;
  }
  if (n == s.size()) return std::string(text);
  return s.left(n).toStdString();
}

std::vector<std::string> TextMetrics::wrap(const ReportFont& font, std::string_view text, double width) {
  Face& f = face(font);
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  std::vector<std::string> lines;
  qsizetype start = 0;
  while (start < s.size()) {
    // The longest run from `start` that fits, ended after a blank if one
    // lies in it.
    double w = 0;
    qsizetype end = start, lastBreak = -1;
    while (end < s.size()) {
      const double a = f.advance(s[end]);
      if (w + a > width && end > start) break;
      w += a;
      if (s[end] == QLatin1Char(' ')) lastBreak = end + 1;
      ++end;
    }
    if (end < s.size() && lastBreak > start) end = lastBreak;
    QString line = s.mid(start, end - start);
    while (line.endsWith(QLatin1Char(' '))) line.chop(1);
    lines.push_back(line.toStdString());
    start = end;
    // The blanks a line was broken at do not start the next one.
    while (start < s.size() && s[start] == QLatin1Char(' ')) ++start;
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

}  // namespace platform::report
