#pragma once
// The expense form UpdateOTHER, one family of the entry forms
// (entry_form.h): the travel and other expenses of one HOURLY entry. It
// shows the entry's date (with the calendar button), the description
// (required), the mileage rate and the miles with the mileage amount they
// give, parking, meals and lodging with the travel total under them, the
// other expenses in two columns (copying, postage and other on the left,
// toll calls and telegrams on the right; Tab runs down the left one first)
// with their total, and the expense total; the case number on the black
// band and the hourly rate.
//
// The mileage rate is one of the defined rates of RateMilage, or 0 for
// none. When the rate entry is accepted (a change the user completes, and
// again in OK's required-entry check):
//   - a rate of 0 is looked up nowhere;
//   - otherwise RateMilage is read by RTM:KeyMilageRate; a rate found
//     stays as typed and the RateMilage buffer holds its record;
//   - a rate not found opens the picker SelectRateMilage (RequestSelect,
//     through CallProcedure): a picked rate replaces the typed one; a
//     picker closed without a pick puts the focus back on the rate, keeps
//     what was typed and skips the rest of the event, so OK's check stops
//     there and nothing is saved;
//   - a read that fails shows "Record Retrieval Error" with the driver's
//     text and does the same as a cancelled pick (no picker);
// then the window is redisplayed. Miles are whole numbers.
//
// The calendar button, after its redisplay, writes the case number of the
// case current on the thread into G:CASENUMBER, whether or not a date was
// chosen: the case the frame's printouts print.
//
// Called on the caller's thread to insert, change or delete (never to
// view): the request in ThreadRequest, the answer in ThreadResponse.

namespace cases {

void UpdateOTHER();

// The window's controls, by number, in Tab order.
namespace other_expenses {
constexpr int HOU_DATE3 = 1;
constexpr int BUTTON3 = 2;  // the calendar
constexpr int HOU_BRIEFDESCRIPTIONSERVICES3 = 3;
constexpr int HOU_MILAGERATE = 4;
constexpr int HOU_MILEAGE = 5;
constexpr int HOU_PARKING = 6;
constexpr int HOU_MEALS = 7;
constexpr int HOU_LODGING = 8;
constexpr int HOU_COPYING = 9;
constexpr int HOU_POSTAGE = 10;
constexpr int HOU_OTHER = 11;
constexpr int HOU_TOLLCALLS = 12;
constexpr int HOU_TELEGRAMS = 13;
constexpr int OK = 14;
constexpr int CANCEL = 15;
constexpr int HOU_TOTALMILAGE = 16;
constexpr int HOU_TOTALSECTIONTRAVEL = 17;
constexpr int HOU_TOTALSECTIONOTHER = 18;
constexpr int HOU_TOTALSECTION = 19;
constexpr int HOU_CASENUMBER = 20;
constexpr int CCS_HOURLYRATE = 21;
}  // namespace other_expenses

}  // namespace cases
