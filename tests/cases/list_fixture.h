#pragma once
// A small list procedure on the list shape, for its tests: a file of people
// (code, name, rate, group, note) listed by name or by code, chosen by a
// tab, with a locator per order, the five list buttons, a close button, an
// own button of the window and a display string of the selected name; a
// stand-in update form; and a program around them in a scratch directory.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/locators.h"
#include "platform/lib/step_managers.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/lib/error_manager.h"
#include "platform/os/os_fakes.h"
#include "platform/ui/control.h"
#include "platform/ui/headless/driver.h"
#include "platform/ui/window.h"
#include "tests/platform/os/temp_dir.h"

namespace listtest {

using platform::ControlKind;
using platform::ControlSpec;
using platform::DbFile;
using platform::DbStatus;
using platform::FieldRef;
using platform::Rect;
using platform::Window;

enum PeopleField : int { PEO_CODE = 1, PEO_NAME, PEO_RATE, PEO_GRP, PEO_NOTE };
enum PeopleKey : int { KeyCode = 1, KeyName, KeyGroup };

inline const platform::RecordLayout& peopleLayout() {
  static const platform::RecordLayout layout(
      "People", "PEO", "PEOPLE", 46,
      {platform::STRING("PEO:CODE", 8, 0), platform::STRING("PEO:NAME", 20, 8), platform::DECIMAL("PEO:RATE", 7, 2, 28),
       platform::STRING("PEO:GRP", 4, 32), platform::STRING("PEO:NOTE", 10, 36)});
  return layout;
}

inline platform::FileDefinition peopleDefinition() {
  return platform::FileDefinition{&peopleLayout(),
                                  {platform::KeyDefinition{"PEO:KeyCode", "Code", PEO_CODE, true, true, false},
                                   platform::KeyDefinition{"PEO:KeyName", "Name", PEO_NAME, false, true, false},
                                   platform::KeyDefinition{"PEO:KeyGroup", "Group", PEO_GRP, false, false, false}}};
}

inline DbStatus openOrCreate(DbFile& f) {
  DbStatus s = f.open();
  if (s == DbStatus::FileNotFound && f.create() == DbStatus::Ok) s = f.open();
  return s;
}

// The calling logical thread's copy of the people file, opened on first use.
struct ThreadPeople {
  platform::DbContext context;
  DbFile file{context, peopleDefinition()};
  ThreadPeople() { openOrCreate(file); }
};
inline DbFile& People() {
  static platform::FiberLocal<ThreadPeople> local;
  return local->file;
}
inline FieldRef PEO(int field) { return FieldRef::of(peopleLayout().field(field), People().record()); }

// The parent record a ranged list follows: its group.
inline FieldRef ParentGroup() {
  static std::uint8_t bytes[4] = {' ', ' ', ' ', ' '};
  return FieldRef(platform::FieldType::String, bytes, 4);
}

// Records written from the test body, as another copy of the program would.
class Writer {
 public:
  Writer() { openOrCreate(file_); }
  std::int64_t add(const std::string& code, const std::string& name, const std::string& rate = "0",
                   const std::string& group = "A", const std::string& note = "") {
    platform::clearRecord(peopleLayout(), file_.record());
    field(PEO_CODE).setText(code);
    field(PEO_NAME).setText(name);
    field(PEO_RATE).setDecimal(*platform::Decimal::parse(rate));
    field(PEO_GRP).setText(group);
    field(PEO_NOTE).setText(note);
    EXPECT_EQ(file_.add(), DbStatus::Ok) << file_.error().text;
    return file_.position();
  }
  // Records 1..count in one transaction; `fill` names record i.
  void addMany(int count, const std::function<void(int, FieldRef code, FieldRef name)>& fill) {
    platform::DbTransaction t(context_);
    ASSERT_EQ(t.begin({&file_}), DbStatus::Ok);
    for (int i = 1; i <= count; ++i) {
      platform::clearRecord(peopleLayout(), file_.record());
      field(PEO_GRP).setText("A");
      fill(i, field(PEO_CODE), field(PEO_NAME));
      ASSERT_EQ(file_.add(), DbStatus::Ok) << file_.error().text;
    }
    ASSERT_EQ(t.commit(), DbStatus::Ok);
  }
  void remove(std::int64_t position) { EXPECT_EQ(file_.remove(position), DbStatus::Ok); }
  // Every record's code in code order.
  std::vector<std::string> codes() {
    std::vector<platform::DbRow> rows;
    file_.readPage(KeyCode, platform::Direction::Forward, std::nullopt, 100000, std::nullopt, rows);
    std::vector<std::string> out;
    for (auto& r : rows) out.push_back(FieldRef::of(peopleLayout().field(PEO_CODE), r.image.data()).text());
    return out;
  }
  DbFile& file() { return file_; }

 private:
  FieldRef field(int f) { return FieldRef::of(peopleLayout().field(f), file_.record()); }
  platform::DbContext context_;
  DbFile file_{context_, peopleDefinition()};
};

// --- the list procedure ---------------------------------------------------------

enum ListControl : int {
  BROWSE = 1,
  SHEET,
  TAB_NAME,  // tab 1: by name (order 2)
  TAB_CODE,  // tab 2: by code (order 1)
  NAME_ENTRY,
  CODE_ENTRY,
  INSERT,
  CHANGE,
  DELETE,
  VIEW,
  SELECT,
  CLOSE,
  OWN,
  SELECTED_NAME,
};

struct ListConfig {
  bool keystroke = false;  // keystroke locators instead of entry locators
  bool ranged = false;     // one order by group, limited to ParentGroup()
  bool filterRates = false;  // only rates other than zero
  int pageHeight = 60;       // the list's height: (rows + heading) * 10
  std::function<int()> primer;
};

// What the test sees of the list and its form.
struct Seen {
  struct FormCall {
    std::uint8_t request;
    std::string code, name, note;  // the buffer when the form started
  };
  std::vector<FormCall> formCalls;
  std::vector<std::string> ownCalls;  // the buffer's code and note when the own button ran
  std::vector<bool> ownPresent;       // whether the selected record was still there
  std::optional<std::uint8_t> response;
  std::string codeAfter, nameAfter, noteAfter;  // the buffer after the list ended
  cases::BrowseManager* browse = nullptr;
  DbFile* file = nullptr;  // the list thread's copy of the file
};

// What the stand-in form does with its request.
struct FormScript {
  bool deleteConfirmed = true;
  // Insert and change: the values the form saves (empty keeps the field).
  std::string code, name, rate;
  bool save = true;  // OK saves; false cancels
};

inline Seen& seen() {
  static Seen s;
  return s;
}
inline FormScript& formScript() {
  static FormScript s;
  return s;
}
inline ListConfig& listConfig() {
  static ListConfig c;
  return c;
}

// The stand-in update form: no window; it does what its script says.
inline void UpdatePeople() {
  // Take the request as a window procedure does.
  const std::uint8_t request = app::ThreadRequest();
  app::ThreadRequest() = 0;
  app::ThreadResponse() = 0;
  seen().formCalls.push_back({request, PEO(PEO_CODE).text(), PEO(PEO_NAME).text(), PEO(PEO_NOTE).text()});
  DbFile& f = People();
  std::uint8_t response = app::ResponseCancelled;
  const FormScript& script = formScript();
  if (request == app::RequestDelete) {
    if (script.deleteConfirmed && f.remove(f.position()) == DbStatus::Ok) response = app::ResponseCompleted;
  } else if (request == app::RequestInsert || request == app::RequestChange) {
    const std::vector<std::uint8_t> original(f.image().begin(), f.image().end());
    if (!script.code.empty()) PEO(PEO_CODE).setText(script.code);
    if (!script.name.empty()) PEO(PEO_NAME).setText(script.name);
    if (!script.rate.empty()) PEO(PEO_RATE).setDecimal(*platform::Decimal::parse(script.rate));
    if (!script.save) {
      // Cancelled after typing: the typed values stay in the buffer.
    } else if (request == app::RequestInsert) {
      if (f.add() == DbStatus::Ok) response = app::ResponseCompleted;
    } else if (f.change(f.position(), original) == DbStatus::Ok) {
      response = app::ResponseCompleted;
    }
  }
  app::ThreadResponse() = response;
}

class PeopleList final : public cases::BrowseManager {
 public:
  void Refresh(bool force) override {
    if (listConfig().ranged) return BrowseManager::Refresh(force);
    const platform::Control* sheet = window().find(SHEET);
    SwitchOrder(sheet && sheet->selected() == 2 ? 1 : 2, force);
  }
  void RecalcFromView() override {
    ++recalcs;
    BrowseManager::RecalcFromView();
  }
  int recalcs = 0;
};

class PeopleWindow final : public app::ProcedureWindow {
 public:
  PeopleWindow(Window& w, platform::ListView& view) : ProcedureWindow(w, "BrowsePeople"), view_(view) {}

  int CallProcedure(int, std::uint8_t request) override { return cases::CallUpdateForm(REQUEST, UpdatePeople, request); }

  int OnAccepted() override {
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (event().control == OWN) {
      seen().ownPresent.push_back(browse.LoadSelectionForAction(true));
      seen().ownCalls.push_back(PEO(PEO_CODE).text() + "/" + PEO(PEO_NOTE).text());
      Refresh();
    }
    return platform::LevelContinue;
  }

  PeopleList browse;

 protected:
  int SetupMembers() override {
    AddCloseButton(CLOSE, app::ResponseCancelled);
    browse.Setup(BROWSE, view_, *this);
    browse.SetButtons({INSERT, CHANGE, DELETE, VIEW, SELECT, true});
    const ListConfig& cfg = listConfig();
    if (cfg.ranged) {
      browse.AddStepOrder(groupSteps_, KeyGroup);
      browse.LimitToRelated(PEO_GRP, ParentGroup());
    } else {
      browse.AddStepOrder(codeSteps_, KeyCode);
      if (cfg.keystroke)
        browse.SetOrderLocator(codeKeys_, 0, PEO_CODE);
      else
        browse.SetOrderLocator(codeEntry_, CODE_ENTRY, PEO_CODE);
      browse.AddStepOrder(nameSteps_, KeyName);
      if (cfg.keystroke)
        browse.SetOrderLocator(nameKeys_, 0, PEO_NAME);
      else
        browse.SetOrderLocator(nameEntry_, NAME_ENTRY, PEO_NAME);
    }
    if (cfg.filterRates)
      browse.SetFilter([](const std::uint8_t* image) {
        return !FieldRef::of(peopleLayout().field(PEO_RATE), const_cast<std::uint8_t*>(image)).isEmpty();
      });
    browse.AddColumn(PEO_CODE);
    browse.AddColumn(PEO_NAME);
    browse.AddColumn(PEO_RATE);
    browse.AddField(PEO_GRP);
    browse.SetUpdateProcedure(1);
    if (cfg.primer) browse.SetPrimer(cfg.primer);
    seen().browse = &browse;
    return platform::LevelContinue;
  }
  void AttachTargets() override { browse.AttachToolbar(toolbarObject()); }
  void ShutdownMembers() override { seen().browse = nullptr; }

 private:
  platform::ListView& view_;
  platform::TextStepMgr codeSteps_, nameSteps_, groupSteps_;
  cases::EntryTextLocator codeEntry_, nameEntry_;
  cases::KeystrokeLocator codeKeys_, nameKeys_;
};

inline ControlSpec ctl(int number, ControlKind kind, Rect rect, int parent = 0, std::string text = {}) {
  ControlSpec s;
  s.number = number;
  s.kind = kind;
  s.rect = rect;
  s.parent = parent;
  s.text = std::move(text);
  return s;
}

inline void BrowsePeople() {
  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Child;
  spec.caption = "People";
  spec.rect = {10, 10, 300, 200};
  spec.resizable = true;
  Window w(spec);
  w.add(ctl(SHEET, ControlKind::Sheet, {0, 0, 300, 40}));
  w.add(ctl(TAB_NAME, ControlKind::Tab, {0, 0, 300, 40}, SHEET, "By name"));
  ControlSpec nameEntry = ctl(NAME_ENTRY, ControlKind::Entry, {10, 15, 100, 12}, TAB_NAME);
  nameEntry.var = PEO(PEO_NAME);
  nameEntry.picture = "s100";
  w.add(nameEntry);
  w.add(ctl(TAB_CODE, ControlKind::Tab, {0, 0, 300, 40}, SHEET, "By code"));
  ControlSpec codeEntry = ctl(CODE_ENTRY, ControlKind::Entry, {10, 15, 100, 12}, TAB_CODE);
  codeEntry.var = PEO(PEO_CODE);
  codeEntry.picture = "s20";
  w.add(codeEntry);
  ControlSpec list = ctl(BROWSE, ControlKind::List, {0, 45, 300, listConfig().pageHeight});
  list.columns = {{80, platform::Justify::Left, "Code", platform::Justify::Left, "s8"},
                  {120, platform::Justify::Left, "Name", platform::Justify::Left, "s20"},
                  {80, platform::Justify::Right, "Rate", platform::Justify::Center, "N$-10.2B"}};
  w.add(list);
  w.add(ctl(INSERT, ControlKind::Button, {0, 150, 40, 14}, 0, "&Insert"));
  ControlSpec change = ctl(CHANGE, ControlKind::Button, {45, 150, 40, 14}, 0, "&Change");
  change.defaultButton = true;
  w.add(change);
  w.add(ctl(DELETE, ControlKind::Button, {90, 150, 40, 14}, 0, "&Delete"));
  w.add(ctl(VIEW, ControlKind::Button, {135, 150, 40, 14}, 0, "&View"));
  w.add(ctl(SELECT, ControlKind::Button, {180, 150, 40, 14}, 0, "&Select"));
  w.add(ctl(CLOSE, ControlKind::Button, {225, 150, 40, 14}, 0, "&Close"));
  w.add(ctl(OWN, ControlKind::Button, {0, 170, 40, 14}, 0, "Own"));
  ControlSpec selected = ctl(SELECTED_NAME, ControlKind::String, {50, 170, 100, 10});
  selected.var = PEO(PEO_NAME);
  w.add(selected);

  seen().file = &People();
  platform::ListView view(People());
  platform::WindowFitter resizer;
  PeopleWindow thisWindow(w, view);
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

// A scratch directory, a program whose first thread calls the list with a
// request and notes what it leaves behind, and the driver.
class ListTest : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    seen() = Seen{};
    formScript() = FormScript{};
    listConfig() = ListConfig{};
    ParentGroup().setText("");
    writer.emplace();
    drv.emplace();
  }
  void TearDown() override {
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    drv.reset();
    writer.reset();
    ScratchDirTest::TearDown();
  }

  // Starts the list; `before` runs on its thread first (to set the caller's
  // buffer), and the request is passed the way a caller passes it.
  void open(std::uint8_t request = 0, std::function<void()> before = {}) {
    ASSERT_NE(app::StartProgram([request, before] {
                if (before) before();
                app::ThreadRequest() = request;
                BrowsePeople();
                seen().response = app::ThreadResponse();
                seen().codeAfter = PEO(PEO_CODE).text();
                seen().nameAfter = PEO(PEO_NAME).text();
                seen().noteAfter = PEO(PEO_NOTE).text();
              }),
              0);
    drv->settle();
  }

  Window& list() { return drv->window("People"); }
  platform::Control& listControl() { return drv->control(list(), BROWSE); }
  // The listed codes, top to bottom.
  std::vector<std::string> shown() {
    std::vector<std::string> out;
    for (int r = 1; r <= listControl().rowCount(); ++r) out.push_back(listControl().cell(r, 1));
    return out;
  }
  std::string selectedCode() {
    const int r = listControl().selected();
    return r ? listControl().cell(r, 1) : std::string();
  }
  bool enabled(int control) { return drv->control(list(), control).enabled(); }
  cases::BrowseManager& browse() { return *seen().browse; }
  int recalcCount() { return static_cast<PeopleList&>(browse()).recalcs; }
  // A field of the list thread's record buffer.
  FieldRef buffer(int field) { return FieldRef::of(peopleLayout().field(field), seen().file->record()); }

  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  std::optional<Writer> writer;
  std::optional<platform::HeadlessDriver> drv;
};

}  // namespace listtest
