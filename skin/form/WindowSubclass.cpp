#include "skin/form/WindowSubclass.h"

#include <array>
#include <atomic>
#include <mutex>
#include <utility>

namespace skin {

namespace {

// Enough for every top-level window and control of the program at once; a
// link that finds no free slot is simply not made (the window stays as it is).
constexpr size_t kSlotCount = 512;

std::array<std::atomic<TWindowSubclass*>, kSlotCount>& Slots() {
  static std::array<std::atomic<TWindowSubclass*>, kSlotCount> slots{};
  return slots;
}

std::mutex& SlotLock() {
  static std::mutex lock;
  return lock;
}

template <size_t N>
LRESULT CALLBACK SlotProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindowSubclass* link = Slots()[N].load(std::memory_order_acquire);
  return link ? link->Dispatch(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

template <size_t... N>
constexpr std::array<WNDPROC, sizeof...(N)> MakeSlotProcedures(std::index_sequence<N...>) {
  return {&SlotProcedure<N>...};
}

constexpr std::array<WNDPROC, kSlotCount> kSlotProcedures =
    MakeSlotProcedures(std::make_index_sequence<kSlotCount>{});

WNDPROC CurrentProcedure(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
}

}  // namespace

TWindowSubclass* TWindowSubclass::Install(HWND hwnd, Handler handler) {
  if (!hwnd || !IsWindow(hwnd) || !handler) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  TWindowSubclass* link = nullptr;
  {
    std::lock_guard<std::mutex> guard(SlotLock());
    for (size_t i = 0; i < kSlotCount && !link; ++i) {
      if (Slots()[i].load(std::memory_order_relaxed)) continue;
      link = new TWindowSubclass(hwnd, std::move(handler), i);
      Slots()[i].store(link, std::memory_order_release);
    }
  }
  if (!link) return nullptr;
  link->previous_ = CurrentProcedure(hwnd);
  SetLastError(0);
  LONG_PTR old = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->Procedure()));
  if (old == 0 && GetLastError() != 0) {
    std::lock_guard<std::mutex> guard(SlotLock());
    Slots()[link->slot_].store(nullptr, std::memory_order_release);
    delete link;
    return nullptr;
  }
  // The procedure may have changed between the read and the write.
  link->previous_ = reinterpret_cast<WNDPROC>(old);
  return link;
}

WNDPROC TWindowSubclass::Procedure() const {
  return kSlotProcedures[slot_];
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!previous_) return DefWindowProcW(hwnd_, msg, wParam, lParam);
  return CallWindowProcW(previous_, hwnd_, msg, wParam, lParam);
}

LRESULT TWindowSubclass::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  // A link let go while others stood in front of it steps out as soon as it
  // is first again.
  if (released_) PutBackIfCurrent();
  ++depth_;
  LRESULT result = released_ ? CallPrevious(msg, wParam, lParam) : handler_(msg, wParam, lParam);
  --depth_;
  if (msg == WM_NCDESTROY) {
    // The window's last message: whatever is still linked dies with it.
    PutBackIfCurrent();
    windowGone_ = true;
  }
  FreeWhenIdle();
  return result;
}

void TWindowSubclass::Remove() {
  released_ = true;
  PutBackIfCurrent();
  FreeWhenIdle();
}

void TWindowSubclass::PutBackIfCurrent() {
  if (putBack_ || windowGone_) return;
  if (!IsWindow(hwnd_)) {
    windowGone_ = true;
    return;
  }
  if (CurrentProcedure(hwnd_) != Procedure()) return;
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  putBack_ = true;
}

void TWindowSubclass::FreeWhenIdle() {
  // Nobody can call the slot any more once the old procedure is back or the
  // window is gone; while a message runs, the outermost return frees it.
  if (!released_ || depth_ > 0 || !(putBack_ || windowGone_)) return;
  {
    std::lock_guard<std::mutex> guard(SlotLock());
    Slots()[slot_].store(nullptr, std::memory_order_release);
  }
  delete this;
}

size_t TWindowSubclass::LiveCount() {
  std::lock_guard<std::mutex> guard(SlotLock());
  size_t n = 0;
  for (const auto& slot : Slots())
    if (slot.load(std::memory_order_relaxed)) ++n;
  return n;
}

}  // namespace skin
