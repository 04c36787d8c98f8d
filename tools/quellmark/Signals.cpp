#include "Signals.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>

#include "jet/core/Cancel.h"

namespace quellmark {

namespace {

volatile std::sig_atomic_t received = 0;

extern "C" void onStopSignal(int signal) {
  if (received != 0) std::_Exit(statusForSignal(signal));
  received = signal;
  jet::RequestCancel();
#ifdef _WIN32
  std::signal(signal, onStopSignal);  // the C runtime resets a handler once called
#endif
}

}  // namespace

void installStopHandlers() {
#ifdef _WIN32
  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
#else
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a read waiting at the confirmation prompt returns at once.
  action.sa_flags = 0;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal the caller chose to ignore (nohup, a background job) stays ignored.
    struct sigaction inherited {};
    if (sigaction(signal, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
#endif
}

int stopSignal() {
  return received;
}

}  // namespace quellmark
