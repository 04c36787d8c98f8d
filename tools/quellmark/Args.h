// A small command-line parser: positional arguments and --name VALUE / --flag
// options, with the usage errors the tool reports (exit status 2).
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace quellmark {

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;

  bool has(const std::string& name) const { return values.count(name) || flags.count(name); }
  std::string value(const std::string& name, const std::string& fallback = "") const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
  }
};

// `valued` names the options that take a value, `flags` those that do not.
// Throws UsageError for an unknown option or a missing value.
ParsedArgs parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valued,
                     const std::set<std::string>& flags);

}  // namespace quellmark
