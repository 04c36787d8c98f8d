// Stopping the tool from outside: Ctrl-C, SIGTERM and SIGHUP ask the engine to
// stop, so the statement running ends with ErrorCode::Interrupted and its
// transaction rolls back through the ordinary error path before the tool
// exits. A page file's commit is never cut short by them: the engine looks
// at the request only between rows and just before a commit begins.
#pragma once

namespace quellmark {

// Installs the handlers. A second signal ends the process at once; the
// journal on disk then lets the next open undo whatever was half written.
void installStopHandlers();

// The signal that asked the tool to stop, or 0.
int stopSignal();

// The exit status for a stop by `signal`: 128 + its number, as shells report
// a process a signal ended.
inline int statusForSignal(int signal) {
  return 128 + signal;
}

}  // namespace quellmark
