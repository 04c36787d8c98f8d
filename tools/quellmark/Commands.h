// The tool's subcommands. Each returns the process exit status: 0 success,
// 1 an engine error (message on stderr), 2 a usage error.
#pragma once

#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "Args.h"
#include "Output.h"
#include "ToolTexts.h"
#include "jet/core/Error.h"

namespace quellmark {

// The password the window uses for every database; it also opens files that have none.
inline constexpr const char* kDefaultPassword = "vk3.8812.rqz";

// A text the tool shows in both languages; text() picks the current one.
struct Bilingual {
  const char* chinese;
  const char* english;
  std::string text() const;
};

struct Command {
  const char* name;
  Bilingual summary;
  int (*run)(const std::vector<std::string>& args);
};

const std::vector<Command>& commands();

// The connection string the window builds, with the values quoted so that any
// path or password survives. `readOnly` opens the file for reading only.
std::string connectionStringFor(const std::string& file, const std::string& password, bool readOnly);
Format formatFrom(const std::string& name);

// Parses `args`, answers --help, then runs `body`, mapping usage errors to
// status 2 and engine errors to status 1 with the message on stderr.
template <class F>
int runGuarded(const std::vector<std::string>& args, const std::set<std::string>& valued,
               const std::set<std::string>& flags, size_t minPositional, size_t maxPositional,
               const Bilingual& help, F body) {
  const std::string usage = help.text();
  ParsedArgs a;
  try {
    a = parseArgs(args, valued, flags);
    if (a.flags.count("help")) {
      std::cout << usage;
      return 0;
    }
    if (a.positional.size() < minPositional || a.positional.size() > maxPositional)
      throw UsageError(text::wrongArgumentCount());
  } catch (const UsageError& e) {
    std::cerr << "quellmark: " << e.what() << "\n" << usage;
    return 2;
  }
  try {
    return body(a);
  } catch (const UsageError& e) {
    std::cerr << "quellmark: " << e.what() << "\n" << usage;
    return 2;
  } catch (const jet::Error& e) {
    std::cerr << "quellmark: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "quellmark: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace quellmark
