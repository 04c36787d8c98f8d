// A process-wide request to stop the statement that is running. A signal
// handler (Ctrl-C) or another thread sets it; the executor's row loops look at
// it every few thousand rows and end the statement with ErrorCode::Interrupted,
// so the statement's transaction rolls back as for any other error.
#pragma once

#include <cstdint>

namespace jet {

// Safe to call from a signal handler: it only stores to a lock-free atomic.
void RequestCancel() noexcept;
bool CancelRequested() noexcept;
// For a caller that carries on after a stop (a window, a test): forgets the request.
void ClearCancel() noexcept;
// Throws jet::Error(ErrorCode::Interrupted, msg::interrupted()) once a stop was requested.
void ThrowIfCancelled();

// A row loop's check: looks at the request once every 4096 rows, so the loop
// pays almost nothing for it and still stops within a moment.
class CancelPoint {
 public:
  void check() {
    if ((++rows_ & 0xFFF) == 0) ThrowIfCancelled();
  }

 private:
  uint32_t rows_ = 0;
};

}  // namespace jet
