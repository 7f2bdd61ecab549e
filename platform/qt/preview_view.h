#pragma once
// The desktop's side of "Report Preview" and of printing a run's pages.
//
// The preview window is a window of the model (platform/report/preview.h);
// the desktop mirrors its strip of controls like any window's. Under the
// strip it puts a page view of its own (PageView): a scrolling area that
// lays the run's pages out by the zoom ("Tile pages": whole pages side by
// side; "Page Width": one page as wide as the view; or a fixed size) and
// paints only the pages in sight, each read from the run's page store when
// it comes into sight (a few decoded pages are kept). So showing page 1 or
// jumping to the last page costs the same for 40 pages as for 35,000, and
// nothing of the run is held in memory as pictures.
//
// The view follows the model: a page chosen with the window's buttons is
// scrolled to, a zoom chosen in the list relays the pages out. When the
// user scrolls, the view reports the page at its top (PreviewSession::
// showingPage), so the page shown and the buttons go on from there.
//
// Printing (the print sink): Print shows the printer dialog on the shared
// printer (printer.h), with a page range and printing to a PDF file, the
// way the printer set-up shows its dialog: from the event loop, while the
// calling thread waits with its windows closed to the user; no nested
// loop. The chosen pages are then painted one at a time from the store.
// A printer or file that cannot be opened, or a print that fails, answers
// Failed with the printer's name or the file's path and the reason.

#include <QAbstractScrollArea>
#include <QPointer>
#include <map>
#include <memory>

#include "platform/report/preview.h"

class QPrinter;

namespace platform::qt {

class QtDesktop;

class PageView final : public QAbstractScrollArea {
 public:
  PageView(report::PreviewSession& session, QWidget* parent, int top);
  ~PageView() override;

  // Lays the pages out for the session's zoom and the view's size.
  void relayout();
  // Scrolls so that the session's page is at the top.
  void followPage();
  // The session is going: nothing more is read or drawn.
  void detach();

  // --- for tests ---
  // Where page `page` stands in the viewport now.
  QRect pageRect(int page) const;
  // The pages the last paint drew, and the pages read from the store so far.
  const std::vector<int>& painted() const { return painted_; }
  long pagesRead() const { return pagesRead_; }
  int columns() const { return columns_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const report::Page& page(int number);
  QRect contentRect(int page) const;
  void fitToParent();

  report::PreviewSession* session_;
  int top_;  // the strip's height, in pixels
  int pageWidth_ = 1, pageHeight_ = 1, columns_ = 1;
  bool following_ = false;
  std::vector<int> painted_;
  long pagesRead_ = 0;
  // The last pages read, newest last.
  std::vector<std::pair<int, std::unique_ptr<report::Page>>> kept_;
};

class QtPreviews final : public report::PreviewObserver, public report::PrintSink {
 public:
  // Registers itself as the preview observer and as the print sink.
  explicit QtPreviews(QtDesktop& desk);
  ~QtPreviews() override;
  QtPreviews(const QtPreviews&) = delete;
  QtPreviews& operator=(const QtPreviews&) = delete;

  // The page view of a preview window; null when it has none.
  PageView* view(const Window& w) const;

  void previewOpened(report::PreviewSession& session) override;
  void pageChanged(report::PreviewSession& session) override;
  void zoomChanged(report::PreviewSession& session) override;
  void previewClosing(report::PreviewSession& session) override;

  report::PrintOutcome Print(Window* from, const report::PageStore& pages, const std::string& title) override;

 private:
  QtDesktop& desk_;
  std::map<int, QPointer<PageView>> views_;
};

// Paints pages `from`..`to` of `pages` on `printer`, one at a time.
report::PrintOutcome printPages(QPrinter& printer, const report::PageStore& pages, int from, int to);

}  // namespace platform::qt
