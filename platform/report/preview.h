#pragma once
// The print preview a report run ends in, and the printing of its pages.
//
// "Report Preview" is a window of the window model, on the report's own
// thread: a strip of controls at the top (First, Previous, Next, Last, the
// page shown, the zoom list, Print and Close) over the pages. It always
// opens maximised; its placement (for when the user restores it) is kept
// by the run's PlacementKeeper, under "_PreviewWindow_" for every report.
// The zoom list offers "Tile pages" (whole pages side by side), "Page
// Width" (one page's width fills the window) and five sizes; each report
// states the one it opens at.
//
// The model holds the page shown and the zoom; the desktop draws the pages
// itself, reading them one at a time from the run's page store
// (PreviewSession and PreviewObserver below: the Qt adapter's page view in
// platform/qt/preview_view.h). The headless driver works the window like
// any other.
//
// Print hands the pages to the print sink, which asks for the printer and
// the pages to print (or a PDF file) and prints them from the store one at
// a time. A sink is replaceable: the desktop installs the printer dialog;
// tests install a recording sink that keeps the pages or fails as told.
// After a print the preview closes. A print that fails shows a notice
// naming the printer or file and the reason, and the preview stays open
// for another try; a preview left after a failed last try answers that
// the run did not complete. A cancelled printer dialog changes nothing.
//
// A recording preview (RecordingPreview) stands in for the window where no
// one looks at the pages: benchmarks, and tests of the engine.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/report/page.h"
#include "platform/report/page_store.h"
#include "platform/ui/window.h"

namespace platform::report {

enum class Zoom : int { TilePages = 1, PageWidth, Percent50, Percent75, Percent100, Percent200, Percent300 };

// The zoom list's texts, in Zoom's order.
const std::vector<std::string>& ZoomChoices();
// The size of a fixed zoom in percent; 0 for "Tile pages" and "Page Width".
int zoomPercent(Zoom zoom);

// Where a window's placement is kept: restored when it opens, saved when it
// closes.
class PlacementKeeper {
 public:
  virtual ~PlacementKeeper() = default;
  virtual void Restore(Window& window) = 0;
  virtual void Save(const Window& window) = 0;
};

struct PreviewOptions {
  Zoom zoom = Zoom::TilePages;  // the zoom it opens at
  bool userZoom = true;         // the user may change the zoom
  bool maximize = true;         // it opens maximised
  PlacementKeeper* placement = nullptr;
  std::string title;  // the print job's name
};

enum class PreviewResult {
  Left,         // the user left without printing
  Printed,      // the pages went to the printer or file
  PrintFailed,  // the user left after a print that failed
};

class Preview {
 public:
  virtual ~Preview() = default;
  PreviewOptions options;
  // Shows the run's pages until the user leaves.
  virtual PreviewResult Display(const PageStore& pages) = 0;
};

// --- printing ---------------------------------------------------------------

struct PrintOutcome {
  enum class Kind { Printed, Cancelled, Failed };
  Kind kind = Kind::Printed;
  std::string target;  // the printer or the file
  std::string reason;  // why it failed
  int pages = 0;       // pages printed
};

class PrintSink {
 public:
  virtual ~PrintSink() = default;
  // Prints `pages` (or those the user chooses) on behalf of `from` (the
  // preview; null without one). Waits on the calling logical thread.
  virtual PrintOutcome Print(Window* from, const PageStore& pages, const std::string& title) = 0;
};

// The sink in use. Until one is installed: a sink with no printer, whose
// every print fails.
PrintSink& printSink();
// Installs a sink (not owned); nullptr restores the default.
void setPrintSink(PrintSink* sink);

// Keeps what it prints, or answers as told.
class RecordingPrintSink final : public PrintSink {
 public:
  PrintOutcome Print(Window* from, const PageStore& pages, const std::string& title) override;
  // The next prints answer this instead of printing (Failed, Cancelled).
  std::optional<PrintOutcome> answer;
  // Pages from..to (to 0: to the last).
  int from = 1, to = 0;
  std::vector<Page> printed;  // of every print, in order
  std::vector<std::string> titles;
  int calls = 0;
};

// --- previews ---------------------------------------------------------------

// The window "Report Preview".
class WindowPreview final : public Preview {
 public:
  PreviewResult Display(const PageStore& pages) override;
};

// No window: notes the pages and, when told, prints them through the sink.
class RecordingPreview final : public Preview {
 public:
  PreviewResult Display(const PageStore& pages) override;
  bool print = false;  // print through printSink() when shown
  int shown = 0;       // how many times Display ran
  int pages = 0;       // the pages it was given last
  std::optional<Page> first, last;  // read from the store when `keep`
  bool keep = true;
};

// What reports get as their preview: a WindowPreview unless a factory is
// installed (a benchmark's RecordingPreview).
std::unique_ptr<Preview> makePreview();
void setPreviewFactory(std::function<std::unique_ptr<Preview>()> factory);

// --- the window's controls and what the desktop's page view reads ------------

inline constexpr int PreviewFirst = 1;
inline constexpr int PreviewPrevious = 2;
inline constexpr int PreviewNext = 3;
inline constexpr int PreviewLast = 4;
inline constexpr int PreviewPageText = 5;  // "Page 3 of 40"
inline constexpr int PreviewZoomList = 6;
inline constexpr int PreviewPrint = 7;
inline constexpr int PreviewClose = 8;
// The strip of controls at the top, in dialog units; the pages fill the
// window below it.
inline constexpr int PreviewStripHeight = 20;

// An open preview window and what it shows.
class PreviewSession {
 public:
  PreviewSession(Window& window, const PageStore& pages, Zoom zoom);
  Window& window() const { return *window_; }
  const PageStore& pages() const { return *pages_; }
  int pageCount() const { return pages_->count(); }
  // The page at the top of the view, from 1.
  int page() const { return page_; }
  Zoom zoom() const { return zoom_; }
  // The sheet of the run's pages, in thousandths of an inch.
  int sheetWidth() const { return sheetWidth_; }
  int sheetHeight() const { return sheetHeight_; }

  // The page view reports the page the user scrolled to: the page shown
  // follows, without telling the view back.
  void showingPage(int page);

  // For the window's controller.
  void goTo(int page);
  void setZoom(Zoom zoom);

 private:
  void showPageText();
  Window* window_;
  const PageStore* pages_;
  int page_ = 1;
  Zoom zoom_;
  int sheetWidth_ = LetterShort, sheetHeight_ = LetterLong;
};

class PreviewObserver {
 public:
  virtual ~PreviewObserver() = default;
  virtual void previewOpened(PreviewSession&) {}
  // The page shown changed by the window's controls: the view goes there.
  virtual void pageChanged(PreviewSession&) {}
  virtual void zoomChanged(PreviewSession&) {}
  // Before the window closes; the session goes afterwards.
  virtual void previewClosing(PreviewSession&) {}
};

void addPreviewObserver(PreviewObserver* observer);
void removePreviewObserver(PreviewObserver* observer);

}  // namespace platform::report
