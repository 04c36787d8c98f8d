#include "db/Texts.h"

namespace qm::db::text {

std::string databaseMissing() {
  return "数据库文件不存在.";
}
std::string loadDatabaseFirst() {
  return "请载入数据库文件.";
}
std::string optionsEmpty() {
  return "相关选项不能为空.";
}
std::string dedupeInputsEmpty() {
  return "请载入数据库文件或相关选项不可为空.";
}
std::string confirmDedupe() {
  return "真的要删除重复记录吗？(删除重复记录过程请耐心等待程序处理完.)";
}
std::string dedupeDone() {
  return "重复记录删除完毕.";
}
std::string keylessDone() {
  return "新数据库表去重完毕.";
}
std::string chooseTableToDrop() {
  return "请选择要删除的数据库表.";
}
std::string confirmDrop(const std::string& table) {
  return "真的要删除[" + table + "]表吗?";
}
std::string dropDone(const std::string& table) {
  return "数据库[" + table + "]表删除完成.";
}
std::string backupDone(const std::string& table) {
  return table + "表备份成功.";
}
std::string nothingToRun() {
  return "没有语言可以执行.";
}
std::string recordCount(int64_t count) {
  return "共" + std::to_string(count) + "条信息";
}
std::string duplicateSummary(const std::string& fields, int64_t groups) {
  return fields + "字段" + std::to_string(groups) + "条重复信息";
}

std::string backupCopyFailed(const std::string& copyPath, const std::string& reason) {
  return "数据库已打开，但备份副本没有建成：" + copyPath + "\n原因：" + reason +
         "\n去重前请先自行备份数据库文件，否则删除的记录无法恢复.";
}
std::string idNotUnique(const std::string& id) {
  return "编号字段 " + id + " 有重复的值，不能用来区分重复记录，没有删除任何记录.";
}
std::string idHasNull(const std::string& id) {
  return "编号字段 " + id + " 有空值(Null)，不能用来区分重复记录，没有删除任何记录.";
}
std::string statementDone(int64_t affected) {
  return "语句执行完毕，影响了" + std::to_string(affected) + "条记录.";
}

}  // namespace qm::db::text
