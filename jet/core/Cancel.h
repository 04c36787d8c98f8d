// A process-wide request to stop the statement that is running. A signal
// handler (Ctrl-C) or another thread sets it; the executor's row loops look at
// it every few thousand rows and end the statement with ErrorCode::Interrupted,
// so the statement's transaction rolls back as for any other error.
#pragma once

namespace jet {

// Safe to call from a signal handler: it only stores to a lock-free atomic.
void RequestCancel() noexcept;
bool CancelRequested() noexcept;
// Called before a new statement starts, so an old request does not stop it.
void ClearCancel() noexcept;
// Throws jet::Error(ErrorCode::Interrupted, msg::interrupted()) once a stop was requested.
void ThrowIfCancelled();

}  // namespace jet
