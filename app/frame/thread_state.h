#pragma once
// What every logical thread of the program has for itself, and the codes of
// the calling protocol between window procedures.
//
// Every thread, the first one included, is set up when it starts and torn
// down when it ends (program.h): it gets a new error manager, cleared
// request, response and scrolling bytes, and its own copies of the record
// files with their access and relation objects. Nothing is copied from the
// thread that started it.
//
// A direct call between procedures on one thread passes through the two
// bytes: the caller stores the request in ThreadRequest and calls; the
// called window's set-up copies it into its REQUEST and clears both bytes;
// when the called procedure ends it leaves its result in ThreadResponse,
// which the caller reads right after the call (CallWithRequest).

#include <cstdint>
#include <functional>

#include "platform/lib/error_manager.h"

namespace app {

// Requests (ThreadRequest, WindowController::REQUEST); 0 is no request.
constexpr std::uint8_t RequestInsert = 1;
constexpr std::uint8_t RequestChange = 2;
constexpr std::uint8_t RequestDelete = 3;
constexpr std::uint8_t RequestSelect = 4;
constexpr std::uint8_t RequestView = 6;

// Responses (ThreadResponse, WindowController::RESPONSE).
constexpr std::uint8_t ResponseCompleted = 1;
constexpr std::uint8_t ResponseCancelled = 2;

// The calling thread's own values. They throw std::logic_error outside a
// logical thread; ThreadErrors also while the thread's error manager does
// not exist (before the thread's set-up, after its tear-down).
platform::ErrorManager& ThreadErrors();
std::uint8_t& ThreadRequest();
std::uint8_t& ThreadResponse();
std::int32_t& ThreadVcrRequest();

// A direct call with a request: ThreadRequest := request, the procedure
// runs on this thread, and its ThreadResponse is the answer.
std::uint8_t CallWithRequest(const std::function<void()>& procedure, std::uint8_t request);

// The data layer's share of every thread: its copies of the four record
// files and its dictionary objects (ThreadDictionary). The data layer
// installs itself here; each call runs on the thread concerned, so the
// layer keeps what it makes in fiber-local storage of its own. A thread
// ended by a program halt or from outside gets no calls at its end: the
// layer's fiber-local values are destroyed as the thread unwinds, and their
// destructors close what they hold.
class ThreadDataLayer {
 public:
  virtual ~ThreadDataLayer() = default;
  // The thread's own copy of each record file, in the order
  // CaseCloseSummary, HOURLY, RateMilage, TOTALS: closed, record buffer and
  // key tables of its own, record buffer cleared.
  virtual void MakeThreadFiles() = 0;
  // Constructs the thread's ThreadDictionary, which runs DictionarySetup.
  virtual void ConstructDictionary() = 0;
  // Destroys it, which runs DictionaryShutdown.
  virtual void DestroyDictionary() = 0;
  // Closes and releases the thread's copies, in the order TOTALS,
  // RateMilage, HOURLY, CaseCloseSummary.
  virtual void ReleaseThreadFiles() = 0;
};

// Installs the data layer (not owned); nullptr for none. Threads set up
// while none is installed have no record files.
void SetThreadDataLayer(ThreadDataLayer* layer);
ThreadDataLayer* threadDataLayer();

}  // namespace app
