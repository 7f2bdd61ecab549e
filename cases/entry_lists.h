#pragma once
// The entry lists: the time and expense entries of HOURLY outside a case's
// worksheets, each shown with its in-court columns (case number, date, the
// first 50 characters of the description, six in-court hours), and added,
// changed, viewed and deleted through the in-court form UpdateiNCOURT
// whatever kind of entry it is; the form prices an entry at the rate of
// its own case.
//
// BrowseHOURLY, started by the frame on a thread of its own, lists every
// entry in four orders chosen by its tabs:
//   "&1) KeyCaseNumber"  the entries of one case, picked with "Select
//                        CaseCloseSummary" (before a pick, the entries
//                        without a case number);
//   "&2) Case Name"      by case name; only entries with a case name, which
//                        no window fills;
//   "&3) Date"           by date; expense entries, dated elsewhere, come
//                        first with a blank date;
//   "&4) Milage Rate"    the entries of one mileage rate, picked with
//                        "Select RateMilage" (nothing before a pick).
// A character typed on the list moves it on the case-name and date tabs.
// A pick that is cancelled keeps the case or rate picked before; the last
// case and rate picked stay current when the tabs change.
//
// BrowseHOURLYByHOU_KeyMilageRate, called by the mileage-rate list on its
// thread, lists the entries of the rate current there.
//
// Insert is enabled only while the list shows the entries of a case that
// exists (the entry form has no case entry): on the first tab of
// BrowseHOURLY once a case is picked, never in the rate list's. A new
// entry carries that case's number.

namespace cases {

void BrowseHOURLY();
void BrowseHOURLYByHOU_KeyMilageRate();

// The lists' controls, by number, in the order of their description.
// BrowseHOURLYByHOU_KeyMilageRate has one tab, TAB_2, and neither select
// button.
namespace entry_list {
constexpr int BROWSE_1 = 1;
constexpr int VIEW_2 = 2;
constexpr int INSERT_3 = 3;
constexpr int CHANGE_3 = 4;
constexpr int DELETE_3 = 5;
constexpr int CURRENTTAB = 6;
constexpr int TAB_2 = 7;  // "&1) KeyCaseNumber" ("&1) Milage Rate" in the rate list's)
constexpr int SELECTCASECLOSESUMMARY = 8;
constexpr int TAB_3 = 9;   // "&2) Case Name"
constexpr int TAB_4 = 10;  // "&3) Date"
constexpr int TAB_5 = 11;  // "&4) Milage Rate"
constexpr int SELECTRATEMILAGE = 12;
constexpr int CLOSE = 13;
constexpr int HELP = 14;
}  // namespace entry_list

}  // namespace cases
