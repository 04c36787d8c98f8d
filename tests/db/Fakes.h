// Recording fakes of the workspace's ports: every call lands in one log, in
// order, so a test reads the sequence of statements, messages and grid
// updates a handler produced.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/Ports.h"

namespace qm::db::testing {

using Log = std::vector<std::string>;

class FakeView : public WorkspaceView {
 public:
  explicit FakeView(Log& log) : log_(log) {}

  std::string path, table, id, keys, sql;
  std::optional<std::string> dialogAnswer;
  int confirmAnswer = kAnswerYes;
  std::vector<std::string> tableItems;
  std::vector<std::string> idItems, keyItems;
  std::map<int, std::string> status;
  std::function<void()> onPathChanged;

  std::string databasePath() const override { return path; }
  std::string tableText() const override { return table; }
  std::string idFieldText() const override { return id; }
  std::string keyFieldsText() const override { return keys; }
  std::string sqlText() const override { return sql; }
  std::optional<std::string> chooseDatabaseFile() override {
    log_.push_back("dialog");
    return dialogAnswer;
  }
  void setDatabasePath(const std::string& p) override {
    if (p == path) return;
    path = p;
    log_.push_back("path:" + p);
    if (onPathChanged) onPathChanged();
  }
  void setTableList(const std::vector<std::string>& names) override {
    tableItems = names;
    table.clear();
    std::string joined;
    for (const std::string& n : names) joined += (joined.empty() ? "" : ",") + n;
    log_.push_back("tables:" + joined);
  }
  void clearFieldChoosers() override {
    idItems.clear(), keyItems.clear(), id.clear(), keys.clear();
    log_.push_back("clearFields");
  }
  void setFieldChoosers(const std::string& idField, const std::vector<std::string>& keyFields) override {
    idItems = {idField};
    id = idField;
    keyItems = keyFields;
    log_.push_back("fields:" + idField);
  }
  void gridChanged() override { log_.push_back("grid"); }
  void setGridColumnWidths(int px) override { log_.push_back("widths:" + std::to_string(px)); }
  void setStatus(int panel, const std::string& text) override {
    status[panel] = text;
    log_.push_back("status" + std::to_string(panel) + ":" + text);
  }
  void showSqlResultPage() override { log_.push_back("page"); }
  void setKeylessButtonEnabled(bool enabled) override { log_.push_back(enabled ? "enable" : "disable"); }
  void showMessage(const std::string& text) override { log_.push_back("message:" + text); }
  int confirm(const std::string& text, const std::string& title) override {
    log_.push_back("confirm:" + title + ":" + text);
    return confirmAnswer;
  }
  void processMessages() override { log_.push_back("process"); }

 private:
  Log& log_;
};

// What a statement does when a fake query runs it.
struct Outcome {
  std::vector<std::string> fields;
  int64_t rows = 0;
  std::string error;  // non-empty: the statement is refused with this text
};

class FakeConnection : public DbConnection {
 public:
  explicit FakeConnection(Log& log) : log_(log) {}
  std::vector<std::string> tables;
  std::string failTables;  // non-empty: tableNames() throws it
  std::string connectionString;
  std::vector<std::function<void()>> onClose;

  void setConnectionString(const std::string& text) override {
    connectionString = text;
    log_.push_back("connect:" + text);
  }
  void close() override {
    log_.push_back("disconnect");
    for (auto& f : onClose) f();
  }
  std::vector<std::string> tableNames() override {
    log_.push_back("tableNames");
    if (!failTables.empty()) throw std::runtime_error(failTables);
    return tables;
  }
  void beginTrans() override { log_.push_back("begin"); }
  void commitTrans() override { log_.push_back("commit"); }
  void rollbackTrans() override { log_.push_back("rollback"); }

 private:
  Log& log_;
};

class FakeQuery : public DbQuery {
 public:
  FakeQuery(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
  std::map<std::string, Outcome> outcomes;  // by statement text; unknown statements succeed empty

  void close() override { active_ = false, fields_.clear(), rows_ = 0; }
  void setSql(const std::string& text) override { sql_ = text; }
  std::string sql() const override { return sql_; }
  void open() override {
    log_.push_back(name_ + ".open:" + sql_);
    const Outcome o = outcome();
    if (!o.error.empty()) throw std::runtime_error(o.error);
    fields_ = o.fields, rows_ = o.rows, active_ = true;
  }
  int64_t execSql() override {
    log_.push_back(name_ + ".exec:" + sql_);
    close();
    const Outcome o = outcome();
    if (!o.error.empty()) throw std::runtime_error(o.error);
    return o.rows;
  }
  bool active() const override { return active_; }
  std::vector<std::string> fieldNames() const override { return fields_; }
  int64_t recordCount() const override {
    if (!active_) throw std::runtime_error("closed data set");
    return rows_;
  }

 private:
  Outcome outcome() const {
    auto it = outcomes.find(sql_);
    return it == outcomes.end() ? Outcome{} : it->second;
  }
  Log& log_;
  std::string name_;
  std::string sql_;
  bool active_ = false;
  std::vector<std::string> fields_;
  int64_t rows_ = 0;
};

class FakeFiles : public FileSystem {
 public:
  explicit FakeFiles(Log& log) : log_(log) {}
  std::vector<std::string> existing;
  std::optional<std::string> copyFailure;
  bool fileExists(const std::string& path) const override {
    for (const std::string& e : existing)
      if (e == path) return true;
    return false;
  }
  // Creates `to` as a real copy does: a name in `existing` is taken.
  CopyOutcome copyToNewFile(const std::string& from, const std::string& to) override {
    if (fileExists(to)) {
      log_.push_back("exists:" + to);
      return {CopyOutcome::TargetExists, {}};
    }
    log_.push_back("copy:" + from + ">" + to);
    if (copyFailure) return {CopyOutcome::Failed, *copyFailure};
    existing.push_back(to);
    return {CopyOutcome::Copied, {}};
  }

 private:
  Log& log_;
};

class FixedClock : public Clock {
 public:
  std::tm at{};
  std::tm localNow() const override { return at; }
};

}  // namespace qm::db::testing
