// quellmark: the engine and the duplicate tools on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "PlatformArgs.h"
#include "Signals.h"
#include "ToolTexts.h"

namespace {

void usage(std::ostream& out) {
  out << quellmark::text::toolUsage() << "\n";
  for (const auto& c : quellmark::commands())
    out << "  " << c.name << std::string(12 - std::string(c.name).size(), ' ') << c.summary.text() << "\n";
  out << "\n" << quellmark::text::commandHelpHint() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args = quellmark::utf8Arguments(argc, argv);
  quellmark::useUserLanguage();
  if (args.empty()) {
    usage(std::cerr);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    usage(std::cout);
    return 0;
  }
  quellmark::installStopHandlers();
  for (const auto& c : quellmark::commands()) {
    if (args[0] != c.name) continue;
    const int status = c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    // Stopped: a write under way has been rolled back by now. The status
    // says so even where the command ended on its own terms (a prompt the
    // signal cut short, a read that returned early).
    if (const int signal = quellmark::stopSignal()) return quellmark::statusForSignal(signal);
    return status;
  }
  std::cerr << "quellmark: " << quellmark::text::unknownCommand(args[0]) << "\n";
  usage(std::cerr);
  return 2;
}
