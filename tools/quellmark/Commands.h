// The tool's subcommands. Each returns the process exit status: 0 success,
// 1 an engine error (message on stderr), 2 a usage error.
#pragma once

#include <string>
#include <vector>

namespace quellmark {

// The password the window uses for every database; it also opens files that have none.
inline constexpr const char* kDefaultPassword = "vk3.8812.rqz";

struct Command {
  const char* name;
  const char* summary;
  const char* help;
  int (*run)(const std::vector<std::string>& args);
};

const std::vector<Command>& commands();

}  // namespace quellmark
