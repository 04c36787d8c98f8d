// Sums and averages of whole numbers are kept exactly, so they come out the
// same in any order of their rows: a grouped table beneath them is not sorted
// first. Sums of other numbers still take the rows in their order.
#include <gtest/gtest.h>

#include "SqlFixture.h"
#include "jet/sql/Binder.h"
#include "jet/sql/HashAggregate.h"

namespace jet::sql {
namespace {

using testing::D;
using testing::L;

// Rows from a list; notes whether its consumer let it give them in any order.
class ListedRows : public Operator {
 public:
  explicit ListedRows(ColumnInfo column) { columns_ = {std::move(column)}; }
  bool anyOrder = false;
  void allowAnyOrder() override { anyOrder = true; }
  void open(const EvalContext*) override { at_ = 0; }
  bool next(Row& out) override {
    if (at_ >= 3) return false;
    out = {columns_[0].type == DataType::Double ? Value::dbl(at_ + 0.5)
                                                : Value::longInt(static_cast<int>(at_))};
    ++at_;
    return true;
  }

 private:
  size_t at_ = 0;
};

// Whether an aggregate of `kind` over a column of `type` lets its input come in any order.
bool letsRowsComeInAnyOrder(AggKind kind, DataType type) {
  ColumnInfo column{"t", "v", type, 8};
  auto input = std::make_unique<ListedRows>(column);
  ListedRows* rows = input.get();
  AggSpec spec;
  spec.kind = kind;
  spec.arg = Binder::columnRef(0, 0, column);
  spec.type = aggregateType(kind, type);
  std::vector<AggSpec> aggs;
  aggs.push_back(std::move(spec));
  HashAggregate aggregate(std::move(input), {}, std::move(aggs), {{"", "a", aggregateType(kind, type), 8}});
  aggregate.open(nullptr);
  Row r;
  EXPECT_TRUE(aggregate.next(r));
  return rows->anyOrder;
}

TEST(WholeSum, OnlySumsOfWholeNumbersLetTheirRowsComeInAnyOrder) {
  EXPECT_TRUE(letsRowsComeInAnyOrder(AggKind::Sum, DataType::Long));
  EXPECT_TRUE(letsRowsComeInAnyOrder(AggKind::Avg, DataType::Integer));
  EXPECT_TRUE(letsRowsComeInAnyOrder(AggKind::Sum, DataType::Boolean));
  EXPECT_FALSE(letsRowsComeInAnyOrder(AggKind::Sum, DataType::Double));
  EXPECT_FALSE(letsRowsComeInAnyOrder(AggKind::Avg, DataType::Double));
  EXPECT_FALSE(letsRowsComeInAnyOrder(AggKind::StDev, DataType::Long));
  EXPECT_FALSE(letsRowsComeInAnyOrder(AggKind::Last, DataType::Long));
}

class WholeSumSql : public testing::SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE T (k TEXT(10), n LONG, b BIT, x DOUBLE)");
    run("INSERT INTO T VALUES ('a', 2147483647, True, 0.5)");
    run("INSERT INTO T VALUES ('b', 2147483647, False, 0.25)");
    run("INSERT INTO T VALUES ('A', -5, True, Null)");
    run("INSERT INTO T VALUES ('c', Null, True, 1)");
    run("INSERT INTO T VALUES ('b', 3, False, 2)");
  }
};

TEST_F(WholeSumSql, SumsAndAveragesOfWholeNumbersAreExactAndDouble) {
  auto r = rows("SELECT Sum(n), Avg(n), Sum(b), Avg(b), Sum(x) FROM T");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], D(4294967292.0));  // past a Long, Nulls skipped
  EXPECT_EQ(r[0][0].type(), DataType::Double);
  EXPECT_EQ(r[0][1], D(4294967292.0 / 4));
  EXPECT_EQ(r[0][2], D(-3));  // True is -1
  EXPECT_EQ(r[0][3], D(-0.6));
  EXPECT_EQ(r[0][4], D(3.75));
  EXPECT_TRUE(rows("SELECT Sum(n) FROM T WHERE k = 'c'")[0][0].isNull());
}

TEST_F(WholeSumSql, TotalsOverGroupsAgreeWithTheGroups) {
  // Groups by k, case ignored: a x2, b x2, c x1.
  auto r = rows(
      "SELECT Count(*), Sum(c), Avg(c), Sum(s) FROM (SELECT Count(*) AS c, Sum(n) AS s FROM T GROUP BY k)");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], L(3));
  EXPECT_EQ(r[0][1], D(5));
  EXPECT_EQ(r[0][2], D(5.0 / 3));
  // Sum(n) per group is a Double, so the total over the groups takes them in order.
  EXPECT_EQ(r[0][3], D(4294967292.0));
  auto dup =
      rows("SELECT Count(*), Sum(c) FROM (SELECT Count(*) AS c FROM T GROUP BY k HAVING Count(*) > 1)");
  EXPECT_EQ(dup[0][0], L(2));
  EXPECT_EQ(dup[0][1], D(4));
}

}  // namespace
}  // namespace jet::sql
