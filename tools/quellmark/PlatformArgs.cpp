#include "PlatformArgs.h"

#include <cstdlib>

#include "jet/core/Messages.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "jet/core/Text.h"
#endif

namespace quellmark {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  SetConsoleOutputCP(CP_UTF8);
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> out;
  for (int i = 1; wide && i < count; ++i)
    out.push_back(jet::utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide[i]))));
  if (wide) LocalFree(wide);
  return out;
#else
  return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

void useUserLanguage() {
  const char* lcAll = std::getenv("LC_ALL");
  const char* lcMessages = std::getenv("LC_MESSAGES");
  const char* lang = std::getenv("LANG");
#ifdef _WIN32
  auto unset = [](const char* v) { return !v || !*v; };
  if (unset(lcAll) && unset(lcMessages) && unset(lang)) {
    jet::msg::setLanguage(PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE
                              ? jet::msg::Language::Chinese
                              : jet::msg::Language::English);
    return;
  }
#endif
  jet::msg::setLanguage(jet::msg::languageOfLocale(lcAll, lcMessages, lang));
}

}  // namespace quellmark
