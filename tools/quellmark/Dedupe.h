// The batch duplicate tools: the report, keyed removal and the keyless rebuild,
// with the same statements and the same backup copy as the window.
#pragma once

#include <string>
#include <vector>

namespace quellmark {

int runDupes(const std::vector<std::string>& args);
int runDedupe(const std::vector<std::string>& args);
int runDedupeRows(const std::vector<std::string>& args);

struct Bilingual;
extern const Bilingual kDupesHelp;
extern const Bilingual kDedupeHelp;
extern const Bilingual kDedupeRowsHelp;

}  // namespace quellmark
