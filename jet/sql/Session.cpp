#include "jet/sql/Session.h"

#include <type_traits>

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/ComputedRows.h"
#include "jet/sql/Ddl.h"
#include "jet/sql/Dml.h"
#include "jet/sql/Parser.h"
#include "jet/sql/Planner.h"
#include "jet/sql/TableRows.h"

namespace jet::sql {

struct Session::Impl {
  explicit Impl(storage::Store& s) : store(s) {}
  storage::Store& store;
  int explicitLevels = 0;  // BEGIN TRANSACTION levels still open
  size_t resultMemoryBudget = ComputedRows::kDefaultMemoryBudget;

  // Runs `work` inside a transaction level of its own: all of it or nothing.
  template <class F>
  auto atomically(F&& work) {
    store.begin();
    try {
      auto result = work();
      store.commit();
      return result;
    } catch (...) {
      store.rollback();
      throw;
    }
  }
};

namespace {

std::vector<ResultField> fieldsOf(const Operator& op) {
  std::vector<ResultField> out;
  for (const ColumnInfo& c : op.columns()) {
    ResultField f;
    f.name = c.name;
    f.type = c.type == DataType::Null ? DataType::Text : c.type;
    f.size = c.type == DataType::Null ? 255 : c.size;
    out.push_back(f);
  }
  return out;
}

// The stored table a query reads whole and as it is ("select * from [t]"),
// whose rows can therefore be read one by one where they lie.
std::shared_ptr<storage::Table> plainTableScan(const ast::Query& query, storage::Store& store) {
  if (query.parts.size() != 1 || !query.orderBy.empty()) return nullptr;
  const ast::SelectCore& core = query.parts[0];
  if (core.distinct || core.top || core.hasInto || core.where || !core.groupBy.empty() || core.having)
    return nullptr;
  if (core.items.size() != 1 || !core.items[0].star || !core.items[0].starQualifier.empty()) return nullptr;
  if (core.from.size() != 1 || core.from[0]->kind != ast::TableRef::Kind::Named) return nullptr;
  return store.openTable(core.from[0]->name);
}

}  // namespace

Session::Session(storage::Store& store) : impl_(new Impl(store)) {}

Session::~Session() {
  // An explicit transaction left open when the connection goes is undone.
  try {
    while (impl_->explicitLevels > 0 && impl_->store.transactionDepth() > 0) {
      impl_->store.rollback();
      --impl_->explicitLevels;
    }
  } catch (const Error&) {
  }
  delete impl_;
}

bool Session::inTransaction() const {
  return impl_->explicitLevels > 0;
}

ExecResult Session::execute(const std::string& sql) {
  // A stop requested while no statement ran stops the next one before it starts.
  ThrowIfCancelled();
  ast::Statement statement = parseStatement(sql);
  storage::Store& store = impl_->store;
  // The whole statement sees one state of the file, even while other
  // processes write it.
  storage::ReadGuard reading(store);
  ExecResult result;
  std::visit(
      [&](auto& s) {
        using T = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<T, ast::SelectStmt>) {
          if (s.query->parts[0].hasInto) {
            result.rowsAffected = impl_->atomically([&] { return runSelectInto(store, *s.query); });
            return;
          }
          Planner planner(store);
          OperatorPtr op = planner.planQuery(*s.query);
          planner.finish();
          result.returnsRows = true;
          result.result.fields = fieldsOf(*op);
          op->open(nullptr);
          Row r;
          while (op->next(r)) result.result.rows.push_back(r);
        } else if constexpr (std::is_same_v<T, ast::DeleteStmt>) {
          result.rowsAffected = impl_->atomically([&] { return runDelete(store, s); });
        } else if constexpr (std::is_same_v<T, ast::UpdateStmt>) {
          result.rowsAffected = impl_->atomically([&] { return runUpdate(store, s); });
        } else if constexpr (std::is_same_v<T, ast::InsertStmt>) {
          result.rowsAffected = impl_->atomically([&] { return runInsert(store, s); });
        } else if constexpr (std::is_same_v<T, ast::TransactionStmt>) {
          switch (s.verb) {
            case ast::TransactionVerb::Begin:
              store.begin();
              ++impl_->explicitLevels;
              break;
            case ast::TransactionVerb::Commit:
              if (impl_->explicitLevels == 0) throw SqlError(ErrorCode::Transaction, msg::noTransaction());
              store.commit();
              --impl_->explicitLevels;
              break;
            case ast::TransactionVerb::Rollback:
              if (impl_->explicitLevels == 0) throw SqlError(ErrorCode::Transaction, msg::noTransaction());
              store.rollback();
              --impl_->explicitLevels;
              break;
          }
        } else {
          impl_->atomically([&] {
            if constexpr (std::is_same_v<T, ast::CreateTableStmt>)
              runCreateTable(store, s);
            else if constexpr (std::is_same_v<T, ast::DropTableStmt>)
              runDropTable(store, s);
            else if constexpr (std::is_same_v<T, ast::AlterAddColumnStmt>)
              runAlterAddColumn(store, s);
            else if constexpr (std::is_same_v<T, ast::AlterDropColumnStmt>)
              runAlterDropColumn(store, s);
            else if constexpr (std::is_same_v<T, ast::CreateIndexStmt>)
              runCreateIndex(store, s);
            else if constexpr (std::is_same_v<T, ast::DropIndexStmt>)
              runDropIndex(store, s);
            return 0;
          });
        }
      },
      statement);
  return result;
}

std::unique_ptr<StaticResult> Session::open(const std::string& sql) {
  ThrowIfCancelled();
  ast::Statement statement = parseStatement(sql);
  auto* select = std::get_if<ast::SelectStmt>(&statement);
  if (!select || select->query->parts[0].hasInto) {
    execute(sql);
    return nullptr;
  }
  storage::Store& store = impl_->store;
  storage::ReadGuard reading(store);
  Planner planner(store);
  OperatorPtr op = planner.planQuery(*select->query);
  planner.finish();
  std::vector<ResultField> fields = fieldsOf(*op);
  if (auto table = plainTableScan(*select->query, store);
      table && table->schema().columns.size() == fields.size())
    return std::make_unique<TableRows>(store, std::move(table), std::move(fields));
  auto rows = std::make_unique<ComputedRows>(std::move(fields), impl_->resultMemoryBudget);
  op->open(nullptr);
  Row r;
  while (op->next(r)) rows->append(r);
  return rows;
}

void Session::setResultMemoryBudget(size_t bytes) {
  impl_->resultMemoryBudget = bytes;
}

void Session::stream(const std::string& sql,
                     const std::function<void(const std::vector<ResultField>&)>& onFields,
                     const std::function<void(const Row&)>& onRow) {
  ThrowIfCancelled();
  ast::Statement statement = parseStatement(sql);
  storage::ReadGuard reading(impl_->store);
  auto* select = std::get_if<ast::SelectStmt>(&statement);
  if (!select || select->query->parts[0].hasInto) throw SqlError(ErrorCode::Invalid, msg::notRowReturning());
  Planner planner(impl_->store);
  OperatorPtr op = planner.planQuery(*select->query);
  planner.finish();
  onFields(fieldsOf(*op));
  op->open(nullptr);
  Row r;
  while (op->next(r)) onRow(r);
}

}  // namespace jet::sql
