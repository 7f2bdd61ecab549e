#pragma once
// Keys as the windows see them: a character or a special key, with the
// Shift, Ctrl and Alt modifiers.

#include <cstdint>

namespace platform {

enum KeyModifier : unsigned {
  ModShift = 1,
  ModCtrl = 2,
  ModAlt = 4,
};

// Special keys; their codes lie above every Unicode character.
enum class Key : std::uint32_t {
  Enter = 0x110000,
  Tab,
  Insert,
  Delete,
  Home,
  End,
  PageUp,
  PageDown,
  Up,
  Down,
};

struct KeyPress {
  std::uint32_t code = 0;  // a Unicode character or a Key
  unsigned mods = 0;       // KeyModifier bits

  constexpr KeyPress() = default;
  constexpr KeyPress(Key k, unsigned modifiers = 0) : code(static_cast<std::uint32_t>(k)), mods(modifiers) {}
  // A typed character. With Ctrl or Alt a letter is kept in upper case, so
  // Ctrl+h and Ctrl+H are the same key.
  static constexpr KeyPress character(char32_t c, unsigned modifiers = 0) {
    KeyPress k;
    k.code = static_cast<std::uint32_t>(c);
    k.mods = modifiers;
    if ((modifiers & (ModCtrl | ModAlt)) && c >= U'a' && c <= U'z') k.code -= 0x20;
    return k;
  }
  static constexpr KeyPress ctrl(char c) { return character(static_cast<char32_t>(c), ModCtrl); }

  constexpr bool is(Key k, unsigned modifiers = 0) const {
    return code == static_cast<std::uint32_t>(k) && mods == modifiers;
  }
  constexpr bool isCharacter() const { return code < static_cast<std::uint32_t>(Key::Enter); }
  // A character that types text: no Ctrl or Alt, not a control character.
  constexpr bool printable() const { return isCharacter() && code >= 0x20 && code != 0x7F && !(mods & (ModCtrl | ModAlt)); }

  friend constexpr bool operator==(const KeyPress&, const KeyPress&) = default;
};

}  // namespace platform
