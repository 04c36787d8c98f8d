// The command line as UTF-8 strings. On Windows the narrow argv is in the
// ANSI code page, which cannot hold Chinese table names, so the wide command
// line is converted instead, and the console is switched to UTF-8 output.
#pragma once

#include <string>
#include <vector>

namespace quellmark {

std::vector<std::string> utf8Arguments(int argc, char** argv);

// Sets the language of every message from the user's locale (LC_ALL,
// LC_MESSAGES, LANG); on Windows, where these are seldom set, from the
// user's display language when none is.
void useUserLanguage();

}  // namespace quellmark
