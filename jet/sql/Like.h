// Jet's Like patterns, compared without regard to case: * any run, ? one
// character, # one digit, [abc] [a-z] a set, [!a-z] its complement; [*] [?]
// [#] match the character itself. Through ADO the same engine uses % and _,
// so those are accepted as * and ? too.
#pragma once

#include <string>
#include <string_view>

namespace jet::sql {

// The pattern prepared for matching (case folded).
std::u32string compileLike(std::string_view pattern);
bool likeMatches(std::string_view text, const std::u32string& pattern);

}  // namespace jet::sql
