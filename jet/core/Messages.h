// The catalogue of every message the engine shows a person, in Chinese and in
// English; each text carries the meaning of the Jet engine's own message and
// names the object concerned. Nothing else in the engine spells out a message.
// The window always speaks Chinese, the default; the command-line tool
// switches to English at start when the user's locale is not Chinese.
#pragma once

#include <cstdint>
#include <string>

namespace jet::msg {

enum class Language { Chinese, English };

// Meant to be set once at program start, before any message is made.
void setLanguage(Language language);
Language language();
// The language of a locale given by LC_ALL, LC_MESSAGES and LANG (null or
// empty when unset), which decide in that order as POSIX has it: a name
// starting with "zh" is Chinese, any other name, and none at all (the "C"
// locale), English.
Language languageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);
// The text of the current language. A new message gives both texts side by
// side: return said("中文……", "English ...");
std::string said(const std::string& chinese, const std::string& english);

std::string fileNotFound(const std::string& path);
std::string notADatabase(const std::string& path);
std::string truncatedFile(const std::string& path);
std::string encodedDatabase(const std::string& path);
std::string unsupportedFormat(const std::string& what);
std::string badPassword();
std::string corrupt(const std::string& what);
std::string ioError(const std::string& path, const std::string& reason);
std::string readOnlyFile(const std::string& path);
std::string lockedFile(const std::string& path);
std::string noSuchTable(const std::string& name);
// Jet reports an unknown name in an expression as a missing parameter.
std::string tooFewParameters(int expected, const std::string& name);
std::string noSuchIndex(const std::string& table, const std::string& index);
// `clause` is the clause's keyword: "FROM", "SELECT", "WHERE", "ORDER BY", ...
std::string syntaxErrorIn(const std::string& clause, const std::string& near);
std::string syntaxError(const std::string& near);
std::string tableExists(const std::string& name);
std::string fieldExists(const std::string& table, const std::string& field);
std::string indexExists(const std::string& table, const std::string& index);
std::string typeMismatch(const std::string& where);
std::string duplicateKey(const std::string& table, const std::string& index);
std::string nullInRequired(const std::string& table, const std::string& field);
std::string overflow(const std::string& what);
std::string divisionByZero();
std::string unknownFunction(const std::string& name);
std::string wrongArgumentCount(const std::string& function);
std::string cannotModifySystemTable(const std::string& name);
std::string cannotDropQuery(const std::string& name);
std::string noTransaction();
// The user stopped the running statement (Ctrl-C).
std::string interrupted();
std::string writeNotSupported(const std::string& what);
std::string unknownSortCharacter(const std::string& table, const std::string& index, char32_t c);
std::string invalidConnectionString(const std::string& detail);
std::string notRowReturning();
std::string closedDataSet();
// The row being edited was changed or deleted since it was read.
std::string rowChanged(const std::string& table);
// A record asked for by its position past the end of a result.
std::string noSuchRecord(uint64_t position, uint64_t count);
// Reading Jet files: what in the file is damaged or beyond the reader.
std::string unsupportedVersion(const std::string& path);
std::string corruptPage(uint32_t page);
std::string pageOutOfRange(uint32_t page);
std::string pageChainLoop(uint32_t page);
std::string corruptTableDefinition(const std::string& table);
std::string corruptRow(const std::string& table, uint32_t page, unsigned row);
std::string corruptLongValue(const std::string& table, const std::string& column);
std::string corruptUsageMap(const std::string& table);
std::string unsupportedColumnType(const std::string& table, const std::string& column, int type);
std::string corruptCatalog(const std::string& detail);
std::string linkedTableNotSupported(const std::string& name);
std::string rowTooLarge(size_t bytes);

// Index keys, index pages and the rollback journal.
std::string columnNotIndexable(const std::string& table, const std::string& index, const std::string& type);
std::string corruptIndexPage(uint32_t page, const std::string& detail);
std::string indexEntryTooLarge(size_t bytes);
std::string corruptJournal(const std::string& path);

// The SQL layer.
// Nesting (parentheses, subqueries, saved queries) deeper than the engine follows.
std::string queryTooComplex();
// The text does not start with a statement the engine knows.
std::string invalidStatement(const std::string& near);
std::string invalidArgument(const std::string& function);
std::string notInAggregate(const std::string& expression);
std::string aggregateNotAllowed(const std::string& clause, const std::string& expression);
std::string ambiguousField(const std::string& name);
// Crosstab queries (TRANSFORM ... PIVOT).
std::string crosstabSyntax(const std::string& near);
std::string crosstabWithoutPivot(const std::string& near);
std::string crosstabWithoutGroupBy();
std::string crosstabInto();
std::string transformNotAggregate(const std::string& expression);
std::string repeatedColumnHeading(const std::string& heading);
std::string tooManyCrosstabColumns(size_t count);
std::string unionColumnMismatch();
std::string subqueryTooManyRows();
std::string subqueryOneColumn(const std::string& subquery);
std::string unknownInsertField(const std::string& name);
std::string valueCountMismatch();
std::string valueTooLong(const std::string& table, const std::string& field);
std::string circularQuery(const std::string& name);
std::string orderByConflictsDistinct(const std::string& expression);
std::string notUpdatable(const std::string& name);

// Data definition and new database files.
std::string invalidObjectName(const std::string& name);
std::string tooManyColumns(const std::string& table, size_t count);
std::string tooManyIndexes(const std::string& table, size_t count);
std::string tooManyIndexColumns(const std::string& table, const std::string& index);
std::string invalidFieldSize(const std::string& table, const std::string& field, int size);
std::string emptyIndex(const std::string& table, const std::string& index);
std::string noSuchIndexColumn(const std::string& table, const std::string& index);
std::string duplicatePrimaryKey(const std::string& table);
std::string autoNumberType(const std::string& table, const std::string& field);
std::string jet3WriteNotSupported(const std::string& path);
// Access 97 files keep text in one ANSI code page; `where` is table.field or a name.
std::string textNotInCodePage(const std::string& where, char32_t c, uint16_t codePage);
// A new Access 97 file is written only in a code page the engine can encode.
std::string unsupportedCodePage(uint16_t codePage);
std::string fileExists(const std::string& path);
std::string cannotCreateFile(const std::string& path, const std::string& reason);
std::string valueTooLarge(const std::string& table, const std::string& field, size_t bytes);
std::string noColumns(const std::string& table);
std::string noSuchField(const std::string& table, const std::string& field);
std::string fieldInIndex(const std::string& table, const std::string& field, const std::string& index);
std::string requiredFieldOnRows(const std::string& table, const std::string& field);
// A writer kept the database past the time a reader or writer waits for it.
std::string databaseBusy(const std::string& path);
// A rollback journal left beside a database it was not written for.
std::string foreignJournal(const std::string& journal, const std::string& database);
std::string diskFull(const std::string& path, const std::string& reason);

// Names the batch tools take on the command line.
std::string queryNotTable(const std::string& name);
// `list` is the text as typed, e.g. "a,,b".
std::string emptyFieldName(const std::string& list);
// Jet SQL cannot quote a name holding "]".
std::string unquotableName(const std::string& name);

}  // namespace jet::msg
