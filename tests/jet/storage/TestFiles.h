// The reference databases and how to reach them from a test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace jet::storage::testing {

inline std::filesystem::path mdbDir() {
  return std::filesystem::path(QM_TESTDATA_DIR) / "mdb";
}

// Skips the calling test when the reference data is absent.
#define QM_REQUIRE_TESTDATA()                                                                   \
  do {                                                                                          \
    if (!std::filesystem::is_directory(::jet::storage::testing::mdbDir()))                      \
      GTEST_SKIP() << "reference databases not found in " << ::jet::storage::testing::mdbDir(); \
  } while (0)

// Every sample database, relative to mdbDir().
inline std::vector<std::string> allSamples() {
  std::vector<std::string> out;
  for (const char* sub : {"jet3", "jet4"}) {
    std::filesystem::path dir = mdbDir() / sub;
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      if (e.path().extension() == ".mdb")
        out.push_back(std::string(sub) + "/" + e.path().filename().string());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

inline std::string passwordOf(const std::string& sample) {
  if (sample.find("dups_v2000_pw") != std::string::npos) return "Dup$Pw-2024";
  if (sample.find("with-password") != std::string::npos) return "password";
  return "";
}

inline std::vector<uint8_t> readBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace jet::storage::testing
