#pragma once
// Fiber-local storage: one value per logical thread.
//
//   FiberLocal<ErrorManager> threadErrors;    // usually a global
//   threadErrors->report(...);                // this thread's own object
//
// A thread's value is made (default-constructed) the first time that thread
// uses it, so every thread starts with a fresh one, and it is destroyed on
// the thread when the thread ends, in the reverse order of making. Nothing
// is copied from the starting thread.

namespace platform {

namespace detail {
struct LocalSlot {
  void* value = nullptr;
  void (*destroy)(void*) = nullptr;
};
int newFiberLocalSlot();
// The calling thread's slot; throws std::logic_error outside a logical
// thread.
LocalSlot& currentLocalSlot(int slot);
// Notes that the calling thread has just filled `slot` (for the order of
// destruction).
void localSlotFilled(int slot);
// Another thread's slot, or nullptr when the thread does not exist.
LocalSlot* localSlotOf(int thread, int slot);
}  // namespace detail

template <class T>
class FiberLocal {
 public:
  FiberLocal() : slot_(detail::newFiberLocalSlot()) {}
  FiberLocal(const FiberLocal&) = delete;
  FiberLocal& operator=(const FiberLocal&) = delete;

  // The calling thread's value. Throws std::logic_error outside a logical
  // thread.
  T& get() {
    if (void* v = detail::currentLocalSlot(slot_).value) return *static_cast<T*>(v);
    // T's constructor may use other fiber-local values, which can move the
    // slots: look the slot up again afterwards.
    T* made = new T();
    detail::LocalSlot& s = detail::currentLocalSlot(slot_);
    s.value = made;
    s.destroy = [](void* p) { delete static_cast<T*>(p); };
    detail::localSlotFilled(slot_);
    return *made;
  }
  T& operator*() { return get(); }
  T* operator->() { return &get(); }

  // Another thread's value when that thread has made it, else nullptr (for
  // tests and diagnostics).
  T* find(int thread) const {
    detail::LocalSlot* s = detail::localSlotOf(thread, slot_);
    return s ? static_cast<T*>(s->value) : nullptr;
  }

 private:
  int slot_;
};

}  // namespace platform
