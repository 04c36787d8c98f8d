#include "jet/core/Messages.h"

#include <cstdio>

namespace jet::msg {

namespace {
std::string quoted(const std::string& s) { return "'" + s + "'"; }
}  // namespace

std::string fileNotFound(const std::string& path) { return "找不到文件 " + quoted(path) + "。"; }
std::string notADatabase(const std::string& path) { return "无法识别的数据库格式 " + quoted(path) + "。"; }
std::string truncatedFile(const std::string& path) {
  return "数据库 " + quoted(path) + " 已截断或损坏，无法识别其格式。";
}
std::string encodedDatabase(const std::string& path) {
  return "数据库 " + quoted(path) + " 已编码（加密），不支持打开编码的数据库。";
}
std::string unsupportedFormat(const std::string& what) { return "不支持的数据库功能：" + what + "。"; }
std::string badPassword() { return "不是有效的密码。"; }
std::string corrupt(const std::string& what) { return "数据库已损坏：" + what + "。"; }
std::string ioError(const std::string& path, const std::string& reason) {
  return "读写文件 " + quoted(path) + " 时出错：" + reason + "。";
}
std::string readOnlyFile(const std::string& path) {
  return "无法更新。数据库 " + quoted(path) + " 是只读的。";
}
std::string lockedFile(const std::string& path) {
  return "文件 " + quoted(path) + " 已被其他用户以独占方式打开，或正在被其他程序使用。";
}
std::string noSuchTable(const std::string& name) {
  return "Microsoft Jet 数据库引擎找不到输入表或查询 " + quoted(name) + "。请确定它是否存在，以及它的名称的拼写是否正确。";
}
std::string tooFewParameters(int expected, const std::string& name) {
  return "参数不足，期待是 " + std::to_string(expected) + "。（无法识别的字段名 " + quoted(name) + "）";
}
std::string noSuchIndex(const std::string& table, const std::string& index) {
  return "表 " + quoted(table) + " 中没有索引 " + quoted(index) + "。";
}
std::string syntaxErrorIn(const std::string& clause, const std::string& near) {
  std::string m = clause + " 子句语法错误。";
  if (!near.empty()) m += "（在 " + quoted(near) + " 附近）";
  return m;
}
std::string syntaxError(const std::string& near) {
  std::string m = "语法错误。";
  if (!near.empty()) m += "（在 " + quoted(near) + " 附近）";
  return m;
}
std::string tableExists(const std::string& name) { return "表 " + quoted(name) + " 已存在。"; }
std::string fieldExists(const std::string& table, const std::string& field) {
  return "表 " + quoted(table) + " 中已有字段 " + quoted(field) + "。";
}
std::string indexExists(const std::string& table, const std::string& index) {
  return "表 " + quoted(table) + " 中已有索引 " + quoted(index) + "。";
}
std::string typeMismatch(const std::string& where) { return "标准表达式中数据类型不匹配：" + where + "。"; }
std::string duplicateKey(const std::string& table, const std::string& index) {
  return "由于将在索引、主关键字或关系中创建重复的值，请求对表 " + quoted(table) + " 的改变没有成功（索引 " +
         quoted(index) + "）。";
}
std::string nullInRequired(const std::string& table, const std::string& field) {
  return "字段 " + quoted(table + "." + field) + " 不能包含 Null 值，因为该字段的 Required 属性被设置为 True。";
}
std::string overflow(const std::string& what) { return "溢出：" + what + "。"; }
std::string divisionByZero() { return "被零除。"; }
std::string unknownFunction(const std::string& name) { return "表达式中含有未定义函数 " + quoted(name) + "。"; }
std::string wrongArgumentCount(const std::string& function) {
  return "表达式中函数 " + quoted(function) + " 的参数个数错误。";
}
std::string cannotModifySystemTable(const std::string& name) {
  return "不能修改系统表 " + quoted(name) + "。";
}
std::string cannotDropQuery(const std::string& name) {
  return quoted(name) + " 是查询而不是表，不能用 DROP TABLE 删除。";
}
std::string noTransaction() { return "没有活动的事务。"; }
std::string interrupted() { return "操作已被用户中断，所做的更改已撤销。"; }
std::string writeNotSupported(const std::string& what) { return "不支持写入：" + what + "。"; }
std::string unknownSortCharacter(const std::string& table, const std::string& index, char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  return "字符 " + std::string(code) + " 没有已知的排序码，无法写入表 " + quoted(table) + " 的索引 " + quoted(index) +
         "。";
}
std::string invalidConnectionString(const std::string& detail) { return "连接字符串无效：" + detail + "。"; }
std::string notRowReturning() { return "该语句不返回记录。"; }
std::string closedDataSet() { return "数据集未打开，无法执行此操作。"; }
std::string rowChanged(const std::string& table) {
  return "表 " + quoted(table) + " 中的这条记录已被其他操作更改或删除，无法保存修改。";
}

std::string unsupportedVersion(const std::string& path) {
  return "数据库 " + quoted(path) + " 是 Access 2007 或更高版本（ACCDB）的格式，不支持打开。";
}
std::string corruptPage(uint32_t page) { return "数据库已损坏：第 " + std::to_string(page) + " 页的内容无效。"; }
std::string pageOutOfRange(uint32_t page) {
  return "数据库已损坏：引用的第 " + std::to_string(page) + " 页超出文件末尾。";
}
std::string pageChainLoop(uint32_t page) {
  return "数据库已损坏：从第 " + std::to_string(page) + " 页开始的页链形成循环。";
}
std::string corruptTableDefinition(const std::string& table) {
  return "数据库已损坏：表 " + quoted(table) + " 的定义无效。";
}
std::string corruptRow(const std::string& table, uint32_t page, unsigned row) {
  return "数据库已损坏：表 " + quoted(table) + " 第 " + std::to_string(page) + " 页的第 " + std::to_string(row) +
         " 条记录无效。";
}
std::string corruptLongValue(const std::string& table, const std::string& column) {
  return "数据库已损坏：表 " + quoted(table) + " 字段 " + quoted(column) + " 的长值（备注/OLE）数据无效。";
}
std::string corruptUsageMap(const std::string& table) {
  return "数据库已损坏：表 " + quoted(table) + " 的页使用映射无效。";
}
std::string unsupportedColumnType(const std::string& table, const std::string& column, int type) {
  return "表 " + quoted(table) + " 的字段 " + quoted(column) + " 使用了不支持的数据类型（" + std::to_string(type) +
         "）。";
}
std::string corruptCatalog(const std::string& detail) { return "数据库已损坏：系统目录无效（" + detail + "）。"; }
std::string rowTooLarge(size_t bytes) {
  return "记录太大（" + std::to_string(bytes) + " 字节），一页放不下。";
}
std::string linkedTableNotSupported(const std::string& name) {
  return quoted(name) + " 是链接表，不支持打开链接表。";
}

std::string columnNotIndexable(const std::string& table, const std::string& index, const std::string& type) {
  return "表 " + quoted(table) + " 的索引 " + quoted(index) + " 含有类型为 " + type + " 的字段，该类型不能编入索引。";
}
std::string corruptIndexPage(uint32_t page, const std::string& detail) {
  return "数据库已损坏：第 " + std::to_string(page) + " 页的索引无效（" + detail + "）。";
}
std::string indexEntryTooLarge(size_t bytes) {
  return "索引项过大（" + std::to_string(bytes) + " 字节），无法放入索引页。";
}
std::string corruptJournal(const std::string& path) {
  return "回滚日志 " + quoted(path) + " 已损坏，无法恢复数据库。";
}
std::string queryTooComplex() { return "查询过于复杂（嵌套层数太多）。"; }
std::string invalidStatement(const std::string& near) {
  std::string m = "无效的 SQL 语句；期待 'DELETE'、'INSERT'、'PROCEDURE'、'SELECT' 或 'UPDATE'。";
  if (!near.empty()) m += "（在 " + quoted(near) + " 附近）";
  return m;
}
std::string invalidArgument(const std::string& function) { return "无效的过程调用或参数：" + quoted(function) + "。"; }
std::string notInAggregate(const std::string& expression) {
  return "试图执行的查询中不包含作为合计函数一部分的特定表达式 " + quoted(expression) + "。";
}
std::string aggregateNotAllowed(const std::string& clause, const std::string& expression) {
  return clause + " 子句中不能有合计函数 " + quoted(expression) + "。";
}
std::string ambiguousField(const std::string& name) {
  return "在 SQL 语句的 FROM 子句中列出的多个表都包含特定字段 " + quoted(name) + "。";
}
std::string unionColumnMismatch() { return "在联合查询中所选定的两个数据表或查询中的列数不匹配。"; }
std::string subqueryTooManyRows() { return "子查询最多只能返回一条记录。"; }
std::string subqueryOneColumn(const std::string& subquery) {
  return "子查询 " + quoted(subquery) + " 只能返回一个字段。";
}
std::string unknownInsertField(const std::string& name) {
  return "INSERT INTO 语句包含以下未知字段名：" + quoted(name) + "。请确定正确地键入了该名称，然后重新运行该操作。";
}
std::string valueCountMismatch() { return "查询值的数目与目标字段中的数目不同。"; }
std::string valueTooLong(const std::string& table, const std::string& field) {
  return "字段 " + quoted(table + "." + field) + " 太小而不能接受所要添加的数据的数量。";
}
std::string circularQuery(const std::string& name) { return "查询 " + quoted(name) + " 中有循环引用。"; }
std::string orderByConflictsDistinct(const std::string& expression) {
  return "ORDER BY 子句 " + quoted(expression) + " 与 DISTINCT 冲突。";
}
std::string notUpdatable(const std::string& name) { return "操作必须使用一个可更新的查询：" + quoted(name) + "。"; }

std::string invalidObjectName(const std::string& name) {
  return "名称 " + quoted(name) + " 无效：不能为空、不能超过 64 个字符，也不能含有 . ! ` [ ] 或控制字符。";
}
std::string tooManyColumns(const std::string& table, size_t count) {
  return "表 " + quoted(table) + " 有 " + std::to_string(count) + " 个字段，超过了 255 个的上限。";
}
std::string tooManyIndexes(const std::string& table, size_t count) {
  return "表 " + quoted(table) + " 有 " + std::to_string(count) + " 个索引，超过了 32 个的上限。";
}
std::string tooManyIndexColumns(const std::string& table, const std::string& index) {
  return "表 " + quoted(table) + " 的索引 " + quoted(index) + " 超过了 10 个字段的上限。";
}
std::string invalidFieldSize(const std::string& table, const std::string& field, int size) {
  return "表 " + quoted(table) + " 的字段 " + quoted(field) + " 的大小 " + std::to_string(size) +
         " 无效（文本和二进制字段为 1 到 255）。";
}
std::string emptyIndex(const std::string& table, const std::string& index) {
  return "表 " + quoted(table) + " 的索引 " + quoted(index) + " 没有字段。";
}
std::string noSuchIndexColumn(const std::string& table, const std::string& index) {
  return "表 " + quoted(table) + " 的索引 " + quoted(index) + " 引用了不存在的字段。";
}
std::string duplicatePrimaryKey(const std::string& table) {
  return "表 " + quoted(table) + " 只能有一个主键。";
}
std::string autoNumberType(const std::string& table, const std::string& field) {
  return "表 " + quoted(table) + " 的字段 " + quoted(field) + " 不能自动编号：只有长整型和同步复制 ID 可以。";
}
std::string jet3WriteNotSupported(const std::string& path) {
  return quoted(path) + " 是 Access 97 (Jet 3) 数据库，暂不支持修改这种格式。";
}
std::string fileExists(const std::string& path) { return "文件 " + quoted(path) + " 已存在，不会覆盖它。"; }
std::string cannotCreateFile(const std::string& path, const std::string& reason) {
  return "无法创建文件 " + quoted(path) + "：" + reason + "。";
}
std::string valueTooLarge(const std::string& table, const std::string& field, size_t bytes) {
  return "表 " + quoted(table) + " 的字段 " + quoted(field) + " 中的值有 " + std::to_string(bytes) +
         " 字节，太大，无法保存。";
}
std::string noColumns(const std::string& table) { return "表 " + quoted(table) + " 至少要有一个字段。"; }
std::string noSuchField(const std::string& table, const std::string& field) {
  return "表 " + quoted(table) + " 中没有字段 " + quoted(field) + "。";
}
std::string fieldInIndex(const std::string& table, const std::string& field, const std::string& index) {
  return "不能删除表 " + quoted(table) + " 的字段 " + quoted(field) + "：它属于索引 " + quoted(index) + "。";
}
std::string requiredFieldOnRows(const std::string& table, const std::string& field) {
  return "表 " + quoted(table) + " 已有记录，不能添加必填字段 " + quoted(field) + "。";
}
std::string databaseBusy(const std::string& path) {
  return "数据库 " + quoted(path) + " 正在被其他程序修改，等待超时。请稍后再试。";
}
std::string foreignJournal(const std::string& journal, const std::string& database) {
  return "回滚日志 " + quoted(journal) + " 不是为数据库 " + quoted(database) +
         " 的当前文件写的，没有应用它，数据库未作更改。请确认该日志无用后将其删除。";
}
std::string diskFull(const std::string& path, const std::string& reason) {
  return "磁盘已满，无法写入文件 " + quoted(path) + "：" + reason + "。";
}

}  // namespace jet::msg
