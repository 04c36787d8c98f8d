// The end-to-end driver: runs every case (or those whose name contains
// --filter), prints one line per case and "N passed, N failed" at the end.
// Started as "--record-url URL" it is the web-address catcher the test prefix
// registers for http and https: it appends the address to urls.txt.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "Harness.h"
#include "Session.h"

namespace e2e {

std::vector<Case>& Cases() {
  static std::vector<Case> cases;
  return cases;
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring WideText(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

}  // namespace e2e

namespace {

std::wstring Arg(int argc, wchar_t** argv, const wchar_t* name) {
  for (int i = 1; i + 1 < argc; ++i)
    if (wcscmp(argv[i], name) == 0) return argv[i + 1];
  return L"";
}

bool HasFlag(int argc, wchar_t** argv, const wchar_t* name) {
  for (int i = 1; i < argc; ++i)
    if (wcscmp(argv[i], name) == 0) return true;
  return false;
}

// The README's demonstration: opens `database` in the real window the way a
// user does, shows the sample table and its duplicate report, asks for a
// screenshot, and with --keep-open leaves the window to the user until it is
// closed.
int RunDemo(const std::wstring& app, const std::wstring& work, const std::wstring& database, bool keepOpen) {
  using namespace e2e;
  try {
    Session s(app, work);
    PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
    s.AnswerOpenDialog(database);
    s.WaitIdleOrBox();
    s.Choose(L"Edit_OldDatabaseTableName", L"Customers");
    s.WaitIdleOrBox();
    s.Type(L"ComboBox_DB_Words", L"Name,Phone");
    s.Click(L"Button3");
    s.WaitIdleOrBox();
    std::printf("demo: %s | %s | grid shows %d rows\n", Narrow(s.Panel(0)).c_str(),
                Narrow(s.Panel(1)).c_str(), s.GridRows());
    std::fflush(stdout);
    std::wstring request = work + L"\\shot.request", done = work + L"\\shot.done";
    HANDLE h = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, "demo", 4, &written, nullptr);
    CloseHandle(h);
    for (int i = 0; i < 100 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
    if (keepOpen) {
      std::printf("demo: the window stays open until you close it\n");
      std::fflush(stdout);
      while (!s.Exited(1000)) {
      }
    } else {
      s.Close();
    }
    return 0;
  } catch (const std::exception& e) {
    std::printf("demo failed: %s\n", e.what());
    return 1;
  }
}

std::wstring ExeDir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace e2e;
  std::wstring url = Arg(argc, argv, L"--record-url");
  if (!url.empty()) {
    std::ofstream out(Narrow(ExeDir() + L"urls.txt"), std::ios::app | std::ios::binary);
    out << Narrow(url) << "\n";
    return 0;
  }
  std::wstring demo = Arg(argc, argv, L"--demo");
  if (!demo.empty())
    return RunDemo(Arg(argc, argv, L"--app"), Arg(argc, argv, L"--work"), demo,
                   HasFlag(argc, argv, L"--keep-open"));
  Context base;
  base.app = Arg(argc, argv, L"--app");
  base.data = Arg(argc, argv, L"--data");
  base.runRoot = Arg(argc, argv, L"--work");
  std::string filter = Narrow(Arg(argc, argv, L"--filter"));
  if (base.app.empty() || base.data.empty() || base.runRoot.empty()) {
    std::fprintf(stderr, "usage: e2e_driver --app EXE --data DIR --work DIR [--filter TEXT]\n");
    return 2;
  }
  std::wstring source = base.data + L"\\mdb\\jet4\\dups_v2000.mdb";
  if (GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("SKIP all: the reference databases are missing (%s)\n", Narrow(source).c_str());
    std::printf("0 passed, 0 failed\n");
    return 0;
  }
  int passed = 0, failed = 0, skipped = 0;
  for (const Case& c : Cases()) {
    if (!filter.empty() && c.name.find(filter) == std::string::npos) continue;
    Context ctx = base;
    ctx.work = base.runRoot + L"\\" + WideText(c.name);
    CreateDirectoryW(ctx.work.c_str(), nullptr);
    ctx.database = ctx.work + L"\\dups_v2000.mdb";
    CopyFileW(source.c_str(), ctx.database.c_str(), FALSE);
    SetFileAttributesW(ctx.database.c_str(), FILE_ATTRIBUTE_NORMAL);
    DWORD start = GetTickCount();
    try {
      c.run(ctx);
      ++passed;
      std::printf("PASS %s (%lu ms)\n", c.name.c_str(), GetTickCount() - start);
    } catch (const Skipped& e) {
      ++skipped;
      std::printf("SKIP %s: %s\n", c.name.c_str(), e.what());
    } catch (const std::exception& e) {
      ++failed;
      std::printf("FAIL %s: %s\n", c.name.c_str(), e.what());
    }
    std::fflush(stdout);
  }
  if (skipped) std::printf("%d skipped\n", skipped);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
