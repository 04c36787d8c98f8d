#include "db/LocalFiles.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace qm::db {

namespace {

std::filesystem::path pathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

bool LocalFiles::fileExists(const std::string& path) const {
  if (path.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(pathOf(path), ec);
}

std::optional<std::string> LocalFiles::copyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::copy_file(pathOf(from), pathOf(to), std::filesystem::copy_options::overwrite_existing, ec);
  if (!ec) return std::nullopt;
  return ec.message();
}

std::tm LocalClock::localNow() const {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

}  // namespace qm::db
