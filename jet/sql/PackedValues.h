// Values kept as bytes: a type tag and the payload, text and binary with a
// length. A group's key values cost their own bytes rather than a Row of
// 64-byte Values and a heap string each.
#pragma once

#include <string>

#include "jet/core/Value.h"

namespace jet::sql {

void packValue(std::string& out, const Value& v);
// Reads one value written by packValue and moves `at` past it.
Value unpackValue(const char*& at);

}  // namespace jet::sql
