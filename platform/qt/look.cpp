#include "platform/qt/look.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>

#include "platform/qt/fonts.h"

namespace platform::qt {
namespace {

// MulDiv-style rounding: a * b / c to the nearest integer.
int scaled(int a, int b, int c) {
  if (c == 0) return 0;
  long long n = static_cast<long long>(a) * b;
  long long half = c / 2;
  return static_cast<int>(n >= 0 ? (n + half) / c : (n - half) / c);
}

}  // namespace

DialogUnits DialogUnits::of(const QFont& font) {
  QFontMetrics fm(font);
  static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  DialogUnits u;
  // Average over the 52 letters, rounded half up.
  u.baseX = std::max(1, (fm.horizontalAdvance(letters) / 26 + 1) / 2);
  u.baseY = std::max(1, fm.height());
  return u;
}

int DialogUnits::toX(int du) const { return scaled(du, baseX, 4); }
int DialogUnits::toY(int du) const { return scaled(du, baseY, 8); }
int DialogUnits::fromX(int px) const { return scaled(px, 4, baseX); }
int DialogUnits::fromY(int px) const { return scaled(px, 8, baseY); }

QRect DialogUnits::toPixels(const Rect& r) const { return {toX(r.x), toY(r.y), toX(r.width), toY(r.height)}; }

QColor toQColor(Color c) {
  if (c == NoColor) return {};
  if (c < 0) {
    // System colours by index; only those the windows can meet.
    const QPalette pal = QApplication::palette();
    switch (c & 0xFFFF) {
      case 5: return pal.color(QPalette::Base);           // window background
      case 8: return pal.color(QPalette::Text);           // window text
      case 13: return pal.color(QPalette::Highlight);     // selection
      case 14: return pal.color(QPalette::HighlightedText);
      case 15: return pal.color(QPalette::Button);        // face of buttons
      case 17: return pal.color(QPalette::Disabled, QPalette::Text);
      case 18: return pal.color(QPalette::ButtonText);
      default: return QColor(0, 0, 0);
    }
  }
  return QColor(redOf(c), greenOf(c), blueOf(c));
}

QFont toQFont(const Font& f, const QFont& base) {
  QFont q = base;
  if (!f.face.empty()) q.setFamily(QString::fromStdString(installedFamily(f.face)));
  if (f.size > 0) q.setPointSize(f.size);
  if (f.bold) q.setBold(true);
  if (f.italic) q.setItalic(true);
  return q;
}

QFont windowFont(const Font& f) {
  QFont q = QApplication::font();
  q.setFamily(QString::fromStdString(installedFamily(f.face.empty() ? DefaultFace : f.face)));
  q.setPointSize(f.size > 0 ? f.size : DefaultPointSize);
  q.setBold(f.bold);
  q.setItalic(f.italic);
  return q;
}

QString withoutMnemonics(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        out += u'&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace platform::qt
