#include "app/WinFiles.h"

#include <windows.h>

#include "gui/Text.h"

namespace {

std::string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : L"";
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) text = L"系统错误 " + std::to_wstring(code);
  return fw::Utf8(text);
}

}  // namespace

bool WinFiles::fileExists(const std::string& path) const {
  if (path.empty()) return false;
  // Opening the file (not the link) follows symbolic links to their target.
  HANDLE h = CreateFileW(fw::Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  bool isFile = GetFileInformationByHandle(h, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(h);
  return isFile;
}

namespace {

bool SizeOf(const std::wstring& path, ULARGE_INTEGER& size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  size.HighPart = data.nFileSizeHigh;
  size.LowPart = data.nFileSizeLow;
  return true;
}

// The copy is the user's only undo: every byte of the file, on the disk
// before the program goes on. An error code, or ERROR_SUCCESS.
DWORD CheckAndFlush(const std::wstring& from, const std::wstring& to) {
  ULARGE_INTEGER original{}, copy{};
  if (!SizeOf(from, original) || !SizeOf(to, copy)) return GetLastError();
  if (original.QuadPart != copy.QuadPart) return ERROR_WRITE_FAULT;
  HANDLE h =
      CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD code = FlushFileBuffers(h) ? ERROR_SUCCESS : GetLastError();
  CloseHandle(h);
  return code;
}

}  // namespace

qm::db::CopyOutcome WinFiles::copyToNewFile(const std::string& from, const std::string& to) {
  const std::wstring source = fw::Wide(from), target = fw::Wide(to);
  // The copy is made under a name of its own and takes the backup's name only
  // when whole and on the disk: a copy cut short never passes for a backup.
  const std::wstring partial = target + L".part";
  if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
    return {qm::db::CopyOutcome::TargetExists, {}};
  // With fail-if-exists CopyFileW creates the file only when no file has that name, in one step.
  if (!CopyFileW(source.c_str(), partial.c_str(), TRUE)) {
    DWORD code = GetLastError();
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
      return {qm::db::CopyOutcome::TargetExists, {}};
    // A partial file the disk could not take whole was created by this call alone (fail-if-exists).
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL) DeleteFileW(partial.c_str());
    return {qm::db::CopyOutcome::Failed, SystemErrorText(code)};
  }
  DWORD code = CheckAndFlush(source, partial);
  // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
  if (code == ERROR_SUCCESS && !MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
    code = GetLastError();
  if (code == ERROR_SUCCESS) return {qm::db::CopyOutcome::Copied, {}};
  DeleteFileW(partial.c_str());
  if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
    return {qm::db::CopyOutcome::TargetExists, {}};
  return {qm::db::CopyOutcome::Failed, SystemErrorText(code)};
}
