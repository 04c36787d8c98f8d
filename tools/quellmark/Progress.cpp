#include "Progress.h"

#include <chrono>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define QM_ISATTY _isatty
#define QM_FILENO _fileno
#else
#include <unistd.h>
#define QM_ISATTY isatty
#define QM_FILENO fileno
#endif

namespace quellmark {

bool stderrIsTerminal() {
  return QM_ISATTY(QM_FILENO(stderr)) != 0;
}
bool stdinIsTerminal() {
  return QM_ISATTY(QM_FILENO(stdin)) != 0;
}

Progress::Progress(std::string label) : label_(std::move(label)) {
  if (!stderrIsTerminal()) return;
  thread_ = std::thread([this] {
    using namespace std::chrono;
    auto start = steady_clock::now();
    const int width = 24;
    for (int tick = 0; !done_; ++tick) {
      auto secs = duration_cast<seconds>(steady_clock::now() - start).count();
      std::string bar(width, ' ');
      int pos = tick % (2 * width - 2);
      bar[pos < width ? pos : 2 * width - 2 - pos] = '#';
      std::fprintf(stderr, "\r%s [%s] %llds", label_.c_str(), bar.c_str(), static_cast<long long>(secs));
      std::fflush(stderr);
      for (int i = 0; i < 10 && !done_; ++i) std::this_thread::sleep_for(milliseconds(20));
    }
  });
}

Progress::~Progress() {
  done_ = true;
  if (thread_.joinable()) {
    thread_.join();
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
  }
}

}  // namespace quellmark
