// The page file: page size from the header, reads by page number, a cache
// that never holds more than its capacity, and refusal of cut-short files.
#include "jet/file/PageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "jet/core/Error.h"

namespace jet::file {
namespace {

std::filesystem::path mdbDir() {
  return std::filesystem::path(QM_TESTDATA_DIR) / "mdb";
}

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

#define REQUIRE_SAMPLES() \
  if (!std::filesystem::is_directory(mdbDir())) GTEST_SKIP() << "no reference databases"

TEST(PageFile, PagesAreTheFilesBytes) {
  REQUIRE_SAMPLES();
  for (const char* name : {"jet4/dups_v2000.mdb", "jet3/V1997.mdb"}) {
    SCOPED_TRACE(name);
    auto bytes = readAll(mdbDir() / name);
    auto f = PageFile::open((mdbDir() / name).string());
    EXPECT_EQ(static_cast<uint64_t>(f->pageCount()) * f->pageSize(), bytes.size());
    EXPECT_TRUE(f->readOnly());
    for (uint32_t p : {0u, 1u, 2u, f->pageCount() - 1}) {
      PageRef page = f->read(p);
      ASSERT_EQ(page->size(), f->pageSize());
      EXPECT_TRUE(std::equal(page->begin(), page->end(),
                             bytes.begin() + static_cast<std::ptrdiff_t>(p) * f->pageSize()));
    }
    EXPECT_EQ(f->read(2)->at(0), 0x02);  // the catalogue's table definition
  }
}

TEST(PageFile, CacheStaysWithinItsCapacity) {
  REQUIRE_SAMPLES();
  auto f = PageFile::open((mdbDir() / "jet4/dups_v2000.mdb").string());
  f->setCacheCapacity(3);
  PageRef held = f->read(0);
  for (uint32_t p = 0; p < f->pageCount(); ++p) {
    f->read(p);
    EXPECT_LE(f->cachedPages(), 3u);
  }
  // A page handed out stays valid after it left the cache.
  EXPECT_EQ(held->at(1), 0x01);
  uint64_t loads = f->pagesLoaded();
  f->read(f->pageCount() - 1);  // the most recent page is still cached
  EXPECT_EQ(f->pagesLoaded(), loads);
  f->read(0);
  EXPECT_EQ(f->pagesLoaded(), loads + 1);
  f->setCacheCapacity(0);
  EXPECT_EQ(f->cacheCapacity(), 1u);
  EXPECT_LE(f->cachedPages(), 1u);
}

TEST(PageFile, PagePastTheEndMeansTruncation) {
  REQUIRE_SAMPLES();
  auto f = PageFile::open((mdbDir() / "jet3/V1997.mdb").string());
  try {
    f->read(f->pageCount());
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::NotADatabase);
  }
}

TEST(PageFile, FromBytesChecksTheSize) {
  REQUIRE_SAMPLES();
  auto bytes = readAll(mdbDir() / "jet4/dups_v2000.mdb");
  auto f = PageFile::fromBytes(bytes, "mem");
  EXPECT_EQ(f->name(), "mem");
  EXPECT_EQ(f->pageCount(), bytes.size() / 4096);
  for (size_t size : {size_t{4096}, size_t{8192}, size_t{4096 * 3 + 1}, bytes.size() - 100}) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      PageFile::fromBytes(cut);
      ADD_FAILURE() << size;
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::NotADatabase) << size;
    }
  }
}

TEST(PageFile, MissingFile) {
  try {
    PageFile::open("/no/such/dir/file.mdb");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::FileNotFound);
  }
}

}  // namespace
}  // namespace jet::file
