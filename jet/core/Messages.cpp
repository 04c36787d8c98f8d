#include "jet/core/Messages.h"

#include <atomic>
#include <cstdio>

namespace jet::msg {

namespace {

std::atomic<Language> current{Language::Chinese};

std::string quoted(const std::string& s) {
  return "'" + s + "'";
}

bool startsWith(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix)
    if (*text != *prefix) return false;
  return true;
}

// The "near ..." tail of a syntax error; nothing when there is no text to show.
std::string nearText(const std::string& near) {
  if (near.empty()) return {};
  return said("（在 " + quoted(near) + " 附近）", " (near " + quoted(near) + ")");
}

}  // namespace

void setLanguage(Language language) {
  current.store(language, std::memory_order_relaxed);
}
Language language() {
  return current.load(std::memory_order_relaxed);
}

Language languageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* name : {lcAll, lcMessages, lang})
    if (name && *name) return startsWith(name, "zh") ? Language::Chinese : Language::English;
  return Language::English;
}

std::string said(const std::string& chinese, const std::string& english) {
  return language() == Language::English ? english : chinese;
}

std::string fileNotFound(const std::string& path) {
  return said("找不到文件 " + quoted(path) + "。", "Could not find file " + quoted(path) + ".");
}
std::string notADatabase(const std::string& path) {
  return said("无法识别的数据库格式 " + quoted(path) + "。",
              "Unrecognized database format " + quoted(path) + ".");
}
std::string truncatedFile(const std::string& path) {
  return said("数据库 " + quoted(path) + " 已截断或损坏，无法识别其格式。",
              "The database " + quoted(path) + " is truncated or damaged; its format cannot be recognized.");
}
std::string encodedDatabase(const std::string& path) {
  return said(
      "数据库 " + quoted(path) + " 已编码（加密），不支持打开编码的数据库。",
      "The database " + quoted(path) + " is encoded (encrypted); encoded databases cannot be opened.");
}
std::string unsupportedFormat(const std::string& what) {
  return said("不支持的数据库功能：" + what + "。", "Unsupported database feature: " + what + ".");
}
std::string badPassword() {
  return said("不是有效的密码。", "Not a valid password.");
}
std::string corrupt(const std::string& what) {
  return said("数据库已损坏：" + what + "。", "The database is damaged: " + what + ".");
}
std::string ioError(const std::string& path, const std::string& reason) {
  return said("读写文件 " + quoted(path) + " 时出错：" + reason + "。",
              "Error reading or writing the file " + quoted(path) + ": " + reason + ".");
}
std::string readOnlyFile(const std::string& path) {
  return said("无法更新。数据库 " + quoted(path) + " 是只读的。",
              "Cannot update. The database " + quoted(path) + " is read-only.");
}
std::string lockedFile(const std::string& path) {
  return said("文件 " + quoted(path) + " 已被其他用户以独占方式打开，或正在被其他程序使用。",
              "The file " + quoted(path) +
                  " is already opened exclusively by another user, or is in use by "
                  "another program.");
}
std::string noSuchTable(const std::string& name) {
  return said("Microsoft Jet 数据库引擎找不到输入表或查询 " + quoted(name) +
                  "。请确定它是否存在，以及它的名称的拼写是否正确。",
              "The Microsoft Jet database engine cannot find the input table or query " + quoted(name) +
                  ". Make sure it exists and that its name is spelled correctly.");
}
std::string tooFewParameters(int expected, const std::string& name) {
  return said("参数不足，期待是 " + std::to_string(expected) + "。（无法识别的字段名 " + quoted(name) + "）",
              "Too few parameters. Expected " + std::to_string(expected) + ". (Unknown field name " +
                  quoted(name) + ")");
}
std::string noSuchIndex(const std::string& table, const std::string& index) {
  return said("表 " + quoted(table) + " 中没有索引 " + quoted(index) + "。",
              "The table " + quoted(table) + " has no index " + quoted(index) + ".");
}
std::string syntaxErrorIn(const std::string& clause, const std::string& near) {
  return said(clause + " 子句语法错误。", "Syntax error in " + clause + " clause.") + nearText(near);
}
std::string syntaxError(const std::string& near) {
  return said("语法错误。", "Syntax error.") + nearText(near);
}
std::string tableExists(const std::string& name) {
  return said("表 " + quoted(name) + " 已存在。", "Table " + quoted(name) + " already exists.");
}
std::string fieldExists(const std::string& table, const std::string& field) {
  return said("表 " + quoted(table) + " 中已有字段 " + quoted(field) + "。",
              "The table " + quoted(table) + " already has a field " + quoted(field) + ".");
}
std::string indexExists(const std::string& table, const std::string& index) {
  return said("表 " + quoted(table) + " 中已有索引 " + quoted(index) + "。",
              "The table " + quoted(table) + " already has an index " + quoted(index) + ".");
}
std::string typeMismatch(const std::string& where) {
  return said("标准表达式中数据类型不匹配：" + where + "。",
              "Data type mismatch in criteria expression: " + where + ".");
}
std::string duplicateKey(const std::string& table, const std::string& index) {
  return said(
      "由于将在索引、主关键字或关系中创建重复的值，请求对表 " + quoted(table) + " 的改变没有成功（索引 " +
          quoted(index) + "）。",
      "The changes you requested to the table " + quoted(table) +
          " were not successful because they would create duplicate values in the index, primary key, "
          "or relationship (index " +
          quoted(index) + ").");
}
std::string nullInRequired(const std::string& table, const std::string& field) {
  return said(
      "字段 " + quoted(table + "." + field) + " 不能包含 Null 值，因为该字段的 Required 属性被设置为 True。",
      "The field " + quoted(table + "." + field) +
          " cannot contain a Null value because the Required property for this field is set to True.");
}
std::string overflow(const std::string& what) {
  return said("溢出：" + what + "。", "Overflow: " + what + ".");
}
std::string divisionByZero() {
  return said("被零除。", "Division by zero.");
}
std::string unknownFunction(const std::string& name) {
  return said("表达式中含有未定义函数 " + quoted(name) + "。",
              "Undefined function " + quoted(name) + " in expression.");
}
std::string wrongArgumentCount(const std::string& function) {
  return said("表达式中函数 " + quoted(function) + " 的参数个数错误。",
              "Wrong number of arguments used with function " + quoted(function) + " in expression.");
}
std::string cannotModifySystemTable(const std::string& name) {
  return said("不能修改系统表 " + quoted(name) + "。",
              "Cannot modify the system table " + quoted(name) + ".");
}
std::string cannotDropQuery(const std::string& name) {
  return said(quoted(name) + " 是查询而不是表，不能用 DROP TABLE 删除。",
              quoted(name) + " is a query, not a table; DROP TABLE cannot delete it.");
}
std::string noTransaction() {
  return said("没有活动的事务。", "There is no active transaction.");
}
std::string interrupted() {
  return said("操作已被用户中断，所做的更改已撤销。",
              "The operation was interrupted by the user; its changes were undone.");
}
std::string writeNotSupported(const std::string& what) {
  return said("不支持写入：" + what + "。", "Writing is not supported: " + what + ".");
}
std::string unknownSortCharacter(const std::string& table, const std::string& index, char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  return said("字符 " + std::string(code) + " 没有已知的排序码，无法写入表 " + quoted(table) + " 的索引 " +
                  quoted(index) + "。",
              "The character " + std::string(code) +
                  " has no known sort code and cannot be written to the index " + quoted(index) +
                  " of the table " + quoted(table) + ".");
}
std::string invalidConnectionString(const std::string& detail) {
  return said("连接字符串无效：" + detail + "。", "Invalid connection string: " + detail + ".");
}
std::string notRowReturning() {
  return said("该语句不返回记录。", "The statement does not return records.");
}
std::string closedDataSet() {
  return said("数据集未打开，无法执行此操作。", "The operation is not allowed when the data set is closed.");
}
std::string rowChanged(const std::string& table) {
  return said("表 " + quoted(table) + " 中的这条记录已被其他操作更改或删除，无法保存修改。",
              "This record of the table " + quoted(table) +
                  " was changed or deleted by another operation; the edit cannot be saved.");
}
std::string noSuchRecord(uint64_t position, uint64_t count) {
  return said("没有第 " + std::to_string(position + 1) + " 条记录，结果共 " + std::to_string(count) + " 条。",
              "There is no record " + std::to_string(position + 1) + "; the result has " +
                  std::to_string(count) + ".");
}

std::string unsupportedVersion(const std::string& path) {
  return said("数据库 " + quoted(path) + " 是 Access 2007 或更高版本（ACCDB）的格式，不支持打开。",
              "The database " + quoted(path) +
                  " is in the Access 2007 or later (ACCDB) format, which cannot be opened.");
}
std::string corruptPage(uint32_t page) {
  return said("数据库已损坏：第 " + std::to_string(page) + " 页的内容无效。",
              "The database is damaged: page " + std::to_string(page) + " holds invalid content.");
}
std::string pageOutOfRange(uint32_t page) {
  return said("数据库已损坏：引用的第 " + std::to_string(page) + " 页超出文件末尾。",
              "The database is damaged: the referenced page " + std::to_string(page) +
                  " lies past the end of the file.");
}
std::string pageChainLoop(uint32_t page) {
  return said(
      "数据库已损坏：从第 " + std::to_string(page) + " 页开始的页链形成循环。",
      "The database is damaged: the chain of pages starting at page " + std::to_string(page) + " loops.");
}
std::string corruptTableDefinition(const std::string& table) {
  return said("数据库已损坏：表 " + quoted(table) + " 的定义无效。",
              "The database is damaged: the definition of the table " + quoted(table) + " is invalid.");
}
std::string corruptRow(const std::string& table, uint32_t page, unsigned row) {
  return said("数据库已损坏：表 " + quoted(table) + " 第 " + std::to_string(page) + " 页的第 " +
                  std::to_string(row) + " 条记录无效。",
              "The database is damaged: record " + std::to_string(row) + " on page " + std::to_string(page) +
                  " of the table " + quoted(table) + " is invalid.");
}
std::string corruptLongValue(const std::string& table, const std::string& column) {
  return said(
      "数据库已损坏：表 " + quoted(table) + " 字段 " + quoted(column) + " 的长值（备注/OLE）数据无效。",
      "The database is damaged: the long value (Memo/OLE) data of the field " + quoted(column) +
          " of the table " + quoted(table) + " is invalid.");
}
std::string corruptUsageMap(const std::string& table) {
  return said("数据库已损坏：表 " + quoted(table) + " 的页使用映射无效。",
              "The database is damaged: the page usage map of the table " + quoted(table) + " is invalid.");
}
std::string unsupportedColumnType(const std::string& table, const std::string& column, int type) {
  return said("表 " + quoted(table) + " 的字段 " + quoted(column) + " 使用了不支持的数据类型（" +
                  std::to_string(type) + "）。",
              "The field " + quoted(column) + " of the table " + quoted(table) +
                  " uses an unsupported data type (" + std::to_string(type) + ").");
}
std::string corruptCatalog(const std::string& detail) {
  return said("数据库已损坏：系统目录无效（" + detail + "）。",
              "The database is damaged: the system catalogue is invalid (" + detail + ").");
}
std::string rowTooLarge(size_t bytes) {
  return said("记录太大（" + std::to_string(bytes) + " 字节），一页放不下。",
              "The record is too large (" + std::to_string(bytes) + " bytes) to fit on a page.");
}
std::string linkedTableNotSupported(const std::string& name) {
  return said(quoted(name) + " 是链接表，不支持打开链接表。",
              quoted(name) + " is a linked table; linked tables cannot be opened.");
}

std::string columnNotIndexable(const std::string& table, const std::string& index, const std::string& type) {
  return said("表 " + quoted(table) + " 的索引 " + quoted(index) + " 含有类型为 " + type +
                  " 的字段，该类型不能编入索引。",
              "The index " + quoted(index) + " of the table " + quoted(table) + " has a field of type " +
                  type + ", which cannot be indexed.");
}
std::string corruptIndexPage(uint32_t page, const std::string& detail) {
  return said(
      "数据库已损坏：第 " + std::to_string(page) + " 页的索引无效（" + detail + "）。",
      "The database is damaged: the index on page " + std::to_string(page) + " is invalid (" + detail + ").");
}
std::string indexEntryTooLarge(size_t bytes) {
  return said("索引项过大（" + std::to_string(bytes) + " 字节），无法放入索引页。",
              "The index entry is too large (" + std::to_string(bytes) + " bytes) to fit on an index page.");
}
std::string corruptJournal(const std::string& path) {
  return said("回滚日志 " + quoted(path) + " 已损坏，无法恢复数据库。",
              "The rollback journal " + quoted(path) + " is damaged; the database cannot be recovered.");
}
std::string queryTooComplex() {
  return said("查询过于复杂（嵌套层数太多）。", "The query is too complex (nested too deeply).");
}
std::string invalidStatement(const std::string& near) {
  return said("无效的 SQL 语句；期待 'DELETE'、'INSERT'、'PROCEDURE'、'SELECT' 或 'UPDATE'。",
              "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.") +
         nearText(near);
}
std::string invalidArgument(const std::string& function) {
  return said("无效的过程调用或参数：" + quoted(function) + "。",
              "Invalid procedure call or argument: " + quoted(function) + ".");
}
std::string notInAggregate(const std::string& expression) {
  return said("试图执行的查询中不包含作为合计函数一部分的特定表达式 " + quoted(expression) + "。",
              "You tried to execute a query that does not include the specified expression " +
                  quoted(expression) + " as part of an aggregate function.");
}
std::string aggregateNotAllowed(const std::string& clause, const std::string& expression) {
  return said(clause + " 子句中不能有合计函数 " + quoted(expression) + "。",
              "Cannot have aggregate function " + quoted(expression) + " in " + clause + " clause.");
}
std::string ambiguousField(const std::string& name) {
  return said("在 SQL 语句的 FROM 子句中列出的多个表都包含特定字段 " + quoted(name) + "。",
              "The specified field " + quoted(name) +
                  " could refer to more than one table listed in the FROM clause of your SQL statement.");
}
std::string crosstabSyntax(const std::string& near) {
  return said("TRANSFORM 语句的语法错误。", "Syntax error in TRANSFORM statement.") + nearText(near);
}
std::string crosstabWithoutPivot(const std::string& near) {
  return said("TRANSFORM 语句的语法错误：缺少 PIVOT 子句。",
              "Syntax error in TRANSFORM statement: the PIVOT clause is missing.") +
         nearText(near);
}
std::string crosstabWithoutGroupBy() {
  return said("TRANSFORM 语句的语法错误：交叉表查询需要 GROUP BY 子句。",
              "Syntax error in TRANSFORM statement: a crosstab query needs a GROUP BY clause.");
}
std::string crosstabInto() {
  return said("交叉表查询不能生成表：TRANSFORM 语句中不能有 INTO。",
              "A crosstab query cannot make a table: INTO is not allowed in a TRANSFORM statement.");
}
std::string transformNotAggregate(const std::string& expression) {
  return said("TRANSFORM 的值 " + quoted(expression) + " 必须是合计函数。",
              "The TRANSFORM value " + quoted(expression) + " must be an aggregate function.");
}
std::string repeatedColumnHeading(const std::string& heading) {
  return said(
      "在交叉表查询中不能多次指定固定列标题 " + quoted(heading) + "。",
      "Cannot specify fixed column heading " + quoted(heading) + " in a crosstab query more than once.");
}
std::string tooManyCrosstabColumns(size_t count) {
  return said("交叉表的列标题太多（" + std::to_string(count) + "）。",
              "Too many crosstab column headers (" + std::to_string(count) + ").");
}
std::string unionColumnMismatch() {
  return said("在联合查询中所选定的两个数据表或查询中的列数不匹配。",
              "The number of columns in the two selected tables or queries of a union query do not match.");
}
std::string subqueryTooManyRows() {
  return said("子查询最多只能返回一条记录。", "At most one record can be returned by this subquery.");
}
std::string subqueryOneColumn(const std::string& subquery) {
  return said("子查询 " + quoted(subquery) + " 只能返回一个字段。",
              "The subquery " + quoted(subquery) + " can return only one field.");
}
std::string unknownInsertField(const std::string& name) {
  return said("INSERT INTO 语句包含以下未知字段名：" + quoted(name) +
                  "。请确定正确地键入了该名称，然后重新运行该操作。",
              "The INSERT INTO statement contains the following unknown field name: " + quoted(name) +
                  ". Make sure you have typed the name correctly, and try the operation again.");
}
std::string valueCountMismatch() {
  return said("查询值的数目与目标字段中的数目不同。",
              "Number of query values and destination fields are not the same.");
}
std::string valueTooLong(const std::string& table, const std::string& field) {
  return said("字段 " + quoted(table + "." + field) + " 太小而不能接受所要添加的数据的数量。",
              "The field " + quoted(table + "." + field) +
                  " is too small to accept the amount of data you attempted to add.");
}
std::string circularQuery(const std::string& name) {
  return said("查询 " + quoted(name) + " 中有循环引用。",
              "Circular reference caused by the query " + quoted(name) + ".");
}
std::string orderByConflictsDistinct(const std::string& expression) {
  return said("ORDER BY 子句 " + quoted(expression) + " 与 DISTINCT 冲突。",
              "ORDER BY clause " + quoted(expression) + " conflicts with DISTINCT.");
}
std::string notUpdatable(const std::string& name) {
  return said("操作必须使用一个可更新的查询：" + quoted(name) + "。",
              "Operation must use an updateable query: " + quoted(name) + ".");
}

std::string invalidObjectName(const std::string& name) {
  return said(
      "名称 " + quoted(name) + " 无效：不能为空、不能超过 64 个字符，也不能含有 . ! ` [ ] 或控制字符。",
      "The name " + quoted(name) +
          " is not valid: it must not be empty, be longer than 64 characters, or contain . ! ` [ ] or "
          "control characters.");
}
std::string tooManyColumns(const std::string& table, size_t count) {
  return said("表 " + quoted(table) + " 有 " + std::to_string(count) + " 个字段，超过了 255 个的上限。",
              "The table " + quoted(table) + " has " + std::to_string(count) +
                  " fields, more than the limit of 255.");
}
std::string tooManyIndexes(const std::string& table, size_t count) {
  return said("表 " + quoted(table) + " 有 " + std::to_string(count) + " 个索引，超过了 32 个的上限。",
              "The table " + quoted(table) + " has " + std::to_string(count) +
                  " indexes, more than the limit of 32.");
}
std::string tooManyIndexColumns(const std::string& table, const std::string& index) {
  return said("表 " + quoted(table) + " 的索引 " + quoted(index) + " 超过了 10 个字段的上限。",
              "The index " + quoted(index) + " of the table " + quoted(table) +
                  " has more than the limit of 10 fields.");
}
std::string invalidFieldSize(const std::string& table, const std::string& field, int size) {
  return said("表 " + quoted(table) + " 的字段 " + quoted(field) + " 的大小 " + std::to_string(size) +
                  " 无效（文本和二进制字段为 1 到 255）。",
              "The size " + std::to_string(size) + " of the field " + quoted(field) + " of the table " +
                  quoted(table) + " is not valid (text and binary fields take 1 to 255).");
}
std::string emptyIndex(const std::string& table, const std::string& index) {
  return said("表 " + quoted(table) + " 的索引 " + quoted(index) + " 没有字段。",
              "The index " + quoted(index) + " of the table " + quoted(table) + " has no fields.");
}
std::string noSuchIndexColumn(const std::string& table, const std::string& index) {
  return said("表 " + quoted(table) + " 的索引 " + quoted(index) + " 引用了不存在的字段。",
              "The index " + quoted(index) + " of the table " + quoted(table) +
                  " refers to a field that does not exist.");
}
std::string duplicatePrimaryKey(const std::string& table) {
  return said("表 " + quoted(table) + " 只能有一个主键。",
              "The table " + quoted(table) + " can have only one primary key.");
}
std::string autoNumberType(const std::string& table, const std::string& field) {
  return said(
      "表 " + quoted(table) + " 的字段 " + quoted(field) + " 不能自动编号：只有长整型和同步复制 ID 可以。",
      "The field " + quoted(field) + " of the table " + quoted(table) +
          " cannot be an AutoNumber: only Long Integer and Replication ID fields can.");
}
std::string textNotInCodePage(const std::string& where, char32_t c, uint16_t codePage) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  const std::string page = std::to_string(codePage);
  return said(quoted(where) + " 中的字符 " + std::string(code) + " 无法以此数据库的代码页 " + page +
                  " 保存，未写入任何内容。",
              "The character " + std::string(code) + " in " + quoted(where) +
                  " cannot be stored in this database's code page " + page + "; nothing was written.");
}
std::string unsupportedCodePage(uint16_t codePage) {
  const std::string page = std::to_string(codePage);
  return said("不支持代码页 " + page + "：Access 97 数据库只能以代码页 1252 或 936 写入。",
              "The code page " + page +
                  " is not supported: Access 97 databases are written in code page 1252 or 936.");
}
std::string jet3WriteNotSupported(const std::string& path) {
  return said(quoted(path) + " 是 Access 97 (Jet 3) 数据库，暂不支持修改这种格式。",
              quoted(path) + " is an Access 97 (Jet 3) database; changing this format is not supported yet.");
}
std::string fileExists(const std::string& path) {
  return said("文件 " + quoted(path) + " 已存在，不会覆盖它。",
              "The file " + quoted(path) + " already exists; it is not overwritten.");
}
std::string cannotCreateFile(const std::string& path, const std::string& reason) {
  return said("无法创建文件 " + quoted(path) + "：" + reason + "。",
              "Cannot create the file " + quoted(path) + ": " + reason + ".");
}
std::string valueTooLarge(const std::string& table, const std::string& field, size_t bytes) {
  return said("表 " + quoted(table) + " 的字段 " + quoted(field) + " 中的值有 " + std::to_string(bytes) +
                  " 字节，太大，无法保存。",
              "The value of " + std::to_string(bytes) + " bytes in the field " + quoted(field) +
                  " of the table " + quoted(table) + " is too large to store.");
}
std::string noColumns(const std::string& table) {
  return said("表 " + quoted(table) + " 至少要有一个字段。",
              "The table " + quoted(table) + " needs at least one field.");
}
std::string noSuchField(const std::string& table, const std::string& field) {
  return said("表 " + quoted(table) + " 中没有字段 " + quoted(field) + "。",
              "The table " + quoted(table) + " has no field " + quoted(field) + ".");
}
std::string fieldInIndex(const std::string& table, const std::string& field, const std::string& index) {
  return said(
      "不能删除表 " + quoted(table) + " 的字段 " + quoted(field) + "：它属于索引 " + quoted(index) + "。",
      "Cannot delete the field " + quoted(field) + " of the table " + quoted(table) +
          ": it is part of the index " + quoted(index) + ".");
}
std::string requiredFieldOnRows(const std::string& table, const std::string& field) {
  return said("表 " + quoted(table) + " 已有记录，不能添加必填字段 " + quoted(field) + "。",
              "The table " + quoted(table) + " already has records; the required field " + quoted(field) +
                  " cannot be added.");
}
std::string databaseBusy(const std::string& path) {
  return said("数据库 " + quoted(path) + " 正在被其他程序修改，等待超时。请稍后再试。",
              "The database " + quoted(path) +
                  " is being changed by another program and the wait timed out. "
                  "Try again later.");
}
std::string foreignJournal(const std::string& journal, const std::string& database) {
  return said(
      "回滚日志 " + quoted(journal) + " 不是为数据库 " + quoted(database) +
          " 的当前文件写的，没有应用它，数据库未作更改。请确认该日志无用后将其删除。",
      "The rollback journal " + quoted(journal) + " was not written for the current file of the database " +
          quoted(database) +
          "; it was not applied and the database is unchanged. Delete the journal once you are sure it is "
          "not needed.");
}
std::string diskFull(const std::string& path, const std::string& reason) {
  return said("磁盘已满，无法写入文件 " + quoted(path) + "：" + reason + "。",
              "The disk is full; cannot write the file " + quoted(path) + ": " + reason + ".");
}

std::string queryNotTable(const std::string& name) {
  return said(quoted(name) + " 是查询而不是表。", quoted(name) + " is a query, not a table.");
}
std::string emptyFieldName(const std::string& list) {
  return said("字段名列表 " + quoted(list) + " 中有空的名称。",
              "The field list " + quoted(list) + " holds an empty name.");
}
std::string unquotableName(const std::string& name) {
  return said("名称 " + quoted(name) + " 含有 ']'，无法在 SQL 语句中用方括号引用。",
              "The name " + quoted(name) + " contains ']', which cannot be put in square brackets in SQL.");
}

}  // namespace jet::msg
