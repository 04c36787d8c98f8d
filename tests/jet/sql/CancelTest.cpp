// A statement stopped from elsewhere (Ctrl-C's handler, another thread) ends
// promptly with Interrupted, and whatever it had changed is rolled back.
#include <atomic>
#include <chrono>
#include <thread>

#include "SqlFixture.h"
#include "jet/core/Cancel.h"
#include "jet/core/Messages.h"

namespace jet::sql::testing {
namespace {

using Clock = std::chrono::steady_clock;

class Cancel : public SqlTest {
 protected:
  void SetUp() override {
    ClearCancel();
    run("CREATE TABLE T (ID LONG, Name TEXT(20))");
    auto t = store.openTable("T");
    std::vector<Row> batch;
    for (int32_t i = 1; i <= 2000; ++i) batch.push_back(Row{L(i), T("name " + std::to_string(i))});
    t->insertRows(batch);
  }
  void TearDown() override { ClearCancel(); }

  // Runs `sql`, asks it to stop after `delay` from another thread, and
  // returns how long the statement ran on after the stop was asked for; it
  // must have ended with Interrupted.
  std::chrono::milliseconds stopAfter(const std::string& sql, std::chrono::milliseconds delay) {
    std::thread stopper([delay] {
      std::this_thread::sleep_for(delay);
      RequestCancel();
    });
    std::string message;
    ErrorCode code = ErrorCode::Invalid;
    try {
      run(sql);
      ADD_FAILURE() << "finished before it was stopped: " << sql;
    } catch (const Error& e) {
      code = e.code();
      message = e.what();
    }
    Clock::time_point ended = Clock::now();
    stopper.join();
    EXPECT_EQ(code, ErrorCode::Interrupted) << message;
    EXPECT_EQ(message, msg::interrupted());
    EXPECT_TRUE(CancelRequested());
    ClearCancel();
    return std::chrono::duration_cast<std::chrono::milliseconds>(ended - startedAt_ - delay);
  }

  void start() { startedAt_ = Clock::now(); }
  Clock::time_point startedAt_;
};

TEST_F(Cancel, ALongCrossJoinStopsPromptly) {
  start();
  auto late = stopAfter("SELECT Count(*) FROM T AS a, T AS b, T AS c", std::chrono::milliseconds(300));
  // Eight billion rows would take hours; the stop comes within a few thousand rows.
  EXPECT_LT(late.count(), 3000);
  // The session carries on.
  EXPECT_EQ(scalar("Count(*) FROM T"), L(2000));
}

TEST_F(Cancel, AJoinWhoseConditionRejectsEveryPairStillStops) {
  start();
  auto late = stopAfter("SELECT a.ID FROM T AS a, T AS b, T AS c WHERE a.ID + b.ID + c.ID < 0",
                        std::chrono::milliseconds(300));
  EXPECT_LT(late.count(), 3000);
}

TEST_F(Cancel, AStoppedWriteIsRolledBack) {
  run("BEGIN TRANSACTION");
  run("DELETE FROM T WHERE ID = 1");
  start();
  // Streams its rows into the new table as it reads them, so the stop comes mid-write.
  stopAfter("SELECT a.ID AS x, b.Name AS y INTO Big FROM T AS a, T AS b, T AS c",
            std::chrono::milliseconds(300));
  EXPECT_FALSE(store.openTable("Big"));
  // Only the stopped statement is undone; the transaction around it goes on.
  EXPECT_TRUE(session.inTransaction());
  EXPECT_EQ(count("T"), 1999);
  start();
  stopAfter("UPDATE T SET Name = 'changed' WHERE ID IN (SELECT a.ID FROM T AS a, T AS b, T AS c)",
            std::chrono::milliseconds(300));
  EXPECT_EQ(scalar("Count(*) FROM T WHERE Name = 'changed'"), L(0));
  run("ROLLBACK");
  EXPECT_EQ(count("T"), 2000);
}

TEST_F(Cancel, AStopAskedBetweenStatementsStopsTheNextOne) {
  RequestCancel();
  EXPECT_EQ(failure("DELETE FROM T"), ErrorCode::Interrupted);
  EXPECT_EQ(count("T"), 2000);
  ClearCancel();
  EXPECT_EQ(run("DELETE FROM T WHERE ID > 1000").rowsAffected, 1000);
}

}  // namespace
}  // namespace jet::sql::testing
