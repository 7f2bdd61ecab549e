#pragma once
// Controls of a window.
//
// A window's description numbers its controls (menus and toolbar buttons of
// the frame have negative numbers); the code addresses them by number
// (Window::control). A control has a kind, a type code (the numbers the
// system compares, below), a parent (a tab's controls belong to the tab, the
// radios to their option group, the items to their menu, the toolbar's
// buttons to the toolbar) and numbered properties (Prop), each readable and
// settable through the accessors below; every change is reported to the
// desktop's observers.
//
// A control can be bound to a variable (a platform::FieldRef) with a display
// picture. A bound control shows its variable's value: at the end of every
// event each bound control of the thread's windows whose variable changed is
// redisplayed, with no explicit call. What the user typed and has not yet
// accepted stays on screen until it is accepted or the variable changes.
// The value reaches the variable when the control is accepted (window.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types/field.h"
#include "platform/types/picture.h"
#include "platform/ui/style.h"

namespace platform {

class Window;

enum class ControlKind : std::uint8_t {
  Prompt,     // a label
  String,     // display text; bound, it shows its variable's value
  Entry,      // a one-line entry; `password` shows its text masked
  Text,       // a multi-line text (Enter is a new line)
  Button,     // `defaultButton`: pressed by Enter
  Check,      // a check box; binds a BYTE: 1 ticked, 0 not
  Option,     // an option group; its radios are its children. Binds a BYTE (the
              // chosen radio's position, 1 for the first, 0 none) or a text
              // (the chosen radio's text, blank none)
  Radio,      // a radio of an option group
  DropList,   // a drop-down list of `choices`; binds a text (the chosen entry's
              // text) or a number (its position, 1 for the first)
  Combo,      // an entry with a list of `choices` shown under it
  DropCombo,  // an entry with a drop-down list of `choices`
  Spin,       // an entry with up and down arrows (`step`, `rangeLow`..`rangeHigh`)
  List,       // rows in `columns`; the code sets the rows
  Sheet,      // tabs; its tabs are its children, `selected` the shown one
  Tab,        // a tab of a sheet; the controls on it are its children
  Image,      // a picture; `text` names its file, `tiled` repeats it
  Box,        // a rectangle, `fill` its colour
  Panel,      // a backdrop
  Region,     // an area with pointer events (links)
  Progress,   // a progress bar; binds a number, shown within rangeLow..rangeHigh
  Menu,       // a menu of the frame; its items are its children
  Item,       // a menu item
  Toolbar,    // the frame's toolbar; its buttons are its children
};

// Type codes of the controls, as the system compares them (the property
// Prop::Type).
namespace ctltype {
inline constexpr int String = 1;
inline constexpr int Image = 2;
inline constexpr int Region = 3;
inline constexpr int Box = 5;
inline constexpr int Prompt = 6;
inline constexpr int Entry = 8;
inline constexpr int Button = 9;
inline constexpr int Option = 11;
inline constexpr int Check = 12;
inline constexpr int List = 14;
inline constexpr int Combo = 15;
inline constexpr int Spin = 16;
inline constexpr int Text = 17;
inline constexpr int Radio = 21;
inline constexpr int Menu = 22;
inline constexpr int Item = 23;
inline constexpr int Sheet = 24;
inline constexpr int Tab = 25;
inline constexpr int Panel = 26;
inline constexpr int Progress = 27;
inline constexpr int Toolbar = 28;
inline constexpr int DropList = 33;
inline constexpr int DropCombo = 34;
}  // namespace ctltype

int typeCode(ControlKind kind);
const char* kindName(ControlKind kind);

// Built-in actions of buttons and menu items: Close posts a close request to
// the window; the others are carried out by the desktop (the toolkit), to
// which the model reports them (DesktopObserver::standardAction).
enum class StdAction : std::uint8_t { None, Close, Cut, Copy, Paste, PrintSetup, Tile, Cascade, ArrangeIcons, WindowList };

// A column of a list: its format. The code formats the cells (by the
// column's picture) when it fills the rows.
struct ListColumn {
  int width = 0;
  Justify justify = Justify::Left;
  std::string heading;
  Justify headingJustify = Justify::Left;
  std::string picture;
};

// The numbered properties. Prop::Position covers position and size.
enum class Prop : int {
  Text = 1,
  Hidden = 2,
  Disabled = 3,
  ReadOnly = 4,
  Fill = 5,
  FontColor = 6,
  Position = 7,
  Cursor = 8,
  Selected = 9,  // the selected tab of a sheet, row of a list, radio of an option
                 // group or entry of a drop list; 1 for the first, 0 none
  Required = 10,
  Tip = 11,
  Font = 12,
  Skip = 13,  // not reached by Tab
  Type = 14,  // read only
  Checked = 20,
  Default = 21,  // the default button
  Choices = 22,
  Thumb = 23,  // scroll-bar thumb of a list, 0..100
  Value = 24,  // position of a progress bar
  StatusText = 25,
  Icon = 26,
  PageRows = 27,
  TakesEnter = 28,
};

// A control as its window's description gives it. Every field is also the
// control's current state of that property.
struct ControlSpec {
  int number = 0;  // not 0; unique in the window
  ControlKind kind = ControlKind::Prompt;
  int parent = 0;  // number of the parent control, 0 for none
  Rect rect;
  std::string text;  // caption, label, initial text; an image's file name
  FieldRef var;      // bound variable (optional)
  std::string picture;  // its display picture; text variables may go without

  bool hidden = false;
  bool disabled = false;
  bool readOnly = false;
  bool required = false;
  bool skip = false;
  bool password = false;       // entry: typed characters shown masked
  bool defaultButton = false;  // button: pressed by Enter
  bool takesEnter = false;     // entry: Enter accepts the entry only and does not
                               // press the default button
  StdAction action = StdAction::None;

  Color fill = NoColor;
  Color fontColor = NoColor;
  Font font;
  Justify justify = Justify::Left;
  CursorShape cursor = CursorShape::Default;
  std::string tip;
  std::string statusText;  // shown in the frame's status bar while the control is active
  std::string icon;

  // Look of the desktop's own drawing.
  bool tiled = false;  // image: repeat the picture
  bool vscroll = false;
  bool boxed = false;
  bool flat = false;
  bool transparent = false;

  std::vector<std::string> choices;  // drop list, combo
  int dropLines = 0;
  std::vector<ListColumn> columns;   // list
  int rangeLow = 0, rangeHigh = 0;   // spin, progress (progress: 0..100 when equal)
  int step = 1;                      // spin
};

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  ~Control();

  Window& window() const { return *window_; }
  int number() const { return spec_.number; }
  ControlKind kind() const { return spec_.kind; }
  int type() const { return typeCode(spec_.kind); }
  int parent() const { return spec_.parent; }
  // The control's attributes and current property values.
  const ControlSpec& spec() const { return spec_; }

  // --- numbered properties ---
  // The screen text: a caption, or the shown value of a bound control (with
  // what the user typed and has not accepted yet).
  const std::string& text() const { return spec_.text; }
  void setText(std::string text);
  bool hidden() const { return spec_.hidden; }
  void setHidden(bool on);
  bool disabled() const { return spec_.disabled; }
  void setDisabled(bool on);
  bool readOnly() const { return spec_.readOnly; }
  void setReadOnly(bool on);
  Color fill() const { return spec_.fill; }
  void setFill(Color c);
  Color fontColor() const { return spec_.fontColor; }
  void setFontColor(Color c);
  const Rect& rect() const { return spec_.rect; }
  void setRect(Rect r);
  CursorShape cursor() const { return spec_.cursor; }
  void setCursor(CursorShape c);
  int selected() const { return selected_; }
  // Sets the selection (clamped to what exists); no event follows.
  void setSelected(int position);
  bool required() const { return spec_.required; }
  void setRequired(bool on);
  const std::string& tip() const { return spec_.tip; }
  void setTip(std::string tip);
  const Font& font() const { return spec_.font; }
  void setFont(Font f);
  bool skip() const { return spec_.skip; }
  void setSkip(bool on);

  bool checked() const { return checked_; }
  void setChecked(bool on);
  bool isDefault() const { return spec_.defaultButton; }
  void setDefault(bool on);
  bool takesEnter() const { return spec_.takesEnter; }
  void setTakesEnter(bool on);
  const std::vector<std::string>& choices() const { return spec_.choices; }
  void setChoices(std::vector<std::string> choices);
  int thumb() const { return thumb_; }
  void setThumb(int position);
  int value() const { return value_; }
  void setValue(int v);
  const std::string& statusText() const { return spec_.statusText; }
  void setStatusText(std::string text);
  const std::string& icon() const { return spec_.icon; }
  void setIcon(std::string icon);

  // --- effective state ---
  // Shown: not hidden, nor any parent, and on the sheet's selected tab.
  bool visible() const;
  // Usable: not disabled, nor any parent.
  bool enabled() const;
  // Of a kind that can take the focus (an entry, text, spin box, combo, drop
  // list, list, check box, radio, sheet or button not on the toolbar).
  bool takesFocus() const;
  // Position of a radio in its option group, or of a tab in its sheet (1 for
  // the first); 0 for other controls.
  int position() const;

  // --- bound variable ---
  // Binds the control to a variable; an empty picture shows a text variable
  // as it is. Throws std::invalid_argument for a picture this system does not
  // know, or for a non-text variable without a picture where one is needed.
  void bind(FieldRef var, std::string_view picture = {});
  void unbind();
  bool bound() const { return spec_.var.valid(); }
  const FieldRef& variable() const { return spec_.var; }
  const Picture* picture() const { return picture_ ? &*picture_ : nullptr; }
  // Whether the control holds input that has not reached its variable yet.
  bool edited() const { return edited_; }

  // --- lists ---
  const std::vector<ListColumn>& columns() const { return spec_.columns; }
  int rowCount() const { return static_cast<int>(rows_.size()); }
  // Rows are numbered from 1. Throws std::out_of_range.
  const std::vector<std::string>& row(int row) const;
  // A cell's text; empty for a column the row does not have.
  const std::string& cell(int row, int column) const;
  // `keys`, when given, says which record each row shows (one per row): a
  // click aimed at a row then finds that record again when the rows have
  // changed before the click is taken, and selects nothing when it has
  // gone. Without keys a row is its place in the list.
  void setRows(std::vector<std::vector<std::string>> rows, std::vector<std::int64_t> keys = {});
  void setRow(int row, std::vector<std::string> cells);
  void insertRow(int before, std::vector<std::string> cells);  // before rowCount()+1 appends
  void removeRow(int row);
  void clearRows();
  bool keyedRows() const { return !rowKeys_.empty(); }
  // The row showing the record `key`; 0 for none.
  int rowOfKey(std::int64_t key) const;
  std::int64_t rowKey(int row) const;  // 0 without keys
  // How many rows the list shows at once: from its height (a row and the
  // heading 10 dialog units each) until the desktop reports the real count.
  int pageRows() const;
  void setPageRows(int rows);

 private:
  friend class Window;
  friend struct WindowInput;
  Control(Window& window, ControlSpec spec);

  void changed(Prop p);
  template <class T>
  void assign(T& field, T value, Prop p);
  bool textual() const;  // takes typed text: entry, text, spin, combo
  // Shows the variable's value when it changed since it was last shown (or
  // always, with force). Returns whether the control was redisplayed.
  bool showVariable(bool force);
  void setEditText(std::string text);  // input not yet accepted
  void markEdited();
  void clearEdited();

  Window* window_;
  ControlSpec spec_;
  std::optional<Picture> picture_;
  std::vector<std::uint8_t> shown_;  // the variable's bytes when last shown
  bool edited_ = false;
  bool checked_ = false;
  int selected_ = 0;
  int thumb_ = 0;
  int value_ = 0;
  int pageRows_ = 0;
  std::vector<std::vector<std::string>> rows_;
  std::vector<std::int64_t> rowKeys_;  // empty, or one per row
};

}  // namespace platform
