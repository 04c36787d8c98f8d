// The command line as UTF-8 strings. On Windows the narrow argv is in the
// ANSI code page, which cannot hold Chinese table names, so the wide command
// line is converted instead, and the console is switched to UTF-8 output.
#pragma once

#include <string>
#include <vector>

namespace quellmark {

std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace quellmark
