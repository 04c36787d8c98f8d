// A progress line on stderr while one long statement runs: elapsed time and a
// moving bar, drawn only when stderr is a terminal. The engine runs each
// statement in one call, so this shows that work goes on, not a fraction.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace quellmark {

class Progress {
 public:
  explicit Progress(std::string label);
  ~Progress();  // clears the line
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

 private:
  std::string label_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

bool stderrIsTerminal();
bool stdinIsTerminal();

}  // namespace quellmark
