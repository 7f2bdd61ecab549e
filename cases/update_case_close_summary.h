#pragma once
// The case form: one record of CaseCloseSummary on the thread's record
// buffer, with the form shape of form_manager.h. Its five tabs hold the case
// data ("Case Information": date, case number, case name, hourly rate), the
// confidential case-closing summary (three tabs) and the answers the claim
// form asks for ("CJA 20"). The case number and the hourly rate are
// required. The calendar button beside the date opens SelectDate on the
// case date; "Click here to see your options" opens "BOX 21" (OPTIONS) with
// the table of the case-disposition codes.
//
// Stored values of the choices: a check box 1 or 0; CCS:TRIAL the position
// of its radio (1 "No Trial", 2 "Jury Trial", 3 "Court Trial", 0 none); the
// other radio groups and the drop lists the chosen text, cut to the field
// ("Interim Payment Number" is stored as its first 20 characters, which the
// group recognises again).

#include <array>
#include <string_view>

namespace cases {

void UpdateCaseCloseSummary();

// The window's controls, by number.
namespace case_form {
// The first control: the case number.
constexpr int CCS_CASENUMBER = 1;
constexpr int CURRENTTAB = 2;
constexpr int TAB_1 = 3;
constexpr int TAB_2 = 4;
constexpr int TAB_3 = 5;
constexpr int TAB_4 = 6;
constexpr int TAB5 = 7;
constexpr int OK = 8;
constexpr int CANCEL = 9;
// "Case Information"
constexpr int BUTTON4 = 10;
constexpr int CCS_DATE = 11;
constexpr int CCS_CASENAME = 12;
constexpr int CCS_HOURLYRATE = 13;
constexpr int IMAGE1 = 14;
// "Case Closing Summary     (1)"
constexpr int CCS_CASENUMBER_2 = 15;
constexpr int CCS_ATTORNEY = 16;
constexpr int CCS_DEFENDANT = 17;
constexpr int CCS_JUDGE = 18;
constexpr int CCS_AUSA = 19;
constexpr int CCS_USPO = 20;
constexpr int CCS_CHARGES = 21;
constexpr int CCS_NUMBER = 22;
constexpr int CCS_CODEFNUM = 23;
constexpr int CCS_DISPOSITION = 24;
constexpr int CCS_NOTDETAINED = 25;
constexpr int CCS_DETAINED = 26;
constexpr int CCS_CONTESTEDDETENTIONHEARING = 27;
constexpr int CCS_DETENTIONAPPEAL = 28;
// "Case Closing Summary   (2)"
constexpr int CCS_DISCOVERY = 29;
constexpr int CCS_TAPERECORDINGNUMBER = 30;
constexpr int CCS_INVESTIGATOREMPLOYED = 31;
constexpr int CCS_INVESTIGATIVEHOURS = 32;
constexpr int CCS_PARALEGALEMPLOYED = 33;
constexpr int CCS_PARALEGALHOURS = 34;
constexpr int CCS_WITENESSESINTERVIEWED = 35;
constexpr int CCS_DISCOVERYMOTION = 36;
constexpr int CCS_MOTIONTODISMISS = 37;
constexpr int CCS_OTHERPRETRIALMOTION = 38;
constexpr int CCS_EVIDENTIARYHEARING = 39;
constexpr int CCS_OTHERNONDM = 40;
constexpr int CCS_MOTIONSUPPRESS = 41;
constexpr int CCS_MOTIONLIMINE = 42;
constexpr int CCS_NUMBERTESTIFYINGWITNESSES = 43;
constexpr int CCS_TRIAL = 44;  // radios 45 to 47
constexpr int CCS_LENGTH = 48;
constexpr int CCS_INFORMALOBJECTIONSFILED = 49;
constexpr int CCS_SENTENCINGMEMORANDUMFILED = 50;
constexpr int CCS_FORMALOBJECTIONSFILED = 51;
constexpr int CCS_CONTESTEDSENTENCINGHEARING = 52;
// "Case Closing Summary   (3)"
constexpr int CCS_APPEALWAIVED = 53;
constexpr int CCS_HABEASWAIVED = 54;
constexpr int CCS_NOTICEOFAPPEALFILED = 55;
constexpr int CCS_COMMENTS = 56;
// "CJA 20"
constexpr int CCS_CERTIFICATIONFROM = 57;
constexpr int CCS_CERTIFICATIONTO = 58;
constexpr int CCS_APPOINTMENTDATE2 = 59;
constexpr int CCS_CASEDISPOSITION = 60;
constexpr int BUTTON3 = 61;
constexpr int CCS_CLAIMSTATUS = 62;  // radios 63 to 65
constexpr int CCS_PAYMENTNUMBER_2 = 66;
constexpr int CCS_APPLY = 67;       // radios 68, 69
constexpr int CCS_PAID = 70;        // radios 71, 72
constexpr int CCS_CONNECTION = 73;  // radios 74, 75
constexpr int CCS_DATESIGNTAURE = 76;

// The choices of the drop lists, in their order.
inline constexpr std::array<std::string_view, 8> DiscoveryChoices = {
    "Under 100 Pages",   "100-300 Pages",      "300-500 Pages",     "500-1000 Pages",
    "1.000-5.000 Pages", "5.000-10.000 Pages", "Over 10.000 Pages", "Tape Recordings"};
// The codes of box 21 of the claim form: the district court's, the appeals',
// probation and habeas corpus. "01" stands twice (dismissed by the district
// court, dismissed on appeal).
inline constexpr std::array<std::string_view, 23> DispositionCodes = {
    "01", "02", "03", "04", "05", "08", "09", "CC", "EE", "FF", "GG", "HH",
    "XX", "AA", "RR", "00", "RA", "AR", "01", "RV", "RS", "GR", "DE"};
}  // namespace case_form

}  // namespace cases
