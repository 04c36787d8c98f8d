// A child process commits transaction after transaction through the journal
// and is killed with SIGKILL at random moments; after each kill the next open
// must find the database exactly as one committed transaction left it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "jet/file/Journal.h"

namespace jet::file {
namespace {

namespace fs = std::filesystem;
constexpr uint32_t kPage = 4096;
using Bytes = std::vector<uint8_t>;

// The database after transaction t: its page count and every page's bytes
// follow from t alone.
uint32_t pagesAfter(uint64_t t) {
  return 4 + static_cast<uint32_t>((t * 7) % 9);
}

Bytes pageAfter(uint64_t t, uint32_t page) {
  Bytes b(kPage, static_cast<uint8_t>(t * 31 + page));
  for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(t >> (8 * i));
  b[8] = static_cast<uint8_t>(page);
  return b;
}

Bytes stateAfter(uint64_t t) {
  Bytes all;
  for (uint32_t p = 0; p < pagesAfter(t); ++p) {
    Bytes b = pageAfter(t, p);
    all.insert(all.end(), b.begin(), b.end());
  }
  return all;
}

Bytes readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint64_t transactionOf(const Bytes& db) {
  uint64_t t = 0;
  for (int i = 0; i < 8 && i < static_cast<int>(db.size()); ++i) t |= static_cast<uint64_t>(db[i]) << (8 * i);
  return t;
}

// The child: transactions t+1, t+2, ... each rewriting every page in a
// shuffled order and growing or shrinking the file; reports each commit.
[[noreturn]] void runWriter(const std::string& path, uint64_t t, int report) {
  auto db = systemIo().open(path, false);
  Journal j(path, kPage);
  for (;;) {
    ++t;
    j.begin(db->size());
    std::vector<uint32_t> order(pagesAfter(t));
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(static_cast<uint32_t>(t)));
    Bytes current(kPage);
    auto journal = [&](uint32_t p) {
      std::fill(current.begin(), current.end(), 0);
      db->readAt(static_cast<uint64_t>(p) * kPage, current);
      j.journalPage(p, current);
    };
    if (t % 2) {
      // Page by page, syncing the journal before each write.
      for (uint32_t p : order) {
        journal(p);
        if (j.needsSync()) j.sync();
        db->writeAt(static_cast<uint64_t>(p) * kPage, pageAfter(t, p));
      }
    } else {
      // As a pager flushing its cache: every image first, one sync, then the pages.
      for (uint32_t p : order) journal(p);
      j.sync();
      for (uint32_t p : order) db->writeAt(static_cast<uint64_t>(p) * kPage, pageAfter(t, p));
    }
    uint64_t size = static_cast<uint64_t>(pagesAfter(t)) * kPage;
    if (db->size() > size) {
      j.journalTruncate(*db, size);
      j.sync();
      db->truncate(size);
    }
    j.commit(*db);
    if (write(report, &t, sizeof t) != sizeof t) _exit(2);
  }
}

TEST(JournalCrash, KilledWriterLeavesACommittedStateEveryTime) {
  char tmpl[] = "/tmp/qm-crash-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const fs::path dir = tmpl;
  const std::string path = (dir / "crash.mdb").string();
  {
    Bytes s0 = stateAfter(0);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(s0.data()), static_cast<std::streamsize>(s0.size()));
  }
  std::mt19937 rng(20240611);
  int kills = 0, hot = 0;
  uint64_t committed = 0;
  for (; kills < 60; ++kills) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      runWriter(path, committed, fds[1]);
    }
    close(fds[1]);
    // Wait for one commit, so that every round makes progress however slow
    // the disk, then kill at a random moment of what follows.
    uint64_t first = 0;
    ASSERT_EQ(read(fds[0], &first, sizeof first), static_cast<ssize_t>(sizeof first));
    usleep(std::uniform_int_distribution<useconds_t>(0, 40000)(rng));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
    // The last commit the child reported; one more may have completed unreported.
    uint64_t reported = first, t;
    while (read(fds[0], &t, sizeof t) == sizeof t) reported = t;
    close(fds[0]);

    if (Journal::recover(path)) ++hot;
    Bytes db = readAll(path);
    uint64_t now = transactionOf(db);
    ASSERT_TRUE(now == reported || now == reported + 1)
        << "kill " << kills << ": found transaction " << now << ", last reported " << reported;
    ASSERT_EQ(db, stateAfter(now)) << "kill " << kills << ": not the state of transaction " << now;
    ASSERT_FALSE(fs::exists(journalPathFor(path)));
    committed = now;
  }
  std::printf("%d kills, %d interrupted transactions rolled back, %llu transactions committed\n", kills, hot,
              static_cast<unsigned long long>(committed));
  EXPECT_GT(hot, 10);         // the kills really landed inside transactions
  EXPECT_GE(committed, 60u);  // and between them work got done
  fs::remove_all(dir);
}

}  // namespace
}  // namespace jet::file
