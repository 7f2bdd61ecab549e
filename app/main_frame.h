#pragma once
// The frame Main: the program's application window. Before its window
// opens it runs the password gate (a wrong password ends the program
// there). Once open, it shows the information entry in its menu bar (the
// operating system's version, today's date, the time and the user's name)
// and posts "OPEN MY CASE FILES" to itself, so the case list opens without
// a click. Its menus and toolbar start the lists, the reports, the
// password set-up and the help window on threads of their own; the about
// window is called directly and the frame waits until it closes. Closing
// the frame ("E&xit", the close box) first closes the windows of the other
// threads through their own close handling and ends the program.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

void Main();

// How the frame carries out a command of its menus or toolbar.
enum class CommandAction {
  Start,  // START on a new thread with `stack` bytes
  Call,   // a direct call on the frame's thread
};

struct FrameCommand {
  int control;                 // the menu item or toolbar button
  std::string_view procedure;  // the procedure's name
  CommandAction action;
  std::size_t stack;           // Start: the stack size in bytes
  // The procedure, given the case number that G:CASENUMBER held when the
  // command was chosen: the frame reads it on its own thread at the click,
  // so a report started on a new thread prints that case whatever another
  // thread writes there meanwhile. Procedures that print no case ignore it.
  // Empty while the procedure is not built: the command does nothing.
  std::function<void(const std::string& caseNumber)> run;
};

// A procedure that takes no case, as a command's run.
template <void (*Procedure)()>
void WithoutCase(const std::string&) {
  Procedure();
}

// Every command of the frame, the menus' first, then the toolbar's.
const std::vector<FrameCommand>& FrameCommands();

// Fills the tables through which the case windows call the printouts
// (the case list's own calls, the worksheets' print buttons): the reports
// stand above the case windows, so the program connects them here, once,
// before the frame opens. Tests that run case windows with the real
// reports call it too.
void ConnectProcedures();

// The frame with another set of commands (the same controls, other
// procedures). Main() is MainWithCommands(FrameCommands()).
void MainWithCommands(const std::vector<FrameCommand>& commands);

// The text of the information entry: the operating system's version, two
// blanks, today's date ("D17"), two blanks, the time ("T07"), then " [", the
// user's name ("Invalid" when it cannot be read) and "]".
std::string InformationText();

inline constexpr const char* FrameCaption = "Dalmoor - Pellmark  Software -  An easy way to do your billing !";

// Controls of the frame: its menus, their items, the information entry and
// the toolbar with its buttons.
namespace frame {
inline constexpr int FILEMENU = -2;
inline constexpr int PRINTSETUP = -3;
inline constexpr int FILESETUPNEWPASSWORD = -4;
inline constexpr int EXIT = -5;
inline constexpr int EDITMENU = -6;
inline constexpr int CUT = -7;
inline constexpr int COPY = -8;
inline constexpr int PASTE = -9;
inline constexpr int BROWSEMENU = -10;
inline constexpr int BROWSECASECLOSESUMMARY = -11;
inline constexpr int BROWSEHOURLY = -12;
inline constexpr int BROWSERATEMILAGE = -13;
inline constexpr int BROWSETOTALS = -14;
inline constexpr int REPORTMENU = -15;
inline constexpr int REPORTCASECLOSESUMMARY = -16;
inline constexpr int REPORTCASECLOSESUMMARYBYCCS_KEYCASENAME = -17;
inline constexpr int REPORTCASECLOSESUMMARYBYCCS_KEYCASENUMBER = -18;
inline constexpr int REPORTHOURLY = -19;
inline constexpr int REPORTHOURLYBYHOU_KEYCASENUMBER = -20;
inline constexpr int REPORTHOURLYBYHOU_KEYCASENAME = -21;
inline constexpr int REPORTHOURLYBYHOU_KEYDATE = -22;
inline constexpr int REPORTHOURLYBYHOU_KEYMILAGERATE = -23;
inline constexpr int REPORTRATEMILAGE = -24;
inline constexpr int REPORTRATEMILAGEBYRTM_KEYMILAGERATE = -25;
inline constexpr int REPORTRATEMILAGEBYRTM_KEYDATE = -26;
inline constexpr int REPORTTOTALSBYTOT_KEYCASENUMBER = -27;
inline constexpr int WINDOWMENU = -28;
inline constexpr int TILE = -29;
inline constexpr int CASCADE = -30;
inline constexpr int ARRANGE = -31;
inline constexpr int HELPMENU = -32;
inline constexpr int HELPSEARCH = -33;
inline constexpr int HELPONHELP = -34;
inline constexpr int LANVIK = -35;
inline constexpr int TOOLBAR = -36;
inline constexpr int BUTTON1 = -37;
inline constexpr int BUTTON1_2 = -38;
inline constexpr int BUTTON1_3 = -39;
inline constexpr int FILESEPARATOR = -40;  // between "Set up New Password" and "E&xit"
}  // namespace frame

}  // namespace app
