#pragma once
// The time-entry forms, one family of the entry forms (entry_form.h):
// UpdateiNCOURT records time worked in court in 8 categories, and
// UpdateOUTofCOURT time worked out of court in 5. Each shows the entry's
// date (with the calendar button), the description of the services
// (required), the hours by category, the hours total and the amount billed
// (the hours total times the hourly rate), the case number on the black
// band and the hourly rate. They differ only in their categories, their
// totals and the place of the calendar button in the Tab order: after the
// date in UpdateiNCOURT, last in UpdateOUTofCOURT.
//
// Called on the caller's thread: the request in ThreadRequest (insert,
// change, delete or view), the answer in ThreadResponse. A new entry
// arrives as the calling list primed it (its case number filled), without
// a date and with every hour at 0.

namespace cases {

void UpdateiNCOURT();
void UpdateOUTofCOURT();

// The windows' controls, by number, in Tab order.
namespace in_court {
constexpr int HOU_DATE = 1;
constexpr int BUTTON3 = 2;  // the calendar
constexpr int HOU_BRIEFDESCRIPTIONSERVICES = 3;
constexpr int HOU_ARRAIGNMENTPLEA = 4;
constexpr int HOU_MOTIONSREQUESTS = 5;
constexpr int HOU_BAILHEARINGS = 6;
constexpr int HOU_SENTENCEHEARINGS = 7;
constexpr int HOU_TRIAL = 8;
constexpr int HOU_REVOCATIONHEARINGS = 9;
constexpr int HOU_APPEALSCOURT = 10;
constexpr int HOU_OTHERIN = 11;
constexpr int OK = 12;
constexpr int CANCEL = 13;
constexpr int HOU_IN_TOTALHOURS = 14;
constexpr int HOU_TOTALSECTION_INCOURT = 15;
constexpr int HOU_CASENUMBER = 16;
constexpr int CCS_HOURLYRATE = 17;
}  // namespace in_court

namespace out_of_court {
constexpr int HOU_DATE = 1;
constexpr int HOU_BRIEFDESCRIPTIONSERVICES = 2;
constexpr int HOU_INTERVIEWSCONFERENCES = 3;
constexpr int HOU_REVIEWRECORDS = 4;
constexpr int HOU_LEGALRESEARCH = 5;
constexpr int HOU_TRAVELTIME = 6;
constexpr int HOU_INVESTIGATION = 7;
constexpr int OK = 8;
constexpr int CANCEL = 9;
constexpr int BUTTON3 = 10;  // the calendar
constexpr int HOU_OUT_TOTALHOURS = 11;
constexpr int HOU_TOTALSECTION_OUTCOURT = 12;
constexpr int HOU_CASENUMBER = 13;
constexpr int CCS_HOURLYRATE = 14;
}  // namespace out_of_court

}  // namespace cases
