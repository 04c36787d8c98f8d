// The SQL statements of the duplicate tools, built from the user's texts exactly
// as the window sends them (names inserted unchanged; letter case matters to
// people comparing logs, so each statement keeps its own). The command-line
// tool builds its batch dedupe from the same functions.
#pragma once

#include <array>
#include <string>

namespace qm::db {

// "Select * from [table]": what the grid shows.
std::string gridStatement(const std::string& table);
// One row per group of equal key fields that has more than one record.
std::string duplicateReportStatement(const std::string& table, const std::string& fields);
// Deletes every record of a group except the one with the lowest ID.
std::string keepLowestStatement(const std::string& table, const std::string& id, const std::string& fields);
// Deletes every record of a group except the one with the highest ID.
std::string keepHighestStatement(const std::string& table, const std::string& id, const std::string& fields);
// Copy out the distinct rows, drop, copy back, drop the side table.
std::array<std::string, 4> keylessRebuildStatements(const std::string& table);
std::string dropTableStatement(const std::string& table);
std::string backupTableStatement(const std::string& table);

// Checks run before a removal: any row of these results means the ID field
// cannot tell the records of a group apart.
std::string repeatedIdStatement(const std::string& table, const std::string& id);
std::string nullIdStatement(const std::string& table, const std::string& id);

// One row: the number of groups of records with equal fields that have more
// than one record, and the records in those groups (Null when there are
// none). The groups need no order, so this costs one grouped pass, a fraction
// of the report, whose groups come sorted.
std::string duplicateTotalsStatement(const std::string& table, const std::string& fields);

// True when a statement gives rows (a SELECT or TRANSFORM without INTO), so
// that the console opens it rather than executing it. Decided from the text
// alone, before anything runs, so a statement is never run twice.
bool returnsRows(const std::string& sql);

}  // namespace qm::db
