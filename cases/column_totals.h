#pragma once
// The figures of a worksheet and of the case totals window: the 22 column
// totals of its list and the section values computed from them.
//
// ColumnTotals walks the list's whole view (its order, range and filter:
// every row the list can show, not only the page on screen) with reads of
// its own, a batch at a time, so the page, the selection and the record
// buffer stay as they were and the view is never held whole. It sums the
// 22 fields as doubles and at the end stores each sum rounded half away
// from zero (cut to 15 significant digits first) into the window's own
// total and into its process-wide G: global. While it walks, the window
// shows the wait cursor and the HOURLY relation reads ahead (quick-scan);
// both are switched off on every way out. A read that fails stores
// nothing: the window keeps the totals of its last complete walk, and so
// do the globals.
//
// Each window keeps, shows and computes from its own totals. The globals
// are still written after every walk, but nothing reads them back, so a
// window never shows another case's totals.
//
// SectionTotals applies the amount rules to the window's totals at the
// hourly rate of the case current on the thread: the window's own section
// values, and the same fields of the thread's HOURLY record buffer. The
// buffer's copy is replaced by the next record read into it; the windows
// show their own copy.
//
// A value that does not fit its field, or is too wide for its picture,
// shows the picture's row of '#' in every display of it, and so does every
// value computed from it: overflowing hours make their amount '#' too. A
// stored field that overflowed keeps its earlier bytes, which no display
// shows.

#include <array>
#include <cstdint>
#include <vector>

#include "cases/amount_rules.h"
#include "cases/browse_manager.h"
#include "dictionary/fields.h"
#include "platform/db/status.h"
#include "platform/lib/file_relations.h"
#include "platform/lib/list_view.h"
#include "platform/types/field.h"
#include "platform/ui/window.h"

namespace cases {

// The column totals, in the order of their globals G:A ... G:OTHER: 13
// hours, DECIMAL(7,1), then 9 amounts, DECIMAL(11,2).
inline constexpr int TotalCount = 22;
inline constexpr int HourTotals = 13;
// The HOURLY field that total `i` sums, and its global.
dictionary::HOURLYField TotalField(int i);
platform::FieldRef TotalGlobal(int i);

// The section values, the fields the amount rules write.
inline constexpr dictionary::HOURLYField SectionFields[] = {
    dictionary::HOU_IN_TOTALHOURS,      dictionary::HOU_TOTALSECTION_INCOURT, dictionary::HOU_OUT_TOTALHOURS,
    dictionary::HOU_TOTALSECTION_OUTCOURT, dictionary::HOU_TOTALSECTIONTRAVEL, dictionary::HOU_TOTALSECTIONOTHER,
    dictionary::HOU_TOTALSECTION,       dictionary::HOU_GRANDTOTAL};

// What SectionTotals computes: the in-court and expense worksheets every
// rule but the mileage amount (no grand total), the out-of-court one its
// own two, the totals window all of them.
inline constexpr AmountRules WorksheetRules =
    InCourtRules | OutCourtRules | rule(AmountRule::Travel) | rule(AmountRule::Other) | rule(AmountRule::ExpenseTotal);
inline constexpr AmountRules OutOfCourtRules = OutCourtRules;
inline constexpr AmountRules CaseTotalRules = WorksheetRules | rule(AmountRule::GrandTotal);

class SheetFigures {
 public:
  explicit SheetFigures(AmountRules sectionRules);
  SheetFigures(const SheetFigures&) = delete;
  SheetFigures& operator=(const SheetFigures&) = delete;

  // The window's own values, which its displays show.
  platform::FieldRef total(int i);
  platform::FieldRef section(dictionary::HOURLYField field);

  // The walk (see above). Answers the status of the read that failed, Ok
  // when the walk completed and the totals are stored.
  platform::DbStatus ColumnTotals(platform::ListView& view, platform::Window& window,
                                  platform::FileRelations& relation);
  // The section values from the window's totals (see above).
  void SectionTotals();

  // A display of a total (0 .. 21) or of a section field, for the '#' mark.
  void ShowsTotal(int control, int i);
  void ShowsSection(int control, dictionary::HOURLYField field);
  // Marks the displays of the values that overflowed with their picture's
  // '#', and shows the others from their variables again.
  void MarkOverflows(platform::Window& window);

  // Whether a value shows '#' after the last SectionTotals.
  bool totalOverflowed(int i) const { return overflowed_[static_cast<std::size_t>(i)]; }
  bool sectionOverflowed(dictionary::HOURLYField field) const;

 private:
  static constexpr int SectionCount = 8;
  static constexpr int ValueCount = TotalCount + SectionCount;
  static int sectionIndex(dictionary::HOURLYField field);

  AmountRules rules_;
  std::array<std::uint8_t, TotalCount * 6> totals_{};  // packed decimals, 4 or 6 bytes each
  std::vector<std::uint8_t> sections_;                  // an HOURLY record image
  std::array<bool, TotalCount> stored_{};               // the last walk stored the total
  std::array<bool, ValueCount> overflowed_{};
  struct Display {
    int control;
    int value;
  };
  std::vector<Display> displays_;
  std::vector<int> hashed_;  // displays showing '#'
};

// The list of a worksheet or of the totals window: after every reload from
// the start and after every call of its form, the column totals of its
// view, then the scroll thumb, then the section values, whose displays are
// marked. A walk that fails is reported as a failed read of the list, and
// the window is asked to close.
class TotalsBrowse : public BrowseManager {
 public:
  explicit TotalsBrowse(SheetFigures& figures) : figures_(figures) {}
  void RecalcFromView() override;

 private:
  SheetFigures& figures_;
};

// Whether the case current on the thread exists: a non-blank CCS:CASENUMBER
// found by CCS:KeyCaseNumber. The case buffer and position stay as they
// were.
bool CurrentCaseExists();

}  // namespace cases
