// A stand-in of the mileage-rate picker for the expense form's tests, with
// the picker's contract and its window's caption and numbers: "Select a
// Rate " lists every rate, lowest first, in list 1; Select (button 2) or a
// double-click on a row leaves the picked rate's record in the caller's
// RateMilage buffer and answers ResponseCompleted; closing it any other way
// leaves the buffer as the caller had it and answers ResponseCancelled.

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/frame/thread_state.h"
#include "cases/select_rate_milage.h"
#include "dictionary/dictionary.h"
#include "platform/types/picture.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace {
constexpr const char* Caption = "Select a Rate ";
constexpr int BROWSE_1 = 1;
constexpr int SELECT_2 = 2;
}  // namespace

void cases::SelectRateMilage() {
  using namespace platform::describe;
  app::ThreadRequest() = 0;
  app::ThreadResponse() = 0;
  platform::FileRelations& relation = dictionary::Relate_RateMilage();
  platform::FileManager& access = dictionary::Access_RateMilage();
  relation.Open();
  const platform::DbFileState saved = access.SaveFile();

  std::vector<platform::DbRow> rows;
  if (access.UseFile() == 0)
    access.file().readPage(dictionary::RTM_KeyMilageRate, platform::Direction::Forward, std::nullopt, 100000,
                           std::nullopt, rows);
  std::vector<std::vector<std::string>> cells;
  for (platform::DbRow& r : rows) {
    const auto& layout = dictionary::RateMilageLayout();
    cells.push_back({platform::format(platform::FieldRef::of(layout.field(dictionary::RTM_DATEMILAGERATE), r.image.data()),
                                      platform::Picture::of("D17B")),
                     platform::format(platform::FieldRef::of(layout.field(dictionary::RTM_MILAGERATE), r.image.data()),
                                      platform::Picture::of("n6.3"))});
  }

  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Child;
  spec.caption = Caption;
  spec.rect = {0, 0, 200, 120};
  platform::Window w(spec);
  w.add(control(BROWSE_1, platform::ControlKind::List, {4, 4, 192, 90}));
  w.add(button(SELECT_2, {140, 100, 56, 14}, "&Select").isDefault().disabled(rows.empty()));
  w.control(BROWSE_1).setRows(cells);
  if (!rows.empty()) w.control(BROWSE_1).setSelected(1);
  w.open();
  std::optional<std::size_t> picked;
  while (w.accept()) {
    const platform::Event& e = w.event();
    const bool select = (e.kind == platform::EventKind::Accepted && e.control == SELECT_2) ||
                        (e.kind == platform::EventKind::DoubleClick && e.control == BROWSE_1);
    if (select && w.control(BROWSE_1).selected() > 0) {
      picked = static_cast<std::size_t>(w.control(BROWSE_1).selected() - 1);
      w.endEvent(platform::EventLevel::End);
      break;
    }
    w.endEvent(platform::EventLevel::Continue);
  }
  w.close();
  if (picked)
    std::memcpy(access.file().record(), rows[*picked].image.data(), rows[*picked].image.size());
  else
    access.RestoreFile(saved);
  relation.Close();
  app::ThreadResponse() = picked ? app::ResponseCompleted : app::ResponseCancelled;
}
