#pragma once
// The list shape: one list of a window procedure over one record file, its
// primary file.
//
// A list procedure declares its list while its window is set up, in this
// order:
//
//   browse.Setup(BROWSE_1, view, thisWindow);        // control, view, window
//   browse.SetButtons({.insert = INSERT_3, .change = CHANGE_3, .remove = DELETE_3});
//   browse.AddStepOrder(byNumberSteps, KeyCaseNumber);    // order 1
//   browse.SetOrderLocator(numberLocator, CCS_CASENUMBER_ENTRY, CCS_CASENUMBER);
//   browse.AddStepOrder(byNameSteps, KeyCaseName);        // order 2
//   browse.SetOrderLocator(nameLocator, CCS_CASENAME_ENTRY, CCS_CASENAME);
//   browse.AddColumn(CCS_CASENUMBER); ...                 // list format order
//   browse.SetUpdateProcedure(1);
//
// A locator or a range always concerns the order declared last. The list
// loads its first page when the window has opened, and from then on:
//
// Page loading. Only the page the list shows is read, with a fresh query
// in key order for each page (platform::ListView); scrolling past the page
// reads the next records.
//
// Selection. When the selected row changes, the row's listed fields
// (columns and hidden fields) are copied into the file's record buffer; the
// other fields of the buffer are left as they are. Before the action of any
// button, the whole selected record is read again from the file by its
// position (LoadSelectionForAction); when it has gone (another thread
// deleted it), the list reloads and the button's action is skipped. An
// empty list loads nothing, so the buffer keeps what it held; but a delete
// that leaves the list empty clears the buffer, which would otherwise go on
// holding the deleted record.
//
// Buttons. Insert, Change, Delete and View run the ask cycle with their
// request (Ask): the new record is primed for an insert, the window's
// CallProcedure calls the update form, and the list then reloads: on the
// saved record after a completed insert or change, at the same place
// otherwise. A call that does not complete leaves the record buffer as it
// was before the button was pressed. Change, Delete and View are disabled
// while the list is empty. Keys on the list: Insert and Delete press their
// buttons, Ctrl+Enter Change, Shift+Enter View, a double-click Select in
// select mode and Change otherwise; Enter presses the window's default
// button (the description's Change; Select in select mode).
//
// Select mode (the window's request is RequestSelect): the record buffer
// is saved when the list is set up. Select closes the window with
// ResponseCompleted and leaves the picked row's listed fields in the
// buffer; any other way out puts the saved buffer back. Outside select
// mode a Select marked hideSelect is hidden and disabled.
//
// View mode (RequestView): Insert, Change and Delete are not attached.

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/db/file.h"
#include "platform/lib/file_manager.h"
#include "platform/lib/file_relations.h"
#include "platform/lib/list_view.h"
#include "platform/lib/step_managers.h"
#include "platform/lib/toolbar.h"
#include "platform/lib/window_controller.h"
#include "platform/types/field.h"
#include "platform/types/picture.h"

namespace cases {

class Locator;
using platform::StepMgr;

// The controls of a list's buttons; 0 where the window has none.
struct ListButtons {
  int insert = 0;
  int change = 0;
  int remove = 0;  // Delete
  int view = 0;
  int select = 0;
  bool hideSelect = false;  // Select is hidden and disabled outside select mode
};

class BrowseManager : public platform::WindowComponent, public platform::ToolbarTarget {
 public:
  BrowseManager() = default;
  ~BrowseManager() override;

  // --- declaration, while the window is set up ---
  // The list control, the view over the primary file and the window; adds
  // the list to the window's components. The window's REQUEST must be set.
  void Setup(int listControl, platform::ListView& view, platform::WindowController& window);
  // Attaches the buttons (Insert, Change and Delete not in view mode).
  void SetButtons(const ListButtons& buttons);
  // A new sort order by key number `key`, with its scroll-step object.
  void AddStepOrder(StepMgr& steps, int key);
  // The last order's locator, its entry control (0 for none) and key field.
  void SetOrderLocator(Locator& locator, int control, int keyField);
  // The last order shows only the records whose `field` equals `parent`, a
  // field of the parent file's record buffer; re-read at every refresh.
  void LimitToRelated(int field, platform::FieldRef parent);
  // Every listed record must pass the filter.
  void SetFilter(platform::ListView::Filter filter);
  // The next column of the list format, or a hidden row field.
  void AddColumn(int field);
  void AddField(int field);
  // The next column shows a variable outside the view's file (a field of a
  // parent record), the same on every row; it is never copied back.
  void AddColumn(platform::FieldRef outside);
  // The update procedure's number for CallProcedure; 0 (a picker): none.
  void SetUpdateProcedure(int number) { updateProcedure_ = number; }
  // Completes the priming of a new record after the buffer was cleared and
  // the range fields set: the access object's new-record defaults and
  // auto-number. Answers a level; other than 0 cancels the insert.
  void SetPrimer(std::function<int()> primer) { primer_ = std::move(primer); }
  // Insert is enabled, and an insert runs, only while `allowed` answers
  // true (asked at every update of the buttons and before an insert);
  // without a condition Insert stays enabled.
  void SetInsertCondition(std::function<bool()> allowed) { insertAllowed_ = std::move(allowed); }
  // Makes the list the toolbar's target; `help` is the window's help button.
  void AttachToolbar(platform::Toolbar& toolbar, int help = 0);

  // --- operations ---
  // Chooses the order for the window's state and reloads when needed. The
  // default keeps the current order; lists that choose it by a tab
  // override it. Runs at every refresh of the window, forced when the list
  // first loads.
  virtual void Refresh(bool force);
  // Reloads from the start of `order` when it is not the current order,
  // when its range now holds other values, or when forced.
  void SwitchOrder(int order, bool force);
  // After every reload from the start and after every call of the update
  // form: recomputes the scroll thumb's steps. Worksheets add their totals.
  virtual void RecalcFromView();
  // The ask cycle with `request`; answers the form's response, 0 when the
  // action was skipped because the selected record has gone.
  int Ask(std::uint8_t request);
  // Reads the whole selected record into the buffer. False when it has
  // gone or cannot be read: the list has reloaded and the list's own action
  // must be skipped. The buffer then holds the newly selected row's listed
  // fields, or with `keepGone` still those of the record that has gone (for
  // the window's own buttons, which run all the same: they must not work on
  // another record than the one the user chose). True also for an empty
  // list, which loads nothing.
  bool LoadSelectionForAction(bool keepGone = false);
  // Moves the list to the first record at or after a key value.
  void Locate(const platform::KeyValue& value);
  // The key value that a search text stands for in the current order.
  platform::KeyValue KeyValueOfText(int keyField, const std::string& latin1) const;
  // Reloads the page at the same place.
  void ReloadPage();
  // Copies the selected row's listed fields into the record buffer.
  void CopySelection();

  // --- state ---
  int listControl() const { return listControl_; }
  platform::ListView& view() const { return *view_; }
  platform::DbFile& file() const { return view_->file(); }
  int currentOrder() const { return order_; }
  int orderCount() const { return static_cast<int>(orders_.size()); }
  bool selectMode() const { return selectMode_; }
  bool viewMode() const { return viewMode_; }
  const ListButtons& buttons() const { return buttons_; }
  int rowCount() const { return view_ ? view_->rowCount() : 0; }
  platform::Window& window() const;

  // --- the window's component ---
  int TakeEvent(const platform::Event& event) override;
  void RefreshComponent(bool force) override;
  void LoadSelection() override;
  void ShutdownComponent() override;

  // --- the toolbar's target ---
  platform::Window& ToolbarWindow() const override { return window(); }
  int ToolbarControl(platform::ToolbarButton button) const override;

 protected:
  // Priming of a new record (step 2 of the ask cycle); answers a level.
  int PrimeRecord();
  // Shows the page in the list control, the thumb and the buttons' states,
  // and copies the selection into the buffer.
  void ShowPage();
  void UpdateButtons();
  // Reports a failed read of the view through the window's error manager.
  void report(platform::DbStatus status);

 private:
  struct Range {
    int field = 0;
    platform::FieldRef parent;
  };
  struct Order {
    int key = 0;
    StepMgr* steps = nullptr;
    Locator* locator = nullptr;
    std::optional<Range> range;
  };

  Order* current();
  const Order* current() const;
  std::optional<platform::KeyValue> rangeValue(const Order& order) const;
  void loadFirst();
  void afterAsk(std::uint8_t request, std::uint8_t response, int row);
  void press(int control);
  void pick();
  void scroll(const platform::Event& event);
  void syncPageRows();
  void copyRow(const platform::DbRow& row);

  platform::WindowController* window_ = nullptr;
  platform::ListView* view_ = nullptr;
  int listControl_ = 0;
  ListButtons buttons_;
  int help_ = 0;
  std::vector<Order> orders_;
  int order_ = 0;  // the current order, 1-based; 0 before the first load
  std::vector<int> columns_;                 // 0: a variable of outside_
  std::vector<platform::FieldRef> outside_;  // one per column
  std::vector<std::optional<platform::Picture>> pictures_;  // of the columns
  std::vector<int> fields_;                                 // hidden row fields
  int updateProcedure_ = 0;
  std::function<int()> primer_;
  std::function<bool()> insertAllowed_;
  bool selectMode_ = false;
  bool viewMode_ = false;
  std::optional<platform::DbFileState> callerBuffer_;  // select mode
  std::optional<platform::DbRow> picked_;
};

// A list whose sheet chooses the order: its tab n shows the order
// orderOfTab[n - 1]; with no tab chosen, the first tab's order.
class TabOrderBrowse final : public BrowseManager {
 public:
  TabOrderBrowse(int sheet, std::vector<int> orderOfTab) : sheet_(sheet), orderOfTab_(std::move(orderOfTab)) {}
  void Refresh(bool force) override;

 private:
  int sheet_;
  std::vector<int> orderOfTab_;
};

// A relation object as a window procedure opens it with its related files
// (app::ProcedureWindow::OpenFiles) and closes it at its shut-down.
class RelationOpener final : public platform::RelatedFiles {
 public:
  explicit RelationOpener(platform::FileRelations& relation) : relation_(relation) {}
  int Open() override { return relation_.Open(); }
  int Close() override {
    relation_.Close();
    return platform::LevelContinue;
  }

 private:
  platform::FileRelations& relation_;
};

// The opener of a list's view over a file that `access` opens on the thread
// when first used: Ok once UseFile has opened it, NotOpen when it fails.
platform::ListView::Opener UseFileOpener(platform::FileManager& access);

// A list window's call of its update form: in view mode ResponseCancelled
// at once; otherwise ThreadRequest := request, the form runs on this
// thread, and its ThreadResponse is the answer.
std::uint8_t CallUpdateForm(std::uint8_t listRequest, void (*form)(), std::uint8_t request);

}  // namespace cases
