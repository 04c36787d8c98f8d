// Not a timed test: what choosing a large table costs in the real window.
// For generated tables of 200,000 and 1,000,000 rows (CJK text, a memo
// column) it prints how long the program takes from the choice until the
// grid has drawn its first rows and panel 0 shows the record count, and how
// much the program's memory grew per row; for the largest also what one
// cell edit costs, and, viewing it as a read-only file, what the next paint
// costs after another program changed one row (the grid's row ids are taken
// again then).
// scripts/bench-grid-window.sh makes the tables and names their folder in
// QM_GRID_BENCH_DIR; without it the case is skipped, as it takes a while.
#include <windows.h>
// needs windows.h before it
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "Database.h"
#include "Harness.h"
#include "Session.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Memory {
  long long privateBytes = 0;
  long long workingSet = 0;
};

Memory MemoryOf(DWORD processId) {
  Memory m;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) throw Failure("cannot look at the program's memory");
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const bool ok =
      GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  CloseHandle(process);
  if (!ok) throw Failure("cannot look at the program's memory");
  m.privateBytes = static_cast<long long>(counters.PrivateUsage);
  m.workingSet = static_cast<long long>(counters.WorkingSetSize);
  return m;
}

std::wstring BenchFolder() {
  wchar_t buffer[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"QM_GRID_BENCH_DIR", buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : L"";
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The copies the window makes on opening would fill the disk run after run.
void DeleteBackupCopies(const std::wstring& folder, const std::wstring& name) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\bak_备份_*" + name).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring copy = folder + L"\\" + fd.cFileName;
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file's copy is read-only too
    DeleteFileW(copy.c_str());
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

// The drop-down pick a user makes, without waiting: the caller times it.
void PickTable(Session& s, const std::wstring& table) {
  HWND combo = s.Control(L"Edit_OldDatabaseTableName");
  const std::wstring items = L"\n" + s.Ask(combo, L"items") + L"\n";
  size_t at = items.find(L"\n" + table + L"\n");
  if (at == std::wstring::npos) throw Failure("the table list lacks " + Narrow(table));
  int index = 0;
  for (size_t i = 1; i <= at; ++i) index += items[i] == L'\n';
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

// Waits until the status shows `count` records and the grid has drawn cells.
void WaitForFirstRows(Session& s, const std::wstring& count) {
  const std::wstring status = L"共" + count + L"条信息";
  HWND grid = s.Control(L"DBGrid1");
  for (auto start = Clock::now(); MillisecondsSince(start) < 60000;) {
    if (s.Panel(0) == status && _wtoi64(s.Ask(grid, L"paint").c_str()) > 0) return;
    Sleep(1);
  }
  throw Failure("the grid did not show " + Narrow(count) + " records; panel 0 says " + Narrow(s.Panel(0)));
}

// Edits one cell through the in-place editor and waits until the grid shows it written.
double EditCell(Session& s, int row, int column, const std::wstring& text) {
  HWND grid = s.Control(L"DBGrid1");
  std::wstring rect = s.Ask(grid, L"cellrect:" + std::to_wstring(row) + L":" + std::to_wstring(column));
  int l = 0, t = 0, r = 0, b = 0;
  swscanf(rect.c_str(), L"%d,%d,%d,%d", &l, &t, &r, &b);
  PostMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM((l + r) / 2, (t + b) / 2));
  s.WaitIdleOrBox();
  HWND editor = s.Control(L"DBGrid1Editor");
  E2E_CHECK(editor != nullptr);
  SendMessageTimeoutW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000,
                      nullptr);
  const auto start = Clock::now();
  PostMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
  while (s.Ask(grid, L"editing") != L"0" && MillisecondsSince(start) < 60000) Sleep(1);
  // The write happens as the editor closes; the grid answers once it is done.
  s.Ask(grid, L"paint");
  const double ms = MillisecondsSince(start);
  if (auto box = s.WaitIdleOrBox()) throw Failure("the edit was refused: " + Narrow(box->text));
  E2E_CHECK_EQ(s.Cell(row, column), text);
  return ms;
}

enum class Then { Nothing, EditACell, ViewReadOnlyWhileAnotherProgramWrites };

void SetReadOnly(const std::wstring& path, bool readOnly) {
  SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

void MeasureTable(const Context& ctx, const std::wstring& folder, long long rows, Then then) {
  const std::wstring name = L"grid_" + std::to_wstring(rows) + L".mdb";
  const std::wstring path = folder + L"\\" + name;
  if (!Exists(path)) throw Skipped(Narrow(path) + " is missing; scripts/bench-grid-window.sh makes it");
  const bool readOnly = then == Then::ViewReadOnlyWhileAnotherProgramWrites;
  struct Cleanup {
    std::wstring folder, name;
    ~Cleanup() {
      SetReadOnly(folder + L"\\" + name, false);
      DeleteBackupCopies(folder, name);
    }
  } cleanup{folder, name};
  // A file the user may not write opens as a view only; another program may still write it.
  SetReadOnly(path, readOnly);

  Session s(ctx.app, ctx.work);
  PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
  s.AnswerOpenDialog(path);
  if (auto box = s.WaitIdleOrBox(120000))
    throw Failure("unexpected message on opening: " + Narrow(box->text));
  const Memory before = MemoryOf(s.ProcessId());
  auto start = Clock::now();
  PickTable(s, L"Records");
  WaitForFirstRows(s, std::to_wstring(rows));
  const double firstRows = MillisecondsSince(start);
  if (auto box = s.WaitIdleOrBox())
    throw Failure("unexpected message choosing the table: " + Narrow(box->text));
  const Memory after = MemoryOf(s.ProcessId());
  E2E_CHECK(!s.Cell(0, 1).empty());
  E2E_CHECK(!s.Cell(static_cast<int>(rows - 1), 1).empty());
  const double perRow =
      static_cast<double>(after.privateBytes - before.privateBytes) / static_cast<double>(rows);
  std::printf(
      "     %lld rows%s: first rows and the count shown %.0f ms after the choice; memory +%.1f MB private "
      "(%.1f bytes/row), working set +%.1f MB (%.1f bytes/row)\n",
      rows, readOnly ? " (read-only file)" : "", firstRows,
      static_cast<double>(after.privateBytes - before.privateBytes) / 1048576.0, perRow,
      static_cast<double>(after.workingSet - before.workingSet) / 1048576.0,
      static_cast<double>(after.workingSet - before.workingSet) / static_cast<double>(rows));
  std::fflush(stdout);

  if (then == Then::EditACell) {
    // The program's own write keeps the row ids it has.
    const std::wstring city = L"编辑 " + std::to_wstring(GetTickCount());
    const double edit = EditCell(s, 4, 3, city);
    std::printf("     one cell edited in the grid: written and shown again in %.0f ms\n", edit);
  }
  if (readOnly) {
    // Another program changes one row: the next paint takes the row ids again.
    HWND grid = s.Control(L"DBGrid1");
    const long long drawn = _wtoi64(s.Ask(grid, L"paint").c_str());
    SetReadOnly(path, false);
    const std::string other = "改 " + std::to_string(GetTickCount());
    E2E_CHECK_EQ(Execute(path, "update [Records] set [City] = '" + other + "' where [ID] = 7"), int64_t{1});
    SetReadOnly(path, true);
    // The rows kept decoded are shown again as they are until a read looks
    // at the file; asking for the count does.
    start = Clock::now();
    E2E_CHECK_EQ(s.Ask(grid, L"rows"), std::to_wstring(rows));
    InvalidateRect(grid, nullptr, FALSE);
    const long long redrawn = _wtoi64(s.Ask(grid, L"paint").c_str());
    const double retake = MillisecondsSince(start);
    start = Clock::now();
    InvalidateRect(grid, nullptr, FALSE);
    s.Ask(grid, L"paint");
    const double again = MillisecondsSince(start);
    E2E_CHECK(redrawn > drawn);
    E2E_CHECK_EQ(s.Cell(6, 3), WideText(other));
    E2E_CHECK_EQ(s.Panel(0), L"共" + std::to_wstring(rows) + L"条信息");
    const Memory last = MemoryOf(s.ProcessId());
    std::printf(
        "     after another program changed one row: the grid drawn again in %.0f ms, once more in %.0f ms; "
        "memory +%.1f MB since the first rows\n",
        retake, again, static_cast<double>(last.privateBytes - after.privateBytes) / 1048576.0);
  }
  E2E_CHECK(s.Close());
}

}  // namespace

E2E_CASE(GridWindowBenchChoosingLargeTables) {
  const std::wstring folder = BenchFolder();
  if (folder.empty()) throw Skipped("a benchmark: scripts/bench-grid-window.sh runs it");
  MeasureTable(ctx, folder, 200000, Then::Nothing);
  MeasureTable(ctx, folder, 1000000, Then::EditACell);
  MeasureTable(ctx, folder, 1000000, Then::ViewReadOnlyWhileAnotherProgramWrites);
}

}  // namespace e2e
