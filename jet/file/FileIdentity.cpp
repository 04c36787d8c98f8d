#include "jet/file/FileIdentity.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <filesystem>
#include <system_error>

namespace jet::file {

namespace {

std::filesystem::path pathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const std::filesystem::path& p) {
  std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace

std::string realPathOf(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(pathOf(path), ec);
  if (ec || resolved.empty()) return path;
  return utf8Of(resolved);
}

FileNumber fileNumberOf(const std::string& path) {
  FileNumber n;
#ifdef _WIN32
  // The C runtime reports no file numbers on Windows; the path and the first
  // page tell files apart there.
  (void)path;
#else
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    n.device = static_cast<uint64_t>(st.st_dev);
    n.inode = static_cast<uint64_t>(st.st_ino);
  }
#endif
  return n;
}

FileStamp fileStampOf(const std::string& path) {
  FileStamp s;
#ifdef _WIN32
  // The C runtime gives whole seconds there; the system keeps 100 ns steps.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(pathOf(path).c_str(), GetFileExInfoStandard, &data)) {
    s.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const uint64_t ticks = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                           data.ftLastWriteTime.dwLowDateTime;
    // From 100 ns steps since 1601 to nanoseconds since 1970, the system clock's epoch.
    constexpr int64_t kTicksFrom1601To1970 = 116444736000000000;
    s.modifiedNs = (static_cast<int64_t>(ticks) - kTicksFrom1601To1970) * 100;
  }
#else
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    s.size = static_cast<uint64_t>(st.st_size);
    s.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    s.number.device = static_cast<uint64_t>(st.st_dev);
    s.number.inode = static_cast<uint64_t>(st.st_ino);
  }
#endif
  return s;
}

int64_t timestampGranularityNs(const FileStamp& stamp) {
  // A time in whole seconds most likely comes from a file system that keeps
  // no finer one (FAT's steps are two seconds). Finer times advance with the
  // system clock's tick: about 16 ms on Windows, at most 10 ms on Linux.
  constexpr int64_t kSecond = 1'000'000'000;
  return stamp.modifiedNs % kSecond == 0 ? 2 * kSecond : kSecond / 10;
}

bool changedRecently(const FileStamp& stamp) {
  const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
  const int64_t granularity = timestampGranularityNs(stamp);
  return now - stamp.modifiedNs < granularity || now - stamp.changedNs < granularity;
}

}  // namespace jet::file
