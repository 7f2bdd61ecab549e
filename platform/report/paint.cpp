#include "platform/report/paint.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <algorithm>

#include "platform/report/text_metrics.h"

namespace platform::report {

namespace {

QColor qtColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

class PagePainter {
 public:
  PagePainter(QPainter& p, const Page& page, const QRectF& target)
      : p_(p), origin_(target.topLeft()), k_(page.width > 0 ? target.width() / page.width : 1) {
    const QPaintDevice* device = p.device();
    dpi_ = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
  }

  QRectF rect(const Rect& r) const {
    return {origin_.x() + r.x * k_, origin_.y() + r.y * k_, r.width * k_, r.height * k_};
  }
  double len(double v) const { return v * k_; }

  QFont font(const ReportFont& f) const {
    QFont q = qtFont(f);
    // The font's size in device pixels follows the sheet's scale.
    q.setPointSizeF((f.size > 0 ? f.size : 8) * 1000.0 * k_ / dpi_);
    return q;
  }

  QPen pen(const PageItem& item) const {
    QPen pen(qtColor(item.color));
    pen.setWidthF(std::max(len(item.pen), 1.0));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }

  static Qt::Alignment alignOf(ItemAlign a) {
    switch (a) {
      case ItemAlign::Right: return Qt::AlignRight;
      case ItemAlign::Center: return Qt::AlignHCenter;
      case ItemAlign::Left: break;
    }
    return Qt::AlignLeft;
  }

  // Lines of text from the top of `box`, one under the other. The layout
  // measured each line at print resolution; on a coarse device (the screen)
  // hinted glyphs come out a little wider, so a line that would overrun its
  // box is drawn narrowed to the box instead of losing its last letters.
  void lines(const QString& text, const QRectF& box, const QFont& f, Qt::Alignment align, const QColor& colour) {
    p_.setFont(f);
    p_.setPen(colour);
    const QFontMetricsF metrics(f, p_.device());
    const double spacing = metrics.lineSpacing();
    double y = box.top();
    for (const QString& line : text.split(QLatin1Char('\n'))) {
      const double wide = metrics.horizontalAdvance(line);
      if (wide > box.width() && box.width() > 0) {
        p_.save();
        p_.translate(box.left(), y);
        p_.scale(box.width() / wide, 1);
        p_.drawText(QRectF(0, 0, wide, spacing), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
        p_.restore();
      } else {
        p_.drawText(QRectF(box.left(), y, box.width(), spacing), align | Qt::AlignTop | Qt::TextSingleLine, line);
      }
      y += spacing;
    }
  }

  void text(const PageItem& item) {
    const QRectF r = rect(item.rect);
    if (item.fill != NoColor) p_.fillRect(r, qtColor(item.fill));
    if (item.text.empty()) return;
    p_.save();
    p_.setClipRect(r.adjusted(-1, -1, 1, 1));
    const QString t = QString::fromStdString(item.text);
    if (item.angle != 0) {
      // Upwards: the text's baseline runs from the bottom of the box to its top.
      p_.translate(r.left(), r.bottom());
      p_.rotate(-item.angle / 10.0);
      lines(t, QRectF(0, 0, r.height(), r.width()), font(item.font), alignOf(item.align), qtColor(item.color));
    } else {
      lines(t, r, font(item.font), alignOf(item.align), qtColor(item.color));
    }
    p_.restore();
  }

  // A check box's or radio's mark, and its text after it.
  void marked(const PageItem& item, bool round) {
    const QRectF r = rect(item.rect);
    const QFont f = font(item.font);
    const double side = len(markSize(item.rect));
    const double lineHeight = QFontMetricsF(f, p_.device()).lineSpacing();
    const double top = r.top() + std::max(0.0, (std::min(r.height(), lineHeight) - side) / 2);
    const QRectF mark(r.left(), top, side, side);
    QPen outline(qtColor(item.color));
    outline.setWidthF(std::max(len(10), 1.0));
    p_.setPen(outline);
    p_.setBrush(Qt::NoBrush);
    if (round) {
      p_.drawEllipse(mark);
      if (item.checked) {
        p_.setBrush(qtColor(item.color));
        p_.drawEllipse(mark.adjusted(side * 0.28, side * 0.28, -side * 0.28, -side * 0.28));
        p_.setBrush(Qt::NoBrush);
      }
    } else {
      p_.drawRect(mark);
      if (item.checked) {
        const QRectF in = mark.adjusted(side * 0.2, side * 0.2, -side * 0.2, -side * 0.2);
        p_.drawLine(in.topLeft(), in.bottomRight());
        p_.drawLine(in.bottomLeft(), in.topRight());
      }
    }
    if (item.text.empty()) return;
    const double gap = len(markSize(item.rect) + MarkGap);
    p_.save();
    p_.setClipRect(r.adjusted(-1, -1, 1, 1));
    lines(QString::fromStdString(item.text), QRectF(r.left() + gap, r.top(), r.width() - gap, r.height()), f,
          Qt::AlignLeft, qtColor(item.color));
    p_.restore();
  }

  void groupBox(const PageItem& item) {
    const QRectF r = rect(item.rect);
    const QFont f = font(item.font);
    const QFontMetricsF m(f, p_.device());
    const double half = m.lineSpacing() / 2;
    p_.setPen(pen(item));
    p_.setBrush(item.fill != NoColor ? QBrush(qtColor(item.fill)) : QBrush(Qt::NoBrush));
    const QRectF frame = r.adjusted(0, std::min(half, r.height() / 2), 0, 0);
    if (item.rounded)
      p_.drawRoundedRect(frame, len(60), len(60));
    else
      p_.drawRect(frame);
    if (item.text.empty()) return;
    const QString caption = QString::fromStdString(item.text);
    const QRectF label(r.left() + len(60), r.top(), std::min(m.horizontalAdvance(caption) + len(40), r.width() - len(80)),
                       m.lineSpacing());
    p_.fillRect(label, Qt::white);
    p_.save();
    p_.setClipRect(label);
    lines(caption, label.adjusted(len(20), 0, 0, 0), f, Qt::AlignLeft, qtColor(item.color));
    p_.restore();
  }

  void box(const PageItem& item) {
    const QRectF r = rect(item.rect);
    p_.setPen(item.color == NoColor ? QPen(Qt::NoPen) : pen(item));
    p_.setBrush(item.fill != NoColor ? QBrush(qtColor(item.fill)) : QBrush(Qt::NoBrush));
    if (item.rounded)
      p_.drawRoundedRect(r, len(60), len(60));
    else
      p_.drawRect(r);
  }

  void line(const PageItem& item) {
    const QRectF r = rect(item.rect);
    p_.setPen(pen(item));
    p_.drawLine(r.topLeft(), r.bottomRight());
  }

  void image(const PageItem& item) {
    QImage picture(QString::fromStdString(item.text));
    if (!picture.isNull()) p_.drawImage(rect(item.rect), picture);
  }

 private:
  QPainter& p_;
  QPointF origin_;
  double k_;  // device pixels per thousandth of an inch
  double dpi_ = 96;
};

}  // namespace

void paintPage(QPainter& painter, const Page& page, const QRectF& target) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(target, Qt::white);
  PagePainter p(painter, page, target);
  for (const PageItem& item : page.items) {
    switch (item.kind) {
      case ItemKind::Text: p.text(item); break;
      case ItemKind::Box: p.box(item); break;
      case ItemKind::Line: p.line(item); break;
      case ItemKind::Check: p.marked(item, false); break;
      case ItemKind::Radio: p.marked(item, true); break;
      case ItemKind::GroupBox: p.groupBox(item); break;
      case ItemKind::Image: p.image(item); break;
    }
  }
  painter.restore();
}

}  // namespace platform::report
