// The function library Jet offers inside SQL expressions (the VBA functions
// the expression service knows): text, conversion, date/time, math. IIf and
// Nz are evaluated lazily by the evaluator; every other function receives its
// evaluated arguments. Names are looked up case-insensitively.
#pragma once

#include <string>
#include <vector>

#include "jet/core/Value.h"

namespace jet::sql {

struct FunctionDef {
  const char* name;
  int minArgs;
  int maxArgs;
  // Evaluates a call; `text` is the call's source text for messages.
  Value (*call)(const std::vector<Value>& args, const std::string& text);
  DataType type;    // the result type, unless `typeFromArg` >= 0
  int typeFromArg;  // the result has the type of this argument (text becomes Double)
};

// nullptr when no function has this name.
const FunctionDef* findFunction(const std::string& name);
// The result type of a call given its arguments' types.
DataType functionType(const FunctionDef& f, const std::vector<DataType>& argTypes);

bool isAggregateName(const std::string& name);

}  // namespace jet::sql
