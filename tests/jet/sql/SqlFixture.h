// Shared set-up of the SQL tests: a MemoryStore, a Session on it and small
// helpers to run statements and read results.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jet/core/Error.h"
#include "jet/sql/Session.h"
#include "jet/storage/MemoryStore.h"

namespace jet::sql::testing {

class SqlTest : public ::testing::Test {
 protected:
  storage::MemoryStore store;
  Session session{store};

  ExecResult run(const std::string& sql) { return session.execute(sql); }
  std::vector<Row> rows(const std::string& sql) { return session.execute(sql).result.rows; }
  // The value of a one-row, one-column SELECT.
  Value scalar(const std::string& expression) {
    auto r = session.execute("SELECT " + expression);
    EXPECT_EQ(r.result.rows.size(), 1u);
    EXPECT_EQ(r.result.fields.size(), 1u);
    return r.result.rows.at(0).at(0);
  }
  std::vector<std::string> names(const std::string& sql) {
    std::vector<std::string> out;
    for (const auto& f : session.execute(sql).result.fields) out.push_back(f.name);
    return out;
  }
  // The error code a statement fails with (the test fails if it succeeds).
  ErrorCode failure(const std::string& sql, std::string* message = nullptr) {
    try {
      session.execute(sql);
    } catch (const Error& e) {
      if (message) *message = e.what();
      return e.code();
    }
    ADD_FAILURE() << "statement succeeded: " << sql;
    return ErrorCode::Invalid;
  }
  int64_t count(const std::string& table) {
    auto t = store.openTable(table);
    return t ? static_cast<int64_t>(t->rowCount()) : -1;
  }
};

inline Value L(int32_t v) {
  return Value::longInt(v);
}
inline Value T(const std::string& s) {
  return Value::text(s);
}
inline Value D(double v) {
  return Value::dbl(v);
}

}  // namespace jet::sql::testing
