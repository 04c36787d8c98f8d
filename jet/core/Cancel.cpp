#include "jet/core/Cancel.h"

#include <atomic>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"

namespace jet {
namespace {

std::atomic<bool> cancelRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

}  // namespace

void RequestCancel() noexcept {
  cancelRequested.store(true, std::memory_order_relaxed);
}

bool CancelRequested() noexcept {
  return cancelRequested.load(std::memory_order_relaxed);
}

void ClearCancel() noexcept {
  cancelRequested.store(false, std::memory_order_relaxed);
}

void ThrowIfCancelled() {
  if (CancelRequested()) throw Error(ErrorCode::Interrupted, msg::interrupted());
}

}  // namespace jet
