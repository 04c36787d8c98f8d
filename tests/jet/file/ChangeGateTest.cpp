// A file held as it is until a gate is passed (a backup copy of it being made
// meanwhile): changed pages stay in memory, the first write waits for the
// gate, and a gate that fails undoes the transaction with nothing written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "jet/core/Error.h"
#include "jet/file/ChangeGate.h"
#include "jet/file/PageFile.h"

namespace jet::file {
namespace {

namespace fs = std::filesystem;

fs::path sample() {
  return fs::path(QM_TESTDATA_DIR) / "mdb" / "jet4" / "dups_v2000.mdb";
}

std::vector<uint8_t> readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A gate whose work ends when the test says, well or not.
class ScriptedGate : public ChangeGate {
 public:
  bool done = false;
  bool fails = false;
  int waits = 0;
  bool finished() override { return done; }
  void wait() override {
    ++waits;
    done = true;
    if (fails) throw FileError(ErrorCode::Io, "the copy failed");
  }
};

class ChangeGateTest : public ::testing::Test {
 protected:
  fs::path copy = fs::temp_directory_path() / ("qm-gate-" + std::to_string(::getpid()) + ".mdb");
  std::vector<uint8_t> original;
  std::unique_ptr<PageFile> file;
  std::shared_ptr<ScriptedGate> gate = std::make_shared<ScriptedGate>();

  void SetUp() override {
    if (!fs::exists(sample())) GTEST_SKIP() << "no reference databases";
    fs::copy_file(sample(), copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
    original = readAll(copy);
    file = PageFile::openForWriting(copy.string());
    file->setDirtyLimit(2);
  }
  void TearDown() override {
    file.reset();
    fs::remove(copy);
  }
  void change(uint32_t page) { file->write(page, std::vector<uint8_t>(file->pageSize(), 0xC5)); }
  bool journalExists() const { return fs::exists(copy.string() + ".qmj"); }
};

TEST_F(ChangeGateTest, PagesWaitInMemoryThenGoOutOnceTheGateIsPassed) {
  file->holdChangesUntil(gate, 50);
  file->begin();
  for (uint32_t p = 3; p < 13; ++p) change(p);  // five times the dirty limit
  EXPECT_EQ(gate->waits, 0);
  EXPECT_EQ(file->pagesWritten(), 0u);
  EXPECT_EQ(readAll(copy), original);
  EXPECT_EQ(file->read(5)->at(0), 0xC5);  // reads see the held changes
  gate->done = true;
  change(13);  // the dirty limit holds again
  EXPECT_EQ(gate->waits, 1);
  EXPECT_FALSE(file->changesHeld());
  EXPECT_EQ(file->pagesWritten(), 11u);
  change(14);
  change(15);
  file->commit();
  EXPECT_EQ(gate->waits, 1);  // a passed gate is forgotten
  std::vector<uint8_t> now = readAll(copy);
  ASSERT_EQ(now.size(), original.size());
  EXPECT_EQ(now[13 * file->pageSize()], 0xC5);
}

TEST_F(ChangeGateTest, PastTheHeldPagesTheWriterWaitsForTheGate) {
  file->holdChangesUntil(gate, 4);
  file->begin();
  for (uint32_t p = 3; p < 6; ++p) change(p);
  EXPECT_EQ(gate->waits, 0);
  change(6);
  EXPECT_EQ(gate->waits, 1);
  EXPECT_EQ(file->pagesWritten(), 4u);
  file->commit();
}

TEST_F(ChangeGateTest, CommitWaitsForTheGateOfPagesStillHeld) {
  file->holdChangesUntil(gate, 50);
  file->begin();
  change(3);
  file->commit();
  EXPECT_EQ(gate->waits, 1);
  EXPECT_EQ(readAll(copy)[3 * file->pageSize()], 0xC5);
}

TEST_F(ChangeGateTest, AFailedGateUndoesTheTransactionWithNothingWritten) {
  gate->fails = true;
  file->holdChangesUntil(gate, 3);
  file->begin();
  change(3);
  change(4);
  try {
    change(5);
    ADD_FAILURE() << "the change went on past a failed gate";
  } catch (const FileError& e) {
    EXPECT_EQ(e.code(), ErrorCode::Io);
    EXPECT_STREQ(e.what(), "the copy failed");
  }
  EXPECT_EQ(file->transactionDepth(), 0);
  EXPECT_EQ(file->pagesWritten(), 0u);
  EXPECT_NE(file->read(3)->at(0), 0xC5);  // the held pages are gone with the transaction
  EXPECT_EQ(readAll(copy), original);
  // The gate stays: a later transaction cannot slip past it either.
  file->begin();
  change(3);
  EXPECT_THROW(file->commit(), FileError);
  EXPECT_EQ(gate->waits, 2);
  file.reset();
  EXPECT_FALSE(journalExists());
  EXPECT_EQ(readAll(copy), original);
}

TEST_F(ChangeGateTest, CuttingTheFileWaitsForTheGate) {
  gate->fails = true;
  file->holdChangesUntil(gate, 50);
  file->begin();
  EXPECT_THROW(file->truncate(file->pageCount() - 2), FileError);
  EXPECT_EQ(gate->waits, 1);
  EXPECT_EQ(file->transactionDepth(), 0);
  file.reset();
  EXPECT_EQ(readAll(copy), original);
}

}  // namespace
}  // namespace jet::file
