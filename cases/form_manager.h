#pragma once
// The form shape: the window procedure that adds, changes, shows or deletes
// one record of its primary file, on the thread's record buffer of that
// file. A list calls its form directly on its own thread (ThreadRequest :=
// the request, the call, ThreadResponse read); the list has loaded the
// selected record into the buffer, or primed a new one, before the call.
//
//   void UpdateSomething() {
//     platform::Window window(spec);  ... window.add(...) ...
//     platform::WindowFitter resizer;
//     SomethingForm thisWindow(window, "UpdateSomething",
//                              dictionary::Access_Something(), dictionary::Relate_Something());
//     thisWindow.SetButtons(OK, CANCEL);
//     thisWindow.AddHistory(control, field) ...;      // every data control
//     thisWindow.SetViewLock({read-only ...}, {disabled ...});
//     thisWindow.SetResizer(resizer);
//     app::RunProcedureWindow(thisWindow);
//   }
//
// What every form does:
//   - Title by request (FormCaption): "View Record", "Record Will Be
//     Added", "Record Will Be Changed".
//   - Delete: the window never opens. The relation object asks "Are you
//     sure you want to delete the highlighted record?" and deletes the
//     record with its related records; Yes and a delete that went through
//     answer ResponseCompleted, anything else ResponseCancelled.
//   - OK when adding or changing: every data control that is neither hidden
//     nor disabled (entries, texts, check boxes, option groups, drop lists,
//     combos, spin boxes; never buttons) is accepted in turn, each as an
//     accepted event that the form's handlers see; the first control marked
//     required whose variable is empty (blank text, zero, no date) stops the
//     check and takes the focus, its tab brought forward when another tab
//     shows. Then the record is copied into the history copy and saved: an
//     insert through the access object, a change through the relation
//     object, which carries a changed linking value to the related records.
//     A change without any difference writes nothing. A refused save keeps
//     the form open with the focus on its first control; a change whose
//     write failed in a way that trying again can cure asks "Record Update
//     Error" (Yes tries again, No gives the change up and closes the form as
//     Cancel does, Cancel keeps it open). A saved record closes the form
//     with ResponseCompleted.
//   - Cancel, the close box: when adding or changing and the record differs
//     from what the form was given, "Changes will be lost!" asks first; No
//     keeps the form open with the focus on its first control.
//   - View mode: the member's entry controls are read-only and its buttons
//     and drop lists disabled; OK closes without saving; the answer is
//     always ResponseCancelled.
//   - A form that ends without completing (Cancel, the close box, OK in
//     view mode, a refused delete, a given-up change) leaves the thread's
//     record buffer as it was given it (the calling list puts back what it
//     held before priming an insert), and a number the priming reserved for
//     the new record is released.
//   - History: Ctrl+H in a control with a history entry gives its field the
//     value it had in the last record that passed this form's OK on this
//     thread (blank or zero before the first); one copy per form procedure
//     and thread, kept for the thread's life.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/frame/procedure_window.h"
#include "platform/db/file.h"
#include "platform/lib/file_manager.h"
#include "platform/lib/file_relations.h"
#include "platform/lib/toolbar.h"
#include "platform/lib/window_controller.h"
#include "platform/ui/keys.h"

namespace cases {

// The key that repeats a field from the history copy.
constexpr platform::KeyPress HistoryKey = platform::KeyPress::ctrl('H');

// The title of a form by its request; empty for a request that has none
// (the window keeps its own).
const char* FormCaption(std::uint8_t request);

// The history of one form: its entries (a control and the record field it
// shows) and the thread's copy of the last record the form completed.
class FormHistory final : public platform::WindowComponent {
 public:
  // `record` is the primary file's record buffer; `copy` the form's copy,
  // of the record's size.
  void Setup(const platform::RecordLayout& layout, std::uint8_t* record, std::span<std::uint8_t> copy);
  void AddEntry(int control, int field);
  const std::vector<std::pair<int, int>>& entries() const { return entries_; }
  // The whole record into the copy.
  void TakeCopy();

  // Ctrl+H: restores the focused control's field and answers skip, so that
  // no later component takes the key; the form goes on with the event.
  int TakeEvent(const platform::Event& event) override;
  void AddAlertKeys(platform::Window& window) override;
  // How many fields Ctrl+H has restored so far.
  int restores() const { return restores_; }

 private:
  const platform::RecordLayout* layout_ = nullptr;
  std::uint8_t* record_ = nullptr;
  std::span<std::uint8_t> copy_;
  std::vector<std::pair<int, int>> entries_;  // control, field number
  int restores_ = 0;
};

// The thread's history copy of a form procedure: record-sized, blank text
// and zero numbers until the form first completes on the thread.
std::span<std::uint8_t> HistoryCopy(const std::string& procedureName, const platform::RecordLayout& layout);

class FormWindow : public app::ProcedureWindow, private platform::ToolbarTarget {
 public:
  FormWindow(platform::Window& window, std::string procedureName, platform::FileManager& access,
             platform::FileRelations& relation, std::int32_t firstField = 1);
  ~FormWindow() override;

  // --- the member's declarations, before Execute ---
  void SetButtons(int ok, int cancel);
  // A data control and the field of the primary record it shows.
  void AddHistory(int control, int field);
  // View mode: the controls made read-only and those disabled.
  void SetViewLock(std::vector<int> readOnly, std::vector<int> disabled);

  platform::FileManager& access() const { return access_; }
  platform::FileRelations& relation() const { return relation_; }
  FormHistory& history() { return history_; }
  // Whether the record buffer differs from the record the form was given.
  bool RecordChanged() const;

  // Gives the focus to a control, bringing its tab forward first.
  void SelectControl(int control);

  // The window's run; in view mode the answer is ResponseCancelled whatever
  // the window's response.
  int Execute() override;
  // FormCaption, then the class library's event loop.
  void EventLoop() override;
  // Follows the required-entry check from control to control.
  int TakeEvent() override;
  // The class library's handling, then OK.
  int OnAccepted() override;
  // A field that Ctrl+H restored is handling that goes on: the
  // after-handling hook follows it.
  int OnAlertKey() override;
  int OnCloseRequest() override;
  int Shutdown() override;

 protected:
  int SetupMembers() override;
  void SetupOpenWindow() override;
  void AttachTargets() override;
  // A member's last word on OK, once the required-entry check has passed
  // and before the history copy: false keeps the form open, nothing saved
  // (the member has said why), with the focus on its first control.
  virtual bool ReadyToSave() { return true; }

 private:
  platform::Window& ToolbarWindow() const override { return window(); }
  int ToolbarControl(platform::ToolbarButton) const override { return 0; }

  bool adding() const;
  bool changing() const;
  bool isDataControl(const platform::Control& c) const;
  // The next data control after `control` in Tab order that the check
  // accepts (0 from the start); 0 when none is left.
  int nextToCheck(int control) const;
  void startCheck();
  int checkStep(int control);
  void save();
  void complete();
  void focusFirst();

  platform::FileManager& access_;
  platform::FileRelations& relation_;
  FormHistory history_;
  int ok_ = 0;
  int cancel_ = 0;
  std::vector<int> viewReadOnly_, viewDisabled_;
  std::vector<std::uint8_t> original_;  // the record as the form was given it
  int checking_ = 0;    // the control whose accepted event the check awaits
  bool givingUp_ = false;  // the user gave a failed change up
  bool shutDown_ = false;
};

}  // namespace cases
