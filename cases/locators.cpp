#include "cases/locators.h"

#include "cases/browse_manager.h"
#include "platform/ui/control.h"
#include "platform/ui/window.h"

namespace cases {

void Locator::Setup(BrowseManager& list, int control, int keyField) {
  list_ = &list;
  control_ = control;
  keyField_ = keyField;
}

// --- EntryTextLocator ---------------------------------------------------------------

platform::FieldRef EntryTextLocator::searchText() {
  return platform::FieldRef(platform::FieldType::CString, buffer_.data(), static_cast<std::uint32_t>(buffer_.size()));
}

void EntryTextLocator::Setup(BrowseManager& list, int control, int keyField) {
  Locator::Setup(list, control, keyField);
  platform::Control* entry = control ? list.window().find(control) : nullptr;
  if (!entry) return;
  // The entry keeps its picture; the buffer's capacity cuts what it takes.
  const std::string picture = entry->picture() ? entry->picture()->source : std::string();
  entry->bind(searchText(), picture);
  entry->setTakesEnter(true);
}

bool EntryTextLocator::TakeEvent(const platform::Event& event) {
  if (event.kind != platform::EventKind::Accepted || event.control != control_ || !list_) return false;
  list_->Locate(list_->KeyValueOfText(keyField_, searchText().text()));
  list_->window().select(list_->listControl());
  return true;
}

// --- KeystrokeLocator -----------------------------------------------------------------

bool KeystrokeLocator::TakeEvent(const platform::Event& event) {
  if (event.kind != platform::EventKind::Key || !list_ || event.control != list_->listControl()) return false;
  if (!event.key.printable() || event.key.code > 0xFF) return false;  // only Latin-1 characters are in keys
  list_->Locate(list_->KeyValueOfText(keyField_, std::string(1, static_cast<char>(event.key.code))));
  return true;
}

}  // namespace cases
