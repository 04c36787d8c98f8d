// Rebuilds the SQL text of a saved query from its rows in MSysQueries. Each
// row carries one piece: an attribute code says which (the query type, its
// parameters, the select flags, a source table, an output column, a join,
// the WHERE, GROUP BY, HAVING and ORDER BY parts).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jet::storage {

struct QueryRow {
  uint8_t attribute = 0;
  std::optional<std::string> expression;
  int16_t flag = 0;
  int32_t extra = 0;
  std::optional<std::string> name1;
  std::optional<std::string> name2;
};

// MSysQueries.Attribute values.
enum QueryAttribute : uint8_t {
  kQueryStart = 0,
  kQueryType = 1,
  kQueryParameter = 2,
  kQueryFlags = 3,
  kQueryRemoteDb = 4,
  kQuerySource = 5,
  kQueryColumn = 6,
  kQueryJoin = 7,
  kQueryWhere = 8,
  kQueryGroupBy = 9,
  kQueryHaving = 10,
  kQueryOrderBy = 11,
  kQueryEnd = 255,
};

// The query type of the type row (flag of attribute 1).
enum class QueryType {
  Select = 1,
  MakeTable = 2,
  Append = 3,
  Update = 4,
  Delete = 5,
  CrossTab = 6,
  DataDefinition = 7,
  PassThrough = 8,
  Union = 9,
  Unknown = 0
};

struct QueryText {
  QueryType type = QueryType::Unknown;
  bool hasParameters = false;
  std::string sql;
};

// `objectFlags` is the query's MSysObjects.Flags, which names the type when
// the rows do not. Rows are in stored order.
QueryText rebuildQuery(const std::vector<QueryRow>& rows, uint32_t objectFlags);

}  // namespace jet::storage
