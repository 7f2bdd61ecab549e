#include "cases/column_totals.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/frame/globals.h"
#include "dictionary/dictionary.h"
#include "platform/types/decimal.h"
#include "platform/types/picture.h"
#include "platform/ui/control.h"

namespace cases {

namespace {

using dictionary::HOURLYField;
using platform::Decimal;
using platform::FieldRef;

constexpr HOURLYField Summed[TotalCount] = {
    dictionary::HOU_ARRAIGNMENTPLEA, dictionary::HOU_MOTIONSREQUESTS,    dictionary::HOU_BAILHEARINGS,
    dictionary::HOU_SENTENCEHEARINGS, dictionary::HOU_TRIAL,             dictionary::HOU_REVOCATIONHEARINGS,
    dictionary::HOU_APPEALSCOURT,    dictionary::HOU_OTHERIN,            dictionary::HOU_INTERVIEWSCONFERENCES,
    dictionary::HOU_REVIEWRECORDS,   dictionary::HOU_LEGALRESEARCH,      dictionary::HOU_TRAVELTIME,
    dictionary::HOU_INVESTIGATION,   dictionary::HOU_TOTALMILAGE,        dictionary::HOU_PARKING,
    dictionary::HOU_MEALS,           dictionary::HOU_LODGING,            dictionary::HOU_COPYING,
    dictionary::HOU_POSTAGE,         dictionary::HOU_TOLLCALLS,          dictionary::HOU_TELEGRAMS,
    dictionary::HOU_OTHER};

FieldRef (*const Globals[TotalCount])() = {
    app::G_A, app::G_B, app::G_C, app::G_D,     app::G_E,       app::G_F,       app::G_G,       app::G_H,
    app::G_I, app::G_J, app::G_K, app::G_L,     app::G_M,       app::G_N,       app::G_O,       app::G_MEALS,
    app::G_LODGING,     app::G_COPYING,         app::G_POSTAGE, app::G_TOLLCALLS, app::G_TELEGRAMS, app::G_OTHER};

// Where a total's packed bytes stand in the window's storage.
std::size_t offsetOf(int i) { return static_cast<std::size_t>(i < HourTotals ? i * 4 : HourTotals * 4 + (i - HourTotals) * 6); }

// The pictures every window shows these values with: a value too wide for
// its picture shows '#'.
const platform::Picture& hoursPicture() {
  static const platform::Picture p = platform::Picture::of("N-7.1B");
  return p;
}
const platform::Picture& totalAmountPicture() {
  static const platform::Picture p = platform::Picture::of("N$-10.2B");
  return p;
}
const platform::Picture& sectionAmountPicture() {
  static const platform::Picture p = platform::Picture::of("N$-17.2B");
  return p;
}

// The rule that writes a section field.
AmountRule ruleOf(HOURLYField f) {
  switch (f) {
    case dictionary::HOU_IN_TOTALHOURS: return AmountRule::InCourtHours;
    case dictionary::HOU_TOTALSECTION_INCOURT: return AmountRule::InCourtAmount;
    case dictionary::HOU_OUT_TOTALHOURS: return AmountRule::OutCourtHours;
    case dictionary::HOU_TOTALSECTION_OUTCOURT: return AmountRule::OutCourtAmount;
    case dictionary::HOU_TOTALSECTIONTRAVEL: return AmountRule::Travel;
    case dictionary::HOU_TOTALSECTIONOTHER: return AmountRule::Other;
    case dictionary::HOU_TOTALSECTION: return AmountRule::ExpenseTotal;
    default: return AmountRule::GrandTotal;
  }
}

// Shows the wait cursor and reads ahead while it lives.
class Walking {
 public:
  Walking(platform::Window& window, platform::FileRelations& relation) : window_(window), relation_(relation) {
    window_.setWaitCursor(true);
    relation_.SwitchQuickScan(true);
  }
  ~Walking() {
    relation_.SwitchQuickScan(false);
    window_.setWaitCursor(false);
  }
  Walking(const Walking&) = delete;
  Walking& operator=(const Walking&) = delete;

 private:
  platform::Window& window_;
  platform::FileRelations& relation_;
};

// Rows a query of the walk reads: a large batch while reading ahead.
constexpr int QuickScanBatch = 512;

}  // namespace

HOURLYField TotalField(int i) { return Summed[i]; }

FieldRef TotalGlobal(int i) { return Globals[i](); }

SheetFigures::SheetFigures(AmountRules sectionRules)
    : rules_(sectionRules), sections_(dictionary::HOURLYLayout().recordSize()) {
  platform::clearRecord(dictionary::HOURLYLayout(), sections_.data());
  stored_.fill(true);
  for (int i = 0; i < TotalCount; ++i) total(i).setDecimal(Decimal());
}

FieldRef SheetFigures::total(int i) {
  std::uint8_t* at = totals_.data() + offsetOf(i);
  return i < HourTotals ? FieldRef(platform::FieldType::Decimal, at, 4, 7, 1)
                        : FieldRef(platform::FieldType::Decimal, at, 6, 11, 2);
}

FieldRef SheetFigures::section(HOURLYField field) {
  return FieldRef::of(dictionary::HOURLYLayout().field(field), sections_.data());
}

platform::DbStatus SheetFigures::ColumnTotals(platform::ListView& view, platform::Window& window,
                                              platform::FileRelations& relation) {
  std::array<double, TotalCount> sums{};
  {
    Walking walking(window, relation);
    const platform::RecordLayout& layout = view.file().layout();
    std::array<const platform::FieldDesc*, TotalCount> fields{};
    for (int i = 0; i < TotalCount; ++i) fields[static_cast<std::size_t>(i)] = &layout.field(Summed[i]);
    const int batch = relation.quickScan() ? QuickScanBatch : view.pageRows();
    std::vector<platform::DbRow> rows;
    std::optional<platform::Seek> from;
    for (;;) {
      if (platform::DbStatus s = view.read(platform::Direction::Forward, from, batch, rows);
          s != platform::DbStatus::Ok)
        return s;
      for (platform::DbRow& row : rows)
        for (std::size_t i = 0; i < sums.size(); ++i)
          sums[i] += FieldRef::of(*fields[i], row.image.data()).decimal().toDouble();
      if (static_cast<int>(rows.size()) < batch) break;
      from = view.past(rows.back());
    }
  }
  // Nothing is stored before the walk has ended.
  for (int i = 0; i < TotalCount; ++i) {
    const std::optional<Decimal> value = Decimal::fromDouble15(sums[static_cast<std::size_t>(i)]);
    stored_[static_cast<std::size_t>(i)] = value && total(i).setDecimal(*value) == platform::StoreStatus::Ok;
    if (value) TotalGlobal(i).setDecimal(*value);  // an overflow leaves the global as it was
  }
  return platform::DbStatus::Ok;
}

void SheetFigures::SectionTotals() {
  AmountOperands o;
  for (int i = 0; i < 8; ++i) o.inCourt[static_cast<std::size_t>(i)] = total(i).decimal();
  for (int i = 0; i < 5; ++i) o.outCourt[static_cast<std::size_t>(i)] = total(8 + i).decimal();
  o.hourlyRate = dictionary::CCS(dictionary::CCS_HOURLYRATE).decimal();
  o.mileageAmount = total(13).decimal();
  o.parking = total(14).decimal();
  o.meals = total(15).decimal();
  o.lodging = total(16).decimal();
  o.copying = total(17).decimal();
  o.postage = total(18).decimal();
  o.tollCalls = total(19).decimal();
  o.telegrams = total(20).decimal();
  o.other = total(21).decimal();
  const AmountResult result = ApplyAmountRules(o, EntryTargets(sections_.data()), rules_);

  // The thread's buffer gets what was stored.
  std::uint8_t* buffer = dictionary::HOURLY().record();
  for (HOURLYField f : SectionFields) {
    const AmountRule r = ruleOf(f);
    if ((result.applied & rule(r)) == 0 || result.overflow(r)) continue;
    const platform::FieldDesc& d = dictionary::HOURLYLayout().field(f);
    std::memcpy(buffer + d.offset, sections_.data() + d.offset, d.size);
  }

  // What shows '#': a total that was not stored or does not fit its
  // picture, a section value the rules did not store or that does not fit
  // its picture, and everything computed from either.
  auto own = [&](int i) {
    const platform::Picture& p = i < HourTotals ? hoursPicture() : totalAmountPicture();
    return !stored_[static_cast<std::size_t>(i)] || !platform::fitsPicture(total(i).decimal(), p);
  };
  for (int i = 0; i < TotalCount; ++i) overflowed_[static_cast<std::size_t>(i)] = own(i);
  auto any = [&](int first, int last) {
    for (int i = first; i <= last; ++i)
      if (overflowed_[static_cast<std::size_t>(i)]) return true;
    return false;
  };
  auto sectionValue = [&](HOURLYField f, bool fromOperands) {
    const AmountRule r = ruleOf(f);
    const bool hours = f == dictionary::HOU_IN_TOTALHOURS || f == dictionary::HOU_OUT_TOTALHOURS;
    const bool unfit = !platform::fitsPicture(section(f).decimal(), hours ? hoursPicture() : sectionAmountPicture());
    overflowed_[static_cast<std::size_t>(TotalCount + sectionIndex(f))] = result.overflow(r) || fromOperands || unfit;
  };
  auto sectionOver = [&](HOURLYField f) { return sectionOverflowed(f); };
  using namespace dictionary;
  sectionValue(HOU_IN_TOTALHOURS, any(0, 7));
  sectionValue(HOU_TOTALSECTION_INCOURT, sectionOver(HOU_IN_TOTALHOURS));
  sectionValue(HOU_OUT_TOTALHOURS, any(8, 12));
  sectionValue(HOU_TOTALSECTION_OUTCOURT, sectionOver(HOU_OUT_TOTALHOURS));
  sectionValue(HOU_TOTALSECTIONTRAVEL, any(13, 16));
  sectionValue(HOU_TOTALSECTIONOTHER, any(17, 21));
  sectionValue(HOU_TOTALSECTION, sectionOver(HOU_TOTALSECTIONTRAVEL) || sectionOver(HOU_TOTALSECTIONOTHER));
  sectionValue(HOU_GRANDTOTAL, sectionOver(HOU_TOTALSECTION) || sectionOver(HOU_TOTALSECTION_INCOURT) ||
                                   sectionOver(HOU_TOTALSECTION_OUTCOURT));
}

int SheetFigures::sectionIndex(HOURLYField field) {
  const auto* at = std::find(std::begin(SectionFields), std::end(SectionFields), field);
  return static_cast<int>(at - std::begin(SectionFields));
}

bool SheetFigures::sectionOverflowed(HOURLYField field) const {
  return overflowed_[static_cast<std::size_t>(TotalCount + sectionIndex(field))];
}

void SheetFigures::ShowsTotal(int control, int i) { displays_.push_back({control, i}); }

void SheetFigures::ShowsSection(int control, HOURLYField field) {
  displays_.push_back({control, TotalCount + sectionIndex(field)});
}

void SheetFigures::MarkOverflows(platform::Window& window) {
  for (const Display& d : displays_) {
    platform::Control* shown = window.find(d.control);
    if (!shown) continue;
    const auto was = std::find(hashed_.begin(), hashed_.end(), d.control);
    if (overflowed_[static_cast<std::size_t>(d.value)]) {
      // Shown from its variable first, so that the end of the event finds
      // nothing changed to show over the mark.
      window.display(d.control);
      const platform::Picture* picture = shown->picture();
      shown->setText(std::string(static_cast<std::size_t>(picture ? picture->width : 1), '#'));
      if (was == hashed_.end()) hashed_.push_back(d.control);
    } else if (was != hashed_.end()) {
      hashed_.erase(was);
      window.display(d.control);
    }
  }
}

void TotalsBrowse::RecalcFromView() {
  if (platform::DbStatus s = figures_.ColumnTotals(view(), window(), dictionary::Relate_HOURLY());
      s != platform::DbStatus::Ok) {
    report(s);
    window().post(platform::EventKind::CloseRequest);
    return;
  }
  BrowseManager::RecalcFromView();
  figures_.SectionTotals();
  figures_.MarkOverflows(window());
}

bool CurrentCaseExists() {
  if (dictionary::CCS(dictionary::CCS_CASENUMBER).isEmpty()) return false;
  platform::FileManager& cases = dictionary::Access_CaseCloseSummary();
  const platform::DbFileState state = cases.SaveFile();
  const int level = cases.TryFetch(dictionary::CCS_KeyCaseNumber);
  cases.RestoreFile(state);
  return level == platform::LevelBenign;
}

}  // namespace cases
