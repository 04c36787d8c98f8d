// A small test runner for the end-to-end cases: each case runs against its
// own copy of the sample database; a failed check throws and names itself.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// A case that cannot run yet for a reason outside the program (the engine's writer missing).
struct Skipped : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Narrow(const std::wstring& w);
std::wstring WideText(const std::string& s);

#define E2E_CHECK(cond)                                                                                   \
  do {                                                                                                    \
    if (!(cond)) throw ::e2e::Failure(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #cond); \
  } while (0)

#define E2E_CHECK_EQ(a, b)                                                          \
  do {                                                                              \
    auto va = (a);                                                                  \
    auto vb = (b);                                                                  \
    if (!(va == vb))                                                                \
      throw ::e2e::Failure(std::string(__FILE__ ":") + std::to_string(__LINE__) +   \
                           ": " #a " == " #b "\n    got:      " + ::e2e::Show(va) + \
                           "\n    expected: " + ::e2e::Show(vb));                   \
  } while (0)

inline std::string Show(const std::wstring& w) {
  return "\"" + Narrow(w) + "\"";
}
inline std::string Show(const wchar_t* w) {
  return Show(std::wstring(w));
}
inline std::string Show(const std::string& s) {
  return "\"" + s + "\"";
}
inline std::string Show(int v) {
  return std::to_string(v);
}
inline std::string Show(size_t v) {
  return std::to_string(v);
}
inline std::string Show(long v) {
  return std::to_string(v);
}
inline std::string Show(long long v) {
  return std::to_string(v);
}
inline std::string Show(bool v) {
  return v ? "true" : "false";
}

struct Context {
  std::wstring app;       // quellmark.exe
  std::wstring data;      // the reference databases' folder
  std::wstring work;      // a folder of this case's own
  std::wstring runRoot;   // the run's folder (screenshot handshake, recorded addresses)
  std::wstring database;  // this case's copy of dups_v2000.mdb
};

struct Case {
  std::string name;
  std::function<void(Context&)> run;
};

std::vector<Case>& Cases();
struct Register {
  Register(const char* name, std::function<void(Context&)> run) { Cases().push_back({name, std::move(run)}); }
};

#define E2E_CASE(name)                                 \
  static void name(::e2e::Context&);                   \
  static ::e2e::Register register_##name(#name, name); \
  [[maybe_unused]] static void name([[maybe_unused]] ::e2e::Context& ctx)

}  // namespace e2e
