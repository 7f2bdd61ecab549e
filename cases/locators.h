#pragma once
// Locators: searching a list by the key of its current order.
//
// EntryTextLocator works through an entry of the window. When the entry is
// accepted (Tab or Enter), its text becomes the key value: the list reads
// again from the first record at or after it, ignoring case, selects that
// record and takes the focus. The locator rebinds its entry to a search
// text of its own, at most SearchLength characters, so typing a search
// never changes the record buffer that the window description binds the
// entry to; and Enter in the entry runs the search only, never the
// window's default button.
//
// KeystrokeLocator works on the list itself: a printable character typed
// while the list has the focus moves the list to the first record whose
// key starts at or after that character, ignoring case.
//
// A locator acts only while its sort order is the list's current one.

#include <array>
#include <cstdint>
#include <string>

#include "platform/types/field.h"
#include "platform/ui/event.h"

namespace cases {

class BrowseManager;

class Locator {
 public:
  Locator() = default;
  Locator(const Locator&) = delete;
  Locator& operator=(const Locator&) = delete;
  virtual ~Locator() = default;

  // The list, the locator's entry control (0 for none) and the key field it
  // searches (a field number of the list's file).
  virtual void Setup(BrowseManager& list, int control, int keyField);
  // An event that reached the list while the locator's order is current;
  // answers whether the locator acted on it.
  virtual bool TakeEvent(const platform::Event& event) = 0;

  int control() const { return control_; }
  int keyField() const { return keyField_; }

 protected:
  BrowseManager* list_ = nullptr;
  int control_ = 0;
  int keyField_ = 0;
};

class EntryTextLocator final : public Locator {
 public:
  // The longest search text; its buffer holds one byte more.
  static constexpr std::uint32_t SearchLength = 39;

  void Setup(BrowseManager& list, int control, int keyField) override;
  bool TakeEvent(const platform::Event& event) override;

  // The search text (Latin-1) the entry is bound to.
  platform::FieldRef searchText();

 private:
  std::array<std::uint8_t, SearchLength + 1> buffer_{};
};

class KeystrokeLocator final : public Locator {
 public:
  bool TakeEvent(const platform::Event& event) override;
};

}  // namespace cases
