#include "jet/file/FileIdentity.h"

#include <sys/stat.h>

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
  std::error_code ec;
  auto p = pathOf(path);
  s.size = static_cast<uint64_t>(std::filesystem::file_size(p, ec));
  if (ec) s.size = 0;
  auto written = std::filesystem::last_write_time(p, ec);
  if (!ec)
    s.modifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
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

bool changedRecently(const FileStamp& stamp) {
#ifdef _WIN32
  (void)stamp;
  return true;  // the times come in another epoch there: never trusted
#else
  const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
  constexpr int64_t kGranularity = 2'000'000'000;
  return now - stamp.modifiedNs < kGranularity || now - stamp.changedNs < kGranularity;
#endif
}

}  // namespace jet::file
