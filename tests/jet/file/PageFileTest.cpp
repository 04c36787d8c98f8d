// The page file: page size from the header, reads by page number, a cache
// that never holds more than its capacity, and refusal of cut-short files.
#include "jet/file/PageFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

TEST(PageFile, ScansReadAheadYetAlwaysSeeTheChangedPages) {
  REQUIRE_SAMPLES();
  namespace fs = std::filesystem;
  const fs::path copy = fs::temp_directory_path() / ("qm-readahead-" + std::to_string(::getpid()) + ".mdb");
  fs::copy_file(mdbDir() / "jet4/dups_v2000.mdb", copy, fs::copy_options::overwrite_existing);
  fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
  const std::vector<uint8_t> original = readAll(copy);
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "committed" : "rolled back");
    auto f = PageFile::openForWriting(copy.string());
    const uint32_t size = f->pageSize(), onDisk = f->pageCount();
    std::vector<uint8_t> expected = original;
    f->setDirtyLimit(5);  // some changes written out mid-way, some still in memory
    f->begin();
    auto change = [&](uint32_t page, uint8_t fill) {
      std::vector<uint8_t> bytes(size, fill);
      f->write(page, bytes);
      if (expected.size() < (page + 1) * size) expected.resize((page + 1) * size);
      std::fill(expected.begin() + page * size, expected.begin() + (page + 1) * size, fill);
    };
    for (uint32_t p = 3; p < onDisk; p += 3) change(p, static_cast<uint8_t>(p));
    for (int k = 0; k < 7; ++k) change(f->allocate(), 0xA0);
    // Two sequential passes, the cache smaller than a read-ahead run at first.
    for (size_t capacity : {8, 64}) {
      f->setCacheCapacity(capacity);
      for (uint32_t p = 0; p < f->pageCount(); ++p) {
        PageRef page = f->read(p);
        ASSERT_TRUE(std::equal(page->begin(), page->end(), expected.begin() + p * size)) << "page " << p;
      }
    }
    if (keep) {
      f->commit();
      f.reset();
      EXPECT_EQ(readAll(copy), expected);
    } else {
      f->rollback();
      f.reset();
      EXPECT_EQ(readAll(copy), original);
    }
  }
  fs::remove(copy);
}

// Cutting the file's tail: kept by a commit; undone by a rollback, by a
// rollback to a savepoint, and by the next open after a crash.
TEST(PageFile, CutTailIsUndoneByRollbackSavepointAndCrash) {
  REQUIRE_SAMPLES();
  namespace fs = std::filesystem;
  const fs::path copy = fs::temp_directory_path() / ("qm-cut-" + std::to_string(::getpid()) + ".mdb");
  auto fresh = [&] {
    fs::copy_file(mdbDir() / "jet4/dups_v2000.mdb", copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
  };
  fresh();
  const std::vector<uint8_t> original = readAll(copy);
  // Changes written out before the cut, pages cut, a page added again past the new end.
  auto work = [&](PageFile& f) {
    const uint32_t size = f.pageSize(), count = f.pageCount();
    f.setDirtyLimit(2);
    for (uint32_t p = count - 6; p < count; ++p) f.write(p, std::vector<uint8_t>(size, 0xEE));
    f.truncate(count - 8);
    EXPECT_EQ(f.pageCount(), count - 8);
    EXPECT_THROW(f.read(count - 8), FileError);
    uint32_t again = f.allocate();
    EXPECT_EQ(again, count - 8);
    EXPECT_EQ(f.read(again)->at(0), 0);  // a new page, not what was cut
    f.write(again, std::vector<uint8_t>(size, 0x5A));
  };
  {
    auto f = PageFile::openForWriting(copy.string());
    f->begin();
    work(*f);
    f->rollback();
    EXPECT_EQ(f->pageCount() * f->pageSize(), original.size());
  }
  EXPECT_EQ(readAll(copy), original);
  {
    auto f = PageFile::openForWriting(copy.string());
    f->begin();
    f->begin();
    work(*f);
    f->rollback();
    f->commit();
  }
  EXPECT_EQ(readAll(copy), original);
  {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      auto f = PageFile::openForWriting(copy.string());
      f->begin();
      work(*f);
      f->truncate(f->pageCount() - 1);  // synced journal, cut file, then gone without a word
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_LT(fs::file_size(copy), original.size());
    auto f = PageFile::openForWriting(copy.string());  // rolls the hot journal back
  }
  EXPECT_EQ(readAll(copy), original);
  {
    auto f = PageFile::openForWriting(copy.string());
    f->begin();
    f->truncate(f->pageCount() - 3);
    f->commit();
  }
  std::vector<uint8_t> cut = readAll(copy);
  ASSERT_EQ(cut.size(), original.size() - 3 * 4096);
  EXPECT_TRUE(std::equal(cut.begin(), cut.end(), original.begin()));
  fs::remove(copy);
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
