#pragma once
// The report engine: a report procedure reads one record file in one key
// order under a small progress window, prints a band per record onto pages,
// and ends in a print preview from which the user prints.
//
// The pieces, in the order a run meets them:
//
//   report_description.h      the report's description as data: the sheet, the
//                      header, footer and form bands, the body's detail
//                      bands and group breaks, and the controls on them,
//                      each bound to a field through its picture.
//   progress_window.h  the progress window: thermometer, two text lines
//                      and the flat "Cancel" button.
//   process.h          the record reader (Process): one key order of the
//                      report's file, optionally limited to "key = value",
//                      read ahead into a record the run owns (never the
//                      thread's record buffer), with the percentage done.
//   report_controller.h the record loop (ReportController): on the progress
//                      window's timer, batches of records whose size adapts
//                      to the time they take; Cancel, the end, a failed read.
//   report.h (here)    PRINT: the layout of bands onto pages.
//   page.h             a page as data: items with control name, final text,
//                      font, rectangle and flags. Tests read these.
//   page_store.h       the run's pages in a temporary file, read one at a
//                      time, so memory stays flat however many pages.
//   paint.h            one function paints a page on any QPainter: the
//                      preview, the printer, a PDF, an image.
//   preview.h          "Report Preview", a window of the window model with
//                      page navigation, the zoom list, Print and Close; the
//                      replaceable print sink that prints its pages.
//
// The report procedures themselves (reports/report_shape.h) put these
// together; a procedure is its description, its settings and the few steps
// it overrides.
//
// PRINT (Report::Print) of a body band:
//   - the first PRINT opens page 1: the form band (behind everything), then
//     the header band. With no PRINT there is no page at all;
//   - group breaks: at the PRINT of a detail band, a group whose field now
//     holds another value closes (innermost first): its footer prints. A
//     group opens with the first detail band printed in it. Close() prints
//     the footers of the groups still open, then finishes the last page;
//   - the band stacks under the bands printed before it in the body area. A
//     band that does not fit what is left of the body finishes the page
//     (the footer band prints at its bottom) and goes on top of the next
//     page, which again starts with the form and header bands. A band
//     never splits across pages; one taller than a whole body is cut at
//     the body's bottom;
//   - then every total of that band adds its field's value.
// Header, footer and form band go on every page. Everything is kept inside
// the printable area, the sheet less 250 thousandths on each side: a
// footer placed lower stands on the bottom margin (and the body ends at its
// top), and a control that reaches beyond the area is cut at its edge.
//
// Totals are exact decimal sums (platform/types/decimal.h). A field the
// run marks as not known (SetUnknown: a computed value that does not fit
// its field) prints as its picture's row of '#', and so does every total
// that has added it, until the total starts again.

#include <memory>
#include <string>
#include <string_view>

#include "platform/report/page.h"
#include "platform/report/page_store.h"
#include "platform/report/report_description.h"
#include "platform/types/field.h"

namespace platform::report {

class Report {
 public:
  // Checks the description: every picture must be one the system knows
  // and every body band's name unique (std::invalid_argument otherwise).
  explicit Report(ReportSpec spec);
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // --- the output ---
  // Starts the output into `pages` (the report's output "collected as
  // pages" for the preview). Nothing is laid out yet.
  void Open(PageStore& pages);
  bool isOpen() const;
  // PRINT of the body band named `band` (a detail band or, for a report
  // that prints it itself, a group footer). std::invalid_argument for a
  // band the report does not have. Throws what the page store throws.
  void Print(std::string_view band = "?DETAIL");
  // The end of a completed run: the footers of the open groups, then the
  // last page. A run that printed nothing finishes no page.
  void Close();
  // The end of a cancelled run: the page being laid out is dropped.
  void Drop();
  // Pages begun so far in this run.
  int pages() const;

  // --- changes at run time ---
  // The text of every Text control named `element` (the date and time
  // stamps); std::invalid_argument when there is none.
  void SetText(std::string_view element, std::string text);
  // Whether `field` (a field a control or total of the report shows) holds
  // a value that is not known.
  void SetUnknown(const FieldRef& field, bool unknown);

  // --- geometry ---
  int sheetWidth() const;
  int sheetHeight() const;
  Rect printable() const;
  // The body area after fitting: from its top to the top of the footer.
  Rect body() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::report
