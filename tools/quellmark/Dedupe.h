// The batch duplicate tools: the report, keyed removal and the keyless rebuild,
// with the same statements and the same backup copy as the window.
#pragma once

#include <string>
#include <vector>

namespace quellmark {

int runDupes(const std::vector<std::string>& args);
int runDedupe(const std::vector<std::string>& args);
int runDedupeRows(const std::vector<std::string>& args);

extern const char* const kDupesHelp;
extern const char* const kDedupeHelp;
extern const char* const kDedupeRowsHelp;

}  // namespace quellmark
