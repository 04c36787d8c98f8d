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

}  // namespace jet::msg
