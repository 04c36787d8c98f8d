#include "jet/sql/Like.h"

#include <vector>

#include "jet/core/Text.h"

namespace jet::sql {

std::u32string compileLike(std::string_view pattern) {
  std::u32string p = utf8ToUtf32(pattern);
  for (char32_t& c : p) c = foldCase(c);
  return p;
}

namespace {

// Matches a [...] set starting at p[i] == '['; returns the index after ']'
// or npos when the bracket is not closed (then '[' is literal).
size_t matchSet(const std::u32string& p, size_t i, char32_t c, bool& matched) {
  size_t j = i + 1;
  bool negate = false;
  if (j < p.size() && p[j] == U'!') {
    negate = true;
    ++j;
  }
  bool any = false;
  size_t start = j;
  while (j < p.size() && (p[j] != U']' || j == start)) {
    char32_t lo = p[j];
    if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
      char32_t hi = p[j + 2];
      if (c >= lo && c <= hi) any = true;
      j += 3;
    } else {
      if (c == lo) any = true;
      ++j;
    }
  }
  if (j >= p.size()) return std::u32string::npos;
  matched = negate ? !any : any;
  return j + 1;
}

}  // namespace

bool likeMatches(std::string_view text, const std::u32string& p) {
  std::u32string t = utf8ToUtf32(text);
  for (char32_t& c : t) c = foldCase(c);
  // Iterative matching with backtracking to the last star: linear in practice.
  size_t ti = 0, pi = 0;
  size_t starP = std::u32string::npos, starT = 0;
  while (ti < t.size()) {
    bool advanced = false;
    if (pi < p.size()) {
      char32_t pc = p[pi];
      if (pc == U'*' || pc == U'%') {
        starP = pi++;
        starT = ti;
        continue;
      }
      if (pc == U'?' || pc == U'_') {
        ++pi;
        ++ti;
        advanced = true;
      } else if (pc == U'#') {
        if (t[ti] >= U'0' && t[ti] <= U'9') {
          ++pi;
          ++ti;
          advanced = true;
        }
      } else if (pc == U'[') {
        bool matched = false;
        size_t after = matchSet(p, pi, t[ti], matched);
        if (after == std::u32string::npos) {
          if (t[ti] == U'[') {
            ++pi;
            ++ti;
            advanced = true;
          }
        } else if (matched) {
          pi = after;
          ++ti;
          advanced = true;
        }
      } else if (pc == t[ti]) {
        ++pi;
        ++ti;
        advanced = true;
      }
    }
    if (advanced) continue;
    if (starP == std::u32string::npos) return false;
    pi = starP + 1;
    ti = ++starT;
  }
  while (pi < p.size() && (p[pi] == U'*' || p[pi] == U'%')) ++pi;
  return pi == p.size();
}

}  // namespace jet::sql
