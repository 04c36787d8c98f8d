#include "Args.h"

#include "ToolTexts.h"

namespace quellmark {

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valued,
                     const std::set<std::string>& flags) {
  ParsedArgs out;
  bool optionsDone = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsDone || a.size() < 3 || a.compare(0, 2, "--") != 0) {
      if (a == "--") {
        optionsDone = true;
        continue;
      }
      out.positional.push_back(a);
      continue;
    }
    std::string name = a.substr(2);
    std::string inlineValue;
    bool hasInline = false;
    if (auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
      hasInline = true;
    }
    if (valued.count(name)) {
      if (hasInline) {
        out.values[name] = inlineValue;
      } else {
        if (i + 1 >= args.size()) throw UsageError(text::optionNeedsValue(name));
        out.values[name] = args[++i];
      }
    } else if (flags.count(name) && !hasInline) {
      out.flags.insert(name);
    } else {
      throw UsageError(text::unknownOption(name));
    }
  }
  return out;
}

}  // namespace quellmark
