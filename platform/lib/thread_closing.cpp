#include "platform/lib/thread_closing.h"

#include <algorithm>
#include <stdexcept>

#include "platform/fiber/thread.h"
#include "platform/lib/window_controller.h"
#include "platform/ui/desktop.h"
#include "platform/ui/window.h"

namespace platform {

namespace {

// A close request waiting for its window's answer.
struct Pending {
  int window;  // Window::id
  int requester;
  bool answered = false;
  bool refused = false;
};

std::vector<Pending*>& pendingCloses() {
  static std::vector<Pending*> list;
  return list;
}

// While it lives, wakes `waiter` whenever one of `threads` opens or closes a
// window or ends, so the waiter can look again.
class Watch final : private DesktopObserver {
 public:
  Watch(int waiter, const std::vector<int>& threads) : waiter_(waiter), threads_(threads) {
    desktop().addObserver(this);
    hook_ = addThreadEndHook([this] {
      if (watched(currentThread())) wakeThread(waiter_);
    });
  }
  ~Watch() override {
    removeThreadHook(hook_);
    desktop().removeObserver(this);
  }
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

 private:
  bool watched(int thread) const { return std::find(threads_.begin(), threads_.end(), thread) != threads_.end(); }
  void windowOpened(Window& w) override {
    if (watched(w.thread())) wakeThread(waiter_);
  }
  void windowClosed(Window& w) override {
    if (watched(w.thread())) wakeThread(waiter_);
  }
  // The window refused the request before its loop saw it.
  void closeRefused(Window& w) override {
    if (watched(w.thread())) detail::closeAnswered(w, true);
  }

  int waiter_;
  std::vector<int> threads_;
  int hook_ = 0;
};

struct Registered {
  Pending& p;
  explicit Registered(Pending& pending) : p(pending) { pendingCloses().push_back(&p); }
  ~Registered() {
    auto& list = pendingCloses();
    list.erase(std::remove(list.begin(), list.end(), &p), list.end());
  }
  Registered(const Registered&) = delete;
  Registered& operator=(const Registered&) = delete;
};

bool windowOpen(int id) {
  Window* w = desktop().find(id);
  return w && w->isOpen();
}

}  // namespace

namespace detail {

void closeAnswered(const Window& window, bool refused) {
  for (Pending* p : pendingCloses())
    if (p->window == window.id() && !p->answered) {
      p->answered = true;
      p->refused = refused;
      wakeThread(p->requester);
    }
}

}  // namespace detail

bool CloseThreads(const std::vector<int>& threads) {
  const int self = currentThread();
  if (self == 0) throw std::logic_error("CloseThreads outside a logical thread");
  if (std::find(threads.begin(), threads.end(), self) != threads.end())
    throw std::logic_error("CloseThreads cannot close the calling thread");
  Watch watch(self, threads);
  for (int thread : threads) {
    while (threadAlive(thread)) {
      Window* top = desktop().activeWindow(thread);
      if (!top) {
        waitForWake();
        continue;
      }
      if (!WindowController::inEventLoop(*top)) return false;
      Pending pending{top->id(), self};
      Registered registered(pending);
      top->post(EventKind::CloseRequest);
      while (!pending.answered && windowOpen(pending.window) && threadAlive(thread)) waitForWake();
      if (pending.answered && pending.refused && windowOpen(pending.window)) return false;
      // An accepted close: the window closes as its procedure ends. Wait for
      // that before looking at the thread's next window.
      while (windowOpen(pending.window) && threadAlive(thread)) waitForWake();
    }
  }
  return true;
}

}  // namespace platform
