#include "platform/ui/input.h"

#include "platform/ui/desktop.h"
#include "platform/ui/window.h"

namespace platform {

namespace {

// One spelling of a mnemonic character: ASCII letters in upper case.
std::uint32_t mnemonicKey(char32_t c) {
  if (c >= U'a' && c <= U'z') c -= 0x20;
  return static_cast<std::uint32_t>(c);
}

}  // namespace

namespace input {

std::uint32_t mnemonicOf(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto lead = static_cast<unsigned char>(text[i + 1]);
    if (lead < 0x80) return mnemonicKey(lead);
    // A two-byte UTF-8 character (Latin-1 letters); longer ones are not keys here.
    if ((lead & 0xE0) == 0xC0 && i + 2 < text.size())
      return mnemonicKey(static_cast<char32_t>(((lead & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 2]) & 0x3F)));
    return 0;
  }
  return 0;
}

}  // namespace input

// The input side of a window: checks what the user can do and queues it.
struct WindowInput {
  using Status = input::Status;
  using Op = Window::Op;

  static int newBatch() {
    static int batch = 0;
    return ++batch;
  }

  static Status usable(const Window& w) {
    if (!w.isOpen()) return Status::NotOpen;
    if (!w.takesInput()) return Status::Blocked;
    return Status::Ok;
  }

  // The window takes input and has the control, shown and enabled.
  static Status usable(Window& w, int number, Control*& c) {
    if (Status s = usable(w); s != Status::Ok) return s;
    c = w.find(number);
    if (!c) return Status::NoControl;
    if (!c->visible()) return Status::Hidden;
    if (!c->enabled()) return Status::Disabled;
    return Status::Ok;
  }

  static void queue(Window& w, Op op, EventKind kind, int control, int batch, int apply = -1) {
    w.enqueue({op, Event{kind, control, {}, {}, 0}, batch, apply});
  }
  static void queue(Window& w, const Event& e, int batch) { w.enqueue({Op::Deliver, e, batch, -1}); }

  static bool isStop(const Control& c) { return c.takesFocus() && c.visible() && c.enabled() && !c.skip(); }

  // An option group is one Tab stop: its chosen radio, or its first radio
  // that can take the focus.
  static bool groupStop(const Window& w, const Control& radio) {
    const Control* option = w.find(radio.parent());
    const Control* first = nullptr;
    const Control* chosen = nullptr;
    for (const auto& c : w.controls()) {
      if (c->parent() != radio.parent() || c->kind() != ControlKind::Radio || !isStop(*c)) continue;
      if (!first) first = c.get();
      if (option && option->selected() == c->position()) chosen = c.get();
    }
    return &radio == (chosen ? chosen : first);
  }

  static int nextStop(const Window& w, bool backwards) {
    const auto& cs = w.controls();
    const int n = static_cast<int>(cs.size());
    int from = -1;
    for (int i = 0; i < n; ++i)
      if (cs[static_cast<std::size_t>(i)]->number() == w.focus()) from = i;
    const Control* left = from >= 0 ? cs[static_cast<std::size_t>(from)].get() : nullptr;
    int group = left && left->kind() == ControlKind::Radio ? left->parent() : 0;
    for (int k = 1; k <= n; ++k) {
      int i = from < 0 ? (backwards ? n - k : k - 1) : (backwards ? from - k : from + k);
      i = ((i % n) + n) % n;
      const Control& c = *cs[static_cast<std::size_t>(i)];
      if (&c == left || !isStop(c)) continue;
      if (c.kind() == ControlKind::Radio && (c.parent() == group || !groupStop(w, c))) continue;
      return c.number();
    }
    return 0;
  }

  // The first control after index `from` in the window's order that Tab
  // would stop at; 0 for none.
  static int stopAfter(const Window& w, int from) {
    const auto& cs = w.controls();
    for (std::size_t i = static_cast<std::size_t>(from) + 1; i < cs.size(); ++i) {
      const Control& c = *cs[i];
      if (!isStop(c)) continue;
      if (c.kind() == ControlKind::Radio && !groupStop(w, c)) continue;
      return c.number();
    }
    return 0;
  }

  // Alt and a character: a prompt that marks it with '&' gives the focus to
  // the control that follows it in the window's order. A button, check box,
  // radio or tab marking the same character keeps the key: the desktop
  // presses or chooses it.
  static Status mnemonic(Window& w, std::uint32_t code, int batch) {
    const auto& cs = w.controls();
    int prompt = -1;
    for (std::size_t i = 0; i < cs.size(); ++i) {
      const Control& c = *cs[i];
      if (!c.visible() || !c.enabled() || input::mnemonicOf(c.text()) != code) continue;
      switch (c.kind()) {
        case ControlKind::Button:
        case ControlKind::Check:
        case ControlKind::Radio:
        case ControlKind::Tab:
          return Status::Ok;
        case ControlKind::Prompt:
          if (prompt < 0) prompt = static_cast<int>(i);
          break;
        default:
          break;
      }
    }
    if (prompt >= 0)
      if (int next = stopAfter(w, prompt)) queue(w, Op::Focus, EventKind::Selected, next, batch);
    return Status::Ok;
  }

  static void pressDefault(Window& w, int batch) {
    if (Control* d = w.defaultButton()) queue(w, Op::Deliver, EventKind::Accepted, d->number(), batch);
  }

  static Status focus(Window& w, int number) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    if (!c->takesFocus()) return Status::WrongKind;
    queue(w, Op::Focus, EventKind::Selected, number, newBatch());
    return Status::Ok;
  }

  static Status tab(Window& w, bool backwards) {
    if (Status s = usable(w); s != Status::Ok) return s;
    if (int next = nextStop(w, backwards)) queue(w, Op::Focus, EventKind::Selected, next, newBatch());
    return Status::Ok;
  }

  static Status edit(Window& w, int number, std::string_view text) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    if (!c->textual()) return Status::WrongKind;
    if (c->readOnly()) return Status::ReadOnly;
    c->setEditText(std::string(text));
    return Status::Ok;
  }

  static Status key(Window& w, KeyPress k) {
    if (Status s = usable(w); s != Status::Ok) return s;
    k = KeyPress::character(static_cast<char32_t>(k.code), k.mods);  // one spelling of Ctrl+letter
    int batch = newBatch();
    Control* f = w.find(w.focus());
    if (w.alerted(k)) {
      Event e{EventKind::AlertKey, w.focus(), k, {}, 0};
      queue(w, e, batch);
      return Status::Ok;
    }
    if (k.is(Key::Tab)) return tab(w, false);
    if (k.is(Key::Tab, ModShift)) return tab(w, true);
    if (k.mods == ModAlt && k.isCharacter() && k.code > 0x20 && k.code != 0x7F)
      return mnemonic(w, mnemonicKey(static_cast<char32_t>(k.code)), batch);
    if (!f) {
      if (k.is(Key::Enter)) pressDefault(w, batch);
      return Status::Ok;
    }
    if (k.is(Key::Enter)) {
      if (f->kind() == ControlKind::Text) {
        if (f->readOnly()) return Status::ReadOnly;
        f->setEditText(f->text() + "\n");
      } else if (f->textual()) {
        queue(w, Op::Deliver, EventKind::Accepted, f->number(), batch);
        if (!f->takesEnter()) pressDefault(w, batch);
      } else if (f->kind() == ControlKind::Button) {
        return click(w, f->number());
      } else {
        pressDefault(w, batch);
      }
      return Status::Ok;
    }
    if (f->kind() == ControlKind::List) {
      ScrollAction action{};
      bool navigation = true;
      if (k.is(Key::Up)) action = ScrollAction::Up;
      else if (k.is(Key::Down)) action = ScrollAction::Down;
      else if (k.is(Key::PageUp)) action = ScrollAction::PageUp;
      else if (k.is(Key::PageDown)) action = ScrollAction::PageDown;
      else if (k.is(Key::Home) || k.is(Key::Home, ModCtrl)) action = ScrollAction::Top;
      else if (k.is(Key::End) || k.is(Key::End, ModCtrl)) action = ScrollAction::Bottom;
      else navigation = false;
      if (navigation) {
        Event e{EventKind::Scroll, f->number(), k, action, 0};
        queue(w, e, batch);
      } else if (k.is(Key::Insert) || k.is(Key::Delete) || k.is(Key::Enter, ModCtrl) || k.is(Key::Enter, ModShift) ||
                 k.printable()) {
        Event e{EventKind::Key, f->number(), k, {}, 0};
        queue(w, e, batch);
      }
      return Status::Ok;
    }
    if (f->kind() == ControlKind::Spin && (k.is(Key::Up) || k.is(Key::Down))) {
      if (f->readOnly()) return Status::ReadOnly;
      int step = f->spec().step ? f->spec().step : 1;
      queue(w, Op::Spin, EventKind::NewSelection, f->number(), batch, k.is(Key::Up) ? step : -step);
      return Status::Ok;
    }
    if (k == KeyPress::character(U' ') &&
        (f->kind() == ControlKind::Button || f->kind() == ControlKind::Check || f->kind() == ControlKind::Radio))
      return click(w, f->number());
    return Status::Ok;
  }

  static Status click(Window& w, int number) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    int batch = newBatch();
    switch (c->kind()) {
      case ControlKind::Button:
        if (c->takesFocus()) queue(w, Op::Focus, EventKind::Selected, number, batch);
        queue(w, Op::Deliver, EventKind::Accepted, number, batch);
        return Status::Ok;
      case ControlKind::Item:
        queue(w, Op::Deliver, EventKind::Accepted, number, batch);
        return Status::Ok;
      case ControlKind::Check:
        if (c->readOnly()) return Status::ReadOnly;
        queue(w, Op::Focus, EventKind::Selected, number, batch);
        queue(w, Op::Deliver, EventKind::Accepted, number, batch, c->checked() ? 0 : 1);
        return Status::Ok;
      case ControlKind::Radio: {
        Control* option = w.find(c->parent());
        if (!option || option->kind() != ControlKind::Option) return Status::WrongKind;
        if (option->readOnly()) return Status::ReadOnly;
        queue(w, Op::Focus, EventKind::Selected, number, batch);
        queue(w, Op::Deliver, EventKind::Accepted, option->number(), batch, c->position());
        return Status::Ok;
      }
      case ControlKind::Tab:
        return selectTab(w, c->parent(), c->position());
      case ControlKind::Region:
        return pointer(w, number, input::PointerAction::Release);
      default:
        if (c->takesFocus()) return focus(w, number);
        return Status::WrongKind;
    }
  }

  static Status choose(Window& w, int number, int position) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    if (c->kind() == ControlKind::Option) {
      for (const auto& r : w.controls())
        if (r->parent() == number && r->kind() == ControlKind::Radio && r->position() == position)
          return click(w, r->number());
      return Status::OutOfRange;
    }
    if (c->kind() != ControlKind::DropList && c->kind() != ControlKind::Combo && c->kind() != ControlKind::DropCombo)
      return Status::WrongKind;
    if (c->readOnly()) return Status::ReadOnly;
    if (position < 1 || position > static_cast<int>(c->choices().size())) return Status::OutOfRange;
    int batch = newBatch();
    queue(w, Op::Focus, EventKind::Selected, number, batch);
    queue(w, Op::Deliver, EventKind::NewSelection, number, batch, position);
    queue(w, Op::Deliver, EventKind::Accepted, number, batch);
    return Status::Ok;
  }

  static Status selectRow(Window& w, int number, int row, bool twice) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    if (c->kind() != ControlKind::List) return Status::WrongKind;
    if (row < 1 || row > c->rowCount()) return Status::OutOfRange;
    int batch = newBatch();
    queue(w, Op::Focus, EventKind::Selected, number, batch);
    if (c->keyedRows()) {
      // The row is taken by its record when the events are: the focus move
      // may first accept a search that reloads the rows.
      const std::int64_t key = c->rowKey(row);
      w.enqueue({Op::Deliver, Event{EventKind::NewSelection, number, {}, {}, 0}, batch, -1, true, key});
      if (twice) w.enqueue({Op::Deliver, Event{EventKind::DoubleClick, number, {}, {}, 0}, batch, -1, true, key});
      return Status::Ok;
    }
    if (row != c->selected()) queue(w, Op::Deliver, EventKind::NewSelection, number, batch, row);
    if (twice) queue(w, Op::Deliver, EventKind::DoubleClick, number, batch);
    return Status::Ok;
  }

  static Status selectTab(Window& w, int number, int position) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    if (c->kind() != ControlKind::Sheet) return Status::WrongKind;
    Control* tab = nullptr;
    for (const auto& t : w.controls())
      if (t->parent() == number && t->kind() == ControlKind::Tab && t->position() == position) tab = t.get();
    if (!tab) return Status::OutOfRange;
    if (!tab->visible()) return Status::Hidden;
    if (!tab->enabled()) return Status::Disabled;
    int batch = newBatch();
    queue(w, Op::Focus, EventKind::Selected, number, batch);
    if (position != c->selected()) queue(w, Op::Deliver, EventKind::NewSelection, number, batch, position);
    return Status::Ok;
  }

  static Status scroll(Window& w, int number, ScrollAction action, int thumb) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    if (c->kind() != ControlKind::List) return Status::WrongKind;
    Event e{EventKind::Scroll, number, {}, action, thumb};
    queue(w, e, newBatch());
    return Status::Ok;
  }

  static Status pointer(Window& w, int number, input::PointerAction action) {
    Control* c = nullptr;
    if (Status s = usable(w, number, c); s != Status::Ok) return s;
    if (c->kind() != ControlKind::Region) return Status::WrongKind;
    EventKind kind = action == input::PointerAction::Enter   ? EventKind::PointerIn
                     : action == input::PointerAction::Leave ? EventKind::PointerOut
                                                             : EventKind::PointerUp;
    queue(w, Op::Deliver, kind, number, newBatch());
    return Status::Ok;
  }

  static Status closeWindow(Window& w) {
    if (Status s = usable(w); s != Status::Ok) return s;
    queue(w, Op::Deliver, EventKind::CloseRequest, 0, newBatch());
    return Status::Ok;
  }

  static Status place(Window& w, int x, int y) {
    if (Status s = usable(w); s != Status::Ok) return s;
    w.setPosition(x, y);
    return Status::Ok;
  }

  static Status resize(Window& w, int width, int height) {
    if (Status s = usable(w); s != Status::Ok) return s;
    if (!w.resizable()) return Status::WrongKind;
    w.setSize(width, height);
    queue(w, Op::Deliver, EventKind::Sized, 0, newBatch());
    return Status::Ok;
  }

  static Status state(Window& w, bool maximized, bool minimized) {
    if (Status s = usable(w); s != Status::Ok) return s;
    w.setMinimized(minimized);
    w.setMaximized(maximized);
    queue(w, Op::Deliver, EventKind::Sized, 0, newBatch());
    return Status::Ok;
  }
};

namespace input {

const char* describe(Status s) {
  switch (s) {
    case Status::Ok: return "done";
    case Status::NotOpen: return "the window is not open";
    case Status::Blocked: return "the window is under a newer window of its thread";
    case Status::NoControl: return "the window has no such control";
    case Status::Hidden: return "the control is not shown";
    case Status::Disabled: return "the control is disabled";
    case Status::ReadOnly: return "the control is read-only";
    case Status::WrongKind: return "the control does not take this input";
    case Status::OutOfRange: return "no such row, tab or choice";
  }
  return "?";
}

Status focus(Window& w, int control) { return WindowInput::focus(w, control); }
Status tab(Window& w, bool backwards) { return WindowInput::tab(w, backwards); }
Status edit(Window& w, int control, std::string_view text) { return WindowInput::edit(w, control, text); }
Status key(Window& w, KeyPress k) { return WindowInput::key(w, k); }
Status click(Window& w, int control) { return WindowInput::click(w, control); }
Status choose(Window& w, int control, int position) { return WindowInput::choose(w, control, position); }
Status selectRow(Window& w, int list, int row) { return WindowInput::selectRow(w, list, row, false); }
Status doubleClick(Window& w, int list, int row) { return WindowInput::selectRow(w, list, row, true); }
Status selectTab(Window& w, int sheet, int position) { return WindowInput::selectTab(w, sheet, position); }
Status scroll(Window& w, int list, ScrollAction action, int thumb) {
  return WindowInput::scroll(w, list, action, thumb);
}
Status pointer(Window& w, int region, PointerAction action) { return WindowInput::pointer(w, region, action); }
Status closeWindow(Window& w) { return WindowInput::closeWindow(w); }
Status moveWindow(Window& w, int x, int y) { return WindowInput::place(w, x, y); }
Status resizeWindow(Window& w, int width, int height) { return WindowInput::resize(w, width, height); }
Status maximize(Window& w) { return WindowInput::state(w, true, false); }
Status minimize(Window& w) { return WindowInput::state(w, false, true); }
Status restore(Window& w) { return WindowInput::state(w, false, false); }

}  // namespace input
}  // namespace platform
