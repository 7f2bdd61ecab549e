#pragma once
// Closing the windows of other logical threads through their normal close
// path, so that no typed work is lost when the program's frame closes.
//
// CloseThreads asks the given threads' windows to close, one thread after
// the other, each from its top window (the one that takes input) down: it
// posts a close request to the top window, exactly as the window's close box
// would, and waits on the calling logical thread while that thread handles
// it. A form with changes therefore asks its question first. It goes on
// with the thread's next window until the thread has ended.
//
// The attempt ends, answering false, as soon as
//   - a window refuses its close request (its handler answered a level that
//     keeps the loop going, such as a form whose user chose not to lose the
//     changes, or the entry being edited held a text that does not read), or
//   - a thread's top window is not in a window controller's event loop, so
//     nobody could answer a close request for it: a message box waiting for
//     its answer, for example.
// The windows already closed stay closed. It answers true when every given
// thread has ended.
//
// A thread without an open window (one that has just been started) is
// waited for until it opens one or ends. Must be called on a logical thread
// that is not among `threads`.

#include <vector>

namespace platform {

class Window;

bool CloseThreads(const std::vector<int>& threads);

namespace detail {
// The event loop of `window`'s controller has handled a close request;
// `refused` when the loop goes on.
void closeAnswered(const Window& window, bool refused);
}  // namespace detail

}  // namespace platform
