#include "platform/report/report.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/report/report_text.h"
#include "platform/report/text_metrics.h"
#include "platform/types/latin1.h"
#include "platform/types/picture.h"

namespace platform::report {

namespace {

struct Span {
  int from = 0, to = 0;  // to > from, or an empty span
  bool empty() const { return to < from; }
};

Span intersect(int a0, int a1, int b0, int b1) { return {std::max(a0, b0), std::min(a1, b1)}; }

int ceilOf(double v) { return static_cast<int>(std::ceil(v - 1e-6)); }

// A group's value, compared as keys compare.
struct GroupValue {
  bool text = false;
  std::string folded;
  Decimal number;
  friend bool operator==(const GroupValue& a, const GroupValue& b) {
    return a.text == b.text && (a.text ? a.folded == b.folded : a.number == b.number);
  }
};

GroupValue groupValueOf(const FieldRef& f) {
  GroupValue v;
  if (!f.valid()) return v;
  if (f.isText() || f.type() == FieldType::Group) {
    v.text = true;
    std::string t = PrintableLatin1(std::string_view(reinterpret_cast<const char*>(f.data()), f.size()));
    if (f.type() == FieldType::CString) t = PrintableLatin1(f.text());
    v.folded = latin1Upper(rtrim(t));
  } else if (f.type() == FieldType::Date) {
    v.number = Decimal::fromInt(f.day());
  } else {
    v.number = f.decimal();
  }
  return v;
}

}  // namespace

// A control with what the run keeps of it.
struct Control {
  const Element* spec = nullptr;
  std::optional<Picture> picture;
  ReportFont font;
  std::string text;  // a Text control's text, SetText may change it
  // Totals
  Decimal sum;
  bool sumUnknown = false;
};

struct CompiledBand {
  const Band* spec = nullptr;
  std::vector<Control> controls;
  int group = -1;  // the group whose footer this is
};

struct Report::Impl {
  ReportSpec spec;
  int width = LetterShort, height = LetterLong;
  Rect printableArea;
  std::optional<CompiledBand> header, footer, form;
  std::vector<CompiledBand> details;
  std::vector<CompiledBand> groupFooters;
  int headerY = 0, footerY = 0;
  Span bodySpan;
  int bodyX = 0;

  // The run
  PageStore* store = nullptr;
  bool open = false;
  bool pageOpen = false;
  int pageNumber = 0;
  Page page;
  int cursor = 0;
  struct GroupState {
    bool open = false;
    GroupValue value;
  };
  std::vector<GroupState> groups;
  std::set<const std::uint8_t*> unknown;

  explicit Impl(ReportSpec s) : spec(std::move(s)) {
    if (spec.orientation == Orientation::Landscape) std::swap(width, height);
    printableArea = {Margin, Margin, width - 2 * Margin, height - 2 * Margin};
    if (spec.header) header = compile(*spec.header, -1);
    if (spec.footer) footer = compile(*spec.footer, -1);
    if (spec.form) form = compile(*spec.form, -1);
    std::set<std::string, std::less<>> names;
    for (const Band& b : spec.details) {
      if (!names.insert(b.name).second) throw std::invalid_argument("two body bands named " + b.name);
      details.push_back(compile(b, -1));
    }
    for (std::size_t g = 0; g < spec.groups.size(); ++g) {
      const Band& b = spec.groups[g].footer;
      if (!b.name.empty() && !names.insert(b.name).second) throw std::invalid_argument("two body bands named " + b.name);
      groupFooters.push_back(compile(b, static_cast<int>(g)));
    }
    fitBands();
  }

  CompiledBand compile(const Band& b, int group) {
    CompiledBand c;
    c.spec = &b;
    c.group = group;
    for (const Element& e : b.elements) {
      Control k;
      k.spec = &e;
      if (!e.picture.empty()) {
        k.picture = Picture::parse(e.picture);
        if (!k.picture) throw std::invalid_argument("control " + e.name + " has the unknown picture " + e.picture);
      }
      if (e.kind == ElementKind::PageNumber && (!k.picture || k.picture->kind != PictureKind::Page))
        throw std::invalid_argument("page number " + e.name + " needs a page picture");
      k.font = e.font ? *e.font : spec.font;
      k.font.bold = k.font.bold || e.bold;
      k.font.underline = k.font.underline || e.underline;
      k.text = e.text;
      c.controls.push_back(std::move(k));
    }
    return c;
  }

  // Where the header and footer stand, and the body between them.
  void fitBands() {
    const int top = printableArea.y, bottom = printableArea.y + printableArea.height;
    auto place = [&](const Band& b) {
      int y = std::max(b.rect.y, top);
      if (y + b.rect.height > bottom) y = std::max(bottom - b.rect.height, top);
      return y;
    };
    if (spec.header) headerY = place(*spec.header);
    int bodyBottom = bottom;
    if (spec.footer) {
      footerY = place(*spec.footer);
      bodyBottom = std::min(bodyBottom, footerY);
    }
    const Rect& b = spec.body;
    int bodyTop = std::clamp(b.y, top, bottom);
    if (b.height > 0) bodyBottom = std::min(bodyBottom, b.y + b.height);
    bodySpan = {bodyTop, std::max(bodyBottom, bodyTop)};
    bodyX = b.x;
  }

  CompiledBand* bodyBand(std::string_view name) {
    for (CompiledBand& b : details)
      if (b.spec->name == name) return &b;
    for (CompiledBand& b : groupFooters)
      if (b.spec->name == name) return &b;
    return nullptr;
  }

  template <class F>
  void forEachControl(F f) {
    auto each = [&](CompiledBand& b) {
      for (Control& k : b.controls) f(k);
    };
    if (header) each(*header);
    if (footer) each(*footer);
    if (form) each(*form);
    for (CompiledBand& b : details) each(b);
    for (CompiledBand& b : groupFooters) each(b);
  }

  bool isUnknown(const FieldRef& f) const { return f.valid() && unknown.count(f.data()) > 0; }

  // --- what a control prints -----------------------------------------------

  std::string valueText(const Control& k) {
    const Element& e = *k.spec;
    const Picture* pic = k.picture ? &*k.picture : nullptr;
    switch (e.kind) {
      case ElementKind::Text: return k.text;
      case ElementKind::Field:
        if (isUnknown(e.field)) return pic ? OverflowMark(*pic) : "#";
        return PrintedText(e.field, pic);
      case ElementKind::Total:
        if (k.sumUnknown) return pic ? OverflowMark(*pic) : "#";
        return pic ? formatDecimal(k.sum, *pic) : k.sum.toString();
      case ElementKind::PageNumber: return formatPage(pageNumber, *pic);
      default: return k.text;
    }
  }

  // A value that is read as a whole: cut, it would read as another one.
  static bool isNumber(const Control& k) {
    return k.picture && (k.picture->kind == PictureKind::Number || k.picture->kind == PictureKind::Date ||
                         k.picture->kind == PictureKind::Time);
  }

  static bool radioChosen(const Radio& r, const FieldRef& f) {
    if (!f.valid()) return false;
    if (r.value) return f.isNumeric() && f.decimal() == Decimal::fromInt(*r.value);
    if (!f.isText()) return false;
    std::string value = PrintableLatin1(f.text());
    std::string text = r.text;
    // A text field holds no more than its capacity: the radio's text as
    // the field could hold it.
    if (text.size() > f.capacity()) text.resize(f.capacity());
    return rtrim(value) == rtrim(text) && !rtrim(text).empty();
  }

  // --- laying a band out ---------------------------------------------------

  struct Laid {
    std::vector<PageItem> items;
    int height = 0;
  };

  // The lines of a multi-line text for `width`.
  std::vector<std::string> linesOf(const Control& k, const std::string& text, int room) {
    return TextMetrics::shared().wrap(k.font, text, room);
  }

  static std::string joined(const std::vector<std::string>& lines, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) {
      if (i) out += '\n';
      out += lines[i];
    }
    return out;
  }

  // A single-line text fitted to `width`: cut at the box; a number that does
  // not fit prints as '#'.
  std::string fitLine(const Control& k, const std::string& text, int room) {
    TextMetrics& m = TextMetrics::shared();
    if (m.width(k.font, text) <= room) return text;
    if (isNumber(k) || k.spec->kind == ElementKind::Total) return m.cut(k.font, std::string(text.size(), '#'), room);
    return m.cut(k.font, text, room);
  }

  // Lays out `band` with its top-left corner at (x, y); `limit` is the
  // lowest the band may reach, `maxHeight` its highest (-1 for none).
  Laid layBand(CompiledBand& band, int x, int y, int limitTop, int limitBottom, int maxHeight) {
    TextMetrics& m = TextMetrics::shared();
    const int left = printableArea.x, right = printableArea.x + printableArea.width;
    Laid laid;
    const int declared = band.spec->rect.height;

    // The texts first: the growing ones decide how far the band grows.
    struct Prepared {
      Control* k;
      Span xs;
      std::string text;
      std::vector<std::string> lines;  // multi-line texts
      int needed = 0;                  // growing texts: the height of all lines
    };
    std::vector<Prepared> prepared;
    int growth = 0;
    for (Control& k : band.controls) {
      const Element& e = *k.spec;
      if (e.hidden) continue;
      Prepared p{&k, intersect(x + e.rect.x, x + e.rect.x + e.rect.width, left, right), {}, {}, 0};
      if (e.kind == ElementKind::Line && e.rect.width == 0) p.xs = {x + e.rect.x, x + e.rect.x};
      if (p.xs.empty() || (p.xs.from == p.xs.to && e.kind != ElementKind::Line)) continue;
      if (e.kind == ElementKind::Line && e.rect.width == 0 && (p.xs.from < left || p.xs.from > right)) continue;
      const bool textual = e.kind == ElementKind::Text || e.kind == ElementKind::Field ||
                           e.kind == ElementKind::Total || e.kind == ElementKind::PageNumber;
      if (textual) {
        p.text = valueText(k);
        if (e.multiLine && e.angle == 0) {
          p.lines = linesOf(k, p.text, p.xs.to - p.xs.from);
          if (e.grow) {
            p.needed = ceilOf(static_cast<double>(p.lines.size()) * m.lineHeight(k.font));
            growth = std::max(growth, p.needed - e.rect.height);
          }
        }
      }
      prepared.push_back(std::move(p));
    }
    int bandHeight = declared + growth;
    if (maxHeight >= 0 && bandHeight > maxHeight) bandHeight = maxHeight;
    laid.height = bandHeight;
    const int bandBottom = y + bandHeight;
    const int lowest = std::min(limitBottom, bandBottom);

    for (Prepared& p : prepared) {
      const Control& k = *p.k;
      const Element& e = *k.spec;
      int top = y + e.rect.y, h = e.rect.height;
      if (e.anchor == Anchor::Bottom) top += growth;
      if (e.anchor == Anchor::Stretch) h += growth;
      if (e.grow) h = std::max(h, p.needed);
      // Within the band's reach and the area the band may use.
      const int reach = e.kind == ElementKind::Line && h == 0 ? limitBottom : std::min(limitBottom, lowest);
      Span ys = intersect(top, top + h, limitTop, reach);
      if (ys.empty() || (ys.from == ys.to && !(e.kind == ElementKind::Line && h == 0))) continue;
      if (e.kind == ElementKind::Line && h == 0 && (top < limitTop || top > limitBottom)) continue;

      PageItem item;
      item.name = e.name;
      item.font = k.font;
      item.rect = {p.xs.from, ys.from, p.xs.to - p.xs.from, ys.to - ys.from};
      item.color = e.color;
      item.fill = e.fill;
      item.angle = e.angle;
      item.pen = e.pen;
      item.rounded = e.rounded;
      switch (e.kind) {
        case ElementKind::Text:
        case ElementKind::Field:
        case ElementKind::Total:
        case ElementKind::PageNumber:
          item.kind = ItemKind::Text;
          if (e.angle != 0) {
            item.text = fitLine(k, p.text, item.rect.height);
          } else if (e.multiLine) {
            const double lh = m.lineHeight(k.font);
            std::size_t fit = static_cast<std::size_t>(std::max(1.0, std::floor((item.rect.height + 1e-6) / lh)));
            item.text = joined(p.lines, fit);
          } else {
            item.text = fitLine(k, p.text, item.rect.width);
          }
          switch (e.align) {
            case Align::Left: item.align = ItemAlign::Left; break;
            case Align::Right: item.align = ItemAlign::Right; break;
            case Align::Center: item.align = ItemAlign::Center; break;
            case Align::Decimal: alignOnPoint(k, item); break;
          }
          break;
        case ElementKind::CheckBox: {
          item.kind = ItemKind::Check;
          item.checked = e.field.valid() && !e.field.isEmpty();
          const int room = item.rect.width - markSize(item.rect) - MarkGap;
          item.text = room > 0 ? fitLine(k, PrintableLatin1(e.text), room) : std::string();
          break;
        }
        case ElementKind::Option: {
          if (e.boxed) {
            item.kind = ItemKind::GroupBox;
            item.text = fitLine(k, e.text, item.rect.width);
            laid.items.push_back(item);
          }
          for (const Radio& r : e.radios) {
            if (r.hidden) continue;
            Span rx = intersect(x + r.rect.x, x + r.rect.x + r.rect.width, left, right);
            int rtop = y + r.rect.y + (e.anchor == Anchor::Bottom ? growth : 0);
            Span ry = intersect(rtop, rtop + r.rect.height, limitTop, std::min(limitBottom, lowest));
            if (rx.empty() || ry.empty() || rx.from == rx.to || ry.from == ry.to) continue;
            PageItem radio;
            radio.kind = ItemKind::Radio;
            radio.name = r.name;
            radio.font = k.font;
            radio.rect = {rx.from, ry.from, rx.to - rx.from, ry.to - ry.from};
            radio.color = e.color;
            radio.checked = radioChosen(r, e.field);
            const int room = radio.rect.width - markSize(radio.rect) - MarkGap;
            radio.text = room > 0 ? fitLine(k, r.text, room) : std::string();
            laid.items.push_back(std::move(radio));
          }
          continue;
        }
        case ElementKind::Box: item.kind = ItemKind::Box; break;
        case ElementKind::Line: item.kind = ItemKind::Line; break;
        case ElementKind::Image:
          if (e.text.empty()) continue;
          item.kind = ItemKind::Image;
          item.text = e.text;
          break;
      }
      laid.items.push_back(std::move(item));
    }
    return laid;
  }

  // A number aligned on its decimal point: right-aligned in a rectangle
  // that ends where its fraction ends.
  void alignOnPoint(const Control& k, PageItem& item) {
    TextMetrics& m = TextMetrics::shared();
    const std::string& text = item.text;
    const std::size_t point = text.rfind('.');
    const std::string fraction = point == std::string::npos ? std::string() : text.substr(point);
    int offset = k.spec->decimalOffset;
    if (offset < 0) {
      const int places = k.picture && k.picture->kind == PictureKind::Number ? k.picture->places : 0;
      offset = places > 0 ? ceilOf(m.width(k.font, "." + std::string(static_cast<std::size_t>(places), '0'))) : 0;
    }
    const int right = item.rect.x + item.rect.width;
    const int end = std::min(right, right - offset + ceilOf(m.width(k.font, fraction)));
    item.align = ItemAlign::Right;
    item.rect.width = std::max(end - item.rect.x, 0);
  }

  // --- pages ---------------------------------------------------------------

  void startPage() {
    ++pageNumber;
    // The items go, their room stays: the next page holds about as many.
    page.items.clear();
    page.number = pageNumber;
    page.width = width;
    page.height = height;
    pageOpen = true;
    const int top = printableArea.y, bottom = printableArea.y + printableArea.height;
    if (form) {
      const Rect& r = form->spec->rect;
      append(layBand(*form, r.x, r.y, std::max(r.y, top), std::min(r.y + std::max(r.height, 0), bottom), -1));
    }
    if (header) {
      const Rect& r = header->spec->rect;
      append(layBand(*header, r.x, headerY, top, std::min(headerY + r.height, bottom), -1));
    }
    cursor = bodySpan.from;
  }

  void finishPage() {
    if (footer) {
      const Rect& r = footer->spec->rect;
      const int bottom = printableArea.y + printableArea.height;
      append(layBand(*footer, r.x, footerY, printableArea.y, std::min(footerY + r.height, bottom), -1));
    }
    store->add(page);
    pageOpen = false;
    page.items.clear();
    forEachControl([](Control& k) {
      if (k.spec->kind == ElementKind::Total && k.spec->reset == Reset::Page) resetTotal(k);
    });
  }

  void append(Laid laid) {
    for (PageItem& item : laid.items) page.items.push_back(std::move(item));
  }

  static void resetTotal(Control& k) {
    k.sum = Decimal();
    k.sumUnknown = false;
  }

  // Places a body band under what the page holds, on a new page when it
  // does not fit.
  void placeBody(CompiledBand& band) {
    if (!pageOpen) startPage();
    // Measure first: a band that grows may not fit where a plain one would.
    Laid laid = layBand(band, bodyX, cursor, cursor, bodySpan.to, -1);
    if (cursor + laid.height > bodySpan.to && cursor > bodySpan.from) {
      finishPage();
      startPage();
      laid = layBand(band, bodyX, cursor, cursor, bodySpan.to, bodySpan.to - cursor);
    } else if (cursor + laid.height > bodySpan.to) {
      laid = layBand(band, bodyX, cursor, cursor, bodySpan.to, bodySpan.to - cursor);
    }
    cursor += laid.height;
    append(std::move(laid));
  }

  void addTotals(std::string_view bandName) {
    forEachControl([&](Control& k) {
      const Element& e = *k.spec;
      if (e.kind != ElementKind::Total || e.totalOf != bandName) return;
      if (isUnknown(e.field)) {
        k.sumUnknown = true;
        return;
      }
      k.sum = k.sum + (e.field.type() == FieldType::Date ? Decimal::fromInt(e.field.day()) : e.field.decimal());
    });
  }

  // Prints the footers of the groups from the innermost down to `outermost`.
  void closeGroups(std::size_t outermost) {
    for (std::size_t g = groups.size(); g-- > outermost;) {
      if (!groups[g].open) continue;
      CompiledBand& footerBand = groupFooters[g];
      placeBody(footerBand);
      groups[g].open = false;
      const bool innermost = g + 1 == groups.size();
      forEachControl([&](Control& k) {
        if (k.spec->kind != ElementKind::Total || k.spec->reset != Reset::Group) return;
        bool inThisFooter = false;
        for (const Control& f : footerBand.controls) inThisFooter = inThisFooter || &f == &k;
        bool inAnyFooter = false;
        for (const CompiledBand& b : groupFooters)
          for (const Control& f : b.controls) inAnyFooter = inAnyFooter || &f == &k;
        if (inThisFooter || (innermost && !inAnyFooter)) resetTotal(k);
      });
    }
  }
};

Report::Report(ReportSpec spec) : impl_(std::make_unique<Impl>(std::move(spec))) {}

Report::~Report() = default;

void Report::Open(PageStore& pages) {
  Impl& r = *impl_;
  r.store = &pages;
  r.open = true;
  r.pageOpen = false;
  r.pageNumber = 0;
  r.groups.assign(r.spec.groups.size(), {});
  r.forEachControl([](Control& k) { Impl::resetTotal(k); });
}

bool Report::isOpen() const { return impl_->open; }

void Report::Print(std::string_view bandName) {
  Impl& r = *impl_;
  if (!r.open) throw std::logic_error("PRINT of a report that is not open");
  CompiledBand* band = r.bodyBand(bandName);
  if (!band) throw std::invalid_argument("the report has no band " + std::string(bandName));
  if (band->group < 0) {
    // A detail band: groups whose value changed close, then every group
    // not open opens with this band.
    std::optional<std::size_t> changed;
    for (std::size_t g = 0; g < r.groups.size(); ++g)
      if (r.groups[g].open && !(groupValueOf(r.spec.groups[g].by) == r.groups[g].value)) {
        changed = g;
        break;
      }
    if (changed) r.closeGroups(*changed);
    for (std::size_t g = 0; g < r.groups.size(); ++g)
      if (!r.groups[g].open) {
        r.groups[g].open = true;
        r.groups[g].value = groupValueOf(r.spec.groups[g].by);
      }
  }
  r.placeBody(*band);
  r.addTotals(bandName);
}

void Report::Close() {
  Impl& r = *impl_;
  if (!r.open) return;
  r.closeGroups(0);
  if (r.pageOpen) r.finishPage();
  r.open = false;
}

void Report::Drop() {
  Impl& r = *impl_;
  r.open = false;
  r.pageOpen = false;
  r.page = Page{};
}

int Report::pages() const { return impl_->pageNumber; }

void Report::SetText(std::string_view element, std::string text) {
  bool found = false;
  impl_->forEachControl([&](Control& k) {
    if (k.spec->kind == ElementKind::Text && k.spec->name == element) {
      k.text = text;
      found = true;
    }
  });
  if (!found) throw std::invalid_argument("the report has no text control " + std::string(element));
}

void Report::SetUnknown(const FieldRef& field, bool unknown) {
  if (!field.valid()) return;
  if (unknown)
    impl_->unknown.insert(field.data());
  else
    impl_->unknown.erase(field.data());
}

int Report::sheetWidth() const { return impl_->width; }
int Report::sheetHeight() const { return impl_->height; }
Rect Report::printable() const { return impl_->printableArea; }
Rect Report::body() const {
  const Impl& r = *impl_;
  return {r.bodyX, r.bodySpan.from, r.spec.body.width, r.bodySpan.to - r.bodySpan.from};
}

}  // namespace platform::report
