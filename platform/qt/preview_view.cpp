#include "platform/qt/preview_view.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "platform/fiber/thread.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/printer.h"
#include "platform/report/paint.h"

namespace platform::qt {

namespace {

// Pixels between pages and around them.
constexpr int Gap = 12;
// Decoded pages kept for painting.
constexpr std::size_t KeptPages = 8;

}  // namespace

// --- the page view -------------------------------------------------------------

PageView::PageView(report::PreviewSession& session, QWidget* parent, int top)
    : QAbstractScrollArea(parent), session_(&session), top_(top) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::NoFocus);
  viewport()->setAutoFillBackground(false);
  parent->installEventFilter(this);
  fitToParent();
  relayout();
}

PageView::~PageView() = default;

void PageView::detach() {
  session_ = nullptr;
  kept_.clear();
  if (parentWidget()) parentWidget()->removeEventFilter(this);
}

void PageView::fitToParent() {
  if (QWidget* p = parentWidget()) setGeometry(0, top_, p->width(), std::max(p->height() - top_, 0));
}

bool PageView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) fitToParent();
  return QAbstractScrollArea::eventFilter(watched, event);
}

void PageView::relayout() {
  if (!session_) return;
  const QSize area = viewport()->size();
  const double aspect = static_cast<double>(session_->sheetHeight()) / std::max(session_->sheetWidth(), 1);
  const report::Zoom zoom = session_->zoom();
  columns_ = 1;
  if (zoom == report::Zoom::PageWidth) {
    pageWidth_ = std::max(area.width() - 2 * Gap, 16);
    pageHeight_ = static_cast<int>(std::lround(pageWidth_ * aspect));
  } else if (zoom == report::Zoom::TilePages) {
    pageHeight_ = std::max(area.height() - 2 * Gap, 16);
    pageWidth_ = std::max(static_cast<int>(std::lround(pageHeight_ / aspect)), 8);
    columns_ = std::max((area.width() - Gap) / (pageWidth_ + Gap), 1);
  } else {
    const double inches = session_->sheetWidth() / 1000.0;
    pageWidth_ = static_cast<int>(std::lround(inches * logicalDpiX() * report::zoomPercent(zoom) / 100.0));
    pageHeight_ = static_cast<int>(std::lround(pageWidth_ * aspect));
  }
  const int rows = (std::max(session_->pageCount(), 1) + columns_ - 1) / columns_;
  const int contentWidth = columns_ * (pageWidth_ + Gap) + Gap;
  const int contentHeight = rows * (pageHeight_ + Gap) + Gap;
  horizontalScrollBar()->setRange(0, std::max(contentWidth - area.width(), 0));
  horizontalScrollBar()->setPageStep(area.width());
  verticalScrollBar()->setRange(0, std::max(contentHeight - area.height(), 0));
  verticalScrollBar()->setPageStep(area.height());
  verticalScrollBar()->setSingleStep(std::max(pageHeight_ / 20, 1));
  followPage();
  viewport()->update();
}

QRect PageView::contentRect(int page) const {
  const int index = page - 1;
  const int row = index / columns_, column = index % columns_;
  // Pages narrower than the view stand in its middle.
  const int used = columns_ * (pageWidth_ + Gap) + Gap;
  const int left = std::max((viewport()->width() - used) / 2, 0);
  return {left + Gap + column * (pageWidth_ + Gap), Gap + row * (pageHeight_ + Gap), pageWidth_, pageHeight_};
}

QRect PageView::pageRect(int page) const {
  return contentRect(page).translated(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

void PageView::followPage() {
  if (!session_) return;
  following_ = true;
  verticalScrollBar()->setValue(contentRect(session_->page()).top() - Gap);
  following_ = false;
  viewport()->update();
}

const report::Page& PageView::page(int number) {
  for (auto it = kept_.begin(); it != kept_.end(); ++it)
    if (it->first == number) {
      std::rotate(it, it + 1, kept_.end());
      return *kept_.back().second;
    }
  if (kept_.size() >= KeptPages) kept_.erase(kept_.begin());
  kept_.emplace_back(number, std::make_unique<report::Page>(session_->pages().read(number)));
  ++pagesRead_;
  return *kept_.back().second;
}

void PageView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
  painted_.clear();
  if (!session_ || session_->pageCount() == 0) return;
  const int rowHeight = pageHeight_ + Gap;
  const int y0 = verticalScrollBar()->value();
  const int firstRow = std::max((y0 - Gap) / rowHeight, 0);
  const int lastRow = (y0 + viewport()->height()) / rowHeight;
  for (int row = firstRow; row <= lastRow; ++row)
    for (int column = 0; column < columns_; ++column) {
      const int number = row * columns_ + column + 1;
      if (number > session_->pageCount()) break;
      const QRect r = pageRect(number);
      if (!r.intersects(event->rect())) continue;
      report::paintPage(painter, page(number), QRectF(r));
      painted_.push_back(number);
    }
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  relayout();
}

void PageView::scrollContentsBy(int, int) {
  viewport()->update();
  if (following_ || !session_) return;
  // The page at the top of the view is the page shown.
  const int rowHeight = pageHeight_ + Gap;
  const int row = std::max((verticalScrollBar()->value() + rowHeight / 2 - Gap) / rowHeight, 0);
  session_->showingPage(std::min(row * columns_ + 1, session_->pageCount()));
}

// --- the previews of the desktop ---------------------------------------------------

QtPreviews::QtPreviews(QtDesktop& desk) : desk_(desk) {
  report::addPreviewObserver(this);
  report::setPrintSink(this);
}

QtPreviews::~QtPreviews() {
  report::removePreviewObserver(this);
  if (&report::printSink() == this) report::setPrintSink(nullptr);
  for (auto& [id, view] : views_)
    if (view) view->detach();
}

PageView* QtPreviews::view(const Window& w) const {
  auto it = views_.find(w.id());
  return it == views_.end() ? nullptr : it->second.data();
}

void QtPreviews::previewOpened(report::PreviewSession& session) {
  QWidget* client = desk_.clientWidget(session.window());
  if (!client) return;
  const int top = desk_.units(session.window()).toY(report::PreviewStripHeight);
  auto* view = new PageView(session, client, top);
  view->show();
  views_[session.window().id()] = view;
}

void QtPreviews::pageChanged(report::PreviewSession& session) {
  if (PageView* v = view(session.window())) v->followPage();
}

void QtPreviews::zoomChanged(report::PreviewSession& session) {
  if (PageView* v = view(session.window())) v->relayout();
}

void QtPreviews::previewClosing(report::PreviewSession& session) {
  auto it = views_.find(session.window().id());
  if (it == views_.end()) return;
  if (PageView* v = it->second.data()) {
    v->detach();
    v->hide();
    v->deleteLater();
  }
  views_.erase(it);
}

// --- printing -------------------------------------------------------------------------

namespace {

std::string targetOf(const QPrinter& printer) {
  if (!printer.outputFileName().isEmpty()) return printer.outputFileName().toStdString();
  return printer.printerName().isEmpty() ? std::string("the printer") : printer.printerName().toStdString();
}

std::string failureOf(const QPrinter& printer) {
  return printer.outputFileName().isEmpty() ? "the printer cannot be used" : "the file cannot be written";
}

}  // namespace

report::PrintOutcome printPages(QPrinter& printer, const report::PageStore& pages, int from, int to) {
  using Kind = report::PrintOutcome::Kind;
  from = std::max(from, 1);
  to = to > 0 ? std::min(to, pages.count()) : pages.count();
  if (from > to) return {Kind::Failed, targetOf(printer), "there is no page to print in that range", 0};
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return {Kind::Failed, targetOf(printer), failureOf(printer), 0};
  int printed = 0;
  for (int number = from; number <= to; ++number) {
    if (number > from && !printer.newPage()) break;
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    report::paintPage(painter, pages.read(number), QRectF(0, 0, paper.width(), paper.height()));
    ++printed;
  }
  const bool ended = painter.end();
  if (!ended || printed != to - from + 1 || printer.printerState() == QPrinter::Error)
    return {Kind::Failed, targetOf(printer), failureOf(printer), printed};
  return {Kind::Printed, targetOf(printer), {}, printed};
}

report::PrintOutcome QtPreviews::Print(Window* from, const report::PageStore& pages, const std::string& title) {
  using Kind = report::PrintOutcome::Kind;
  const int thread = currentThread();
  if (thread == 0 || pages.count() == 0) return {Kind::Failed, "the printer", "there is nothing to print", 0};
  QPointer<QWidget> parent = from && desk_.windowWidget(*from) ? desk_.windowWidget(*from)->window() : nullptr;
  const report::Page first = pages.read(1);
  struct State {
    bool done = false;
    bool abandoned = false;
    QPointer<QPrintDialog> dialog;
    report::PrintOutcome outcome{Kind::Cancelled, {}, {}, 0};
  };
  auto state = std::make_shared<State>();
  const QString job = QString::fromStdString(title);
  const int count = pages.count();
  const bool landscape = first.width > first.height;
  // The dialog is made and shown from the event loop; the calling thread
  // waits for it with its windows closed to the user.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [state, thread, parent, job, count, landscape, &pages] {
        if (state->abandoned) return;
        QPrinter& printer = sharedPrinter();
        printer.setDocName(job);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer.setFromTo(1, count);
        printer.setPrintRange(QPrinter::AllPages);
        auto* dialog = new QPrintDialog(&printer, parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowTitle(QStringLiteral("Print"));
        dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog->setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog->setMinMax(1, count);
        state->dialog = dialog;
        auto finish = [state, thread] {
          if (state->done) return;
          state->done = true;
          wakeThread(thread);
        };
        QObject::connect(dialog, &QDialog::finished, dialog, [state, finish, &pages](int result) {
          if (state->abandoned || state->done) return;
          if (result == QDialog::Accepted) {
            QPrinter& p = sharedPrinter();
            int low = 1, high = 0;
            if (p.printRange() == QPrinter::PageRange) {
              low = p.fromPage();
              high = p.toPage();
            }
            state->outcome = printPages(p, pages, low, high);
          }
          finish();
        });
        QObject::connect(dialog, &QObject::destroyed, finish);
        dialog->show();
      },
      Qt::QueuedConnection);
  desk_.blockThread(thread);
  struct Leave {
    QtDesktop& desk;
    int thread;
    std::shared_ptr<State> state;
    ~Leave() {
      state->abandoned = true;
      if (state->dialog && !state->done) state->dialog->deleteLater();
      desk.unblockThread(thread);
    }
  } leave{desk_, thread, state};
  while (!state->done) waitForWake();
  return state->outcome;
}

}  // namespace platform::qt
