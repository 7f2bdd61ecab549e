#include "platform/report/page.h"

namespace platform::report {

const PageItem* Page::find(std::string_view name) const {
  for (const PageItem& item : items)
    if (item.name == name) return &item;
  return nullptr;
}

std::vector<const PageItem*> Page::all(std::string_view name) const {
  std::vector<const PageItem*> found;
  for (const PageItem& item : items)
    if (item.name == name) found.push_back(&item);
  return found;
}

std::string Page::text(std::string_view name) const {
  const PageItem* item = find(name);
  return item ? item->text : std::string();
}

}  // namespace platform::report
