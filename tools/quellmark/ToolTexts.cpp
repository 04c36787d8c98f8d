#include "ToolTexts.h"

#include "jet/core/Messages.h"

namespace quellmark::text {

using jet::msg::said;

namespace {
std::string quoted(const std::string& s) {
  return "'" + s + "'";
}
std::string n(int64_t v) {
  return std::to_string(v);
}
std::string n(uint64_t v) {
  return std::to_string(v);
}
}  // namespace

std::string optionRequired(const std::string& option) {
  return said("必须给出 --" + option, "--" + option + " is required");
}
std::string keepLowestOrHighest() {
  return said("--keep 只能是 lowest 或 highest", "--keep must be lowest or highest");
}
std::string notAskingWithoutTerminal() {
  return said("没有终端，无法询问：要继续请加上 --yes",
              "not asking without a terminal: pass --yes to go ahead");
}
std::string unknownFormat(const std::string& format) {
  return said("未知的输出格式 " + quoted(format), "unknown format " + quoted(format));
}
std::string unknownOption(const std::string& option) {
  return said("未知的选项 --" + option, "unknown option --" + option);
}
std::string optionNeedsValue(const std::string& option) {
  return said("选项 --" + option + " 需要一个值", "option --" + option + " needs a value");
}
std::string wrongArgumentCount() {
  return said("参数个数不对", "wrong number of arguments");
}
std::string unknownCommand(const std::string& command) {
  return said("未知的命令 " + quoted(command), "unknown command " + quoted(command));
}

std::string toolUsage() {
  return said("用法：quellmark 命令 [参数] [--password 密码]\n\n命令：",
              "usage: quellmark COMMAND [ARGS] [--password PW]\n\ncommands:");
}
std::string commandHelpHint() {
  return said("运行 'quellmark 命令 --help' 查看命令的参数。",
              "Run 'quellmark COMMAND --help' for a command's arguments.");
}

std::string backupCopyMade(const std::string& path) {
  return said("备份副本：", "backup copy: ") + path;
}
std::string backupCopyFailed(const std::string& path, const std::string& reason) {
  return said("备份副本 " + quoted(path) + " 创建失败：" + reason + "。没有作任何更改。",
              "The backup copy " + quoted(path) + " could not be made: " + reason + ". Nothing was changed.");
}
std::string idNotDistinct(const std::string& table, const std::string& id) {
  return said("字段 " + quoted(id) + " 在表 " + quoted(table) + " 中有重复的值，不能用作区分记录的 ID 字段。",
              "The field " + quoted(id) + " has repeated values in the table " + quoted(table) +
                  "; it cannot serve as the ID field that tells records apart.");
}
std::string idHasNull(const std::string& table, const std::string& id) {
  return said("字段 " + quoted(id) + " 在表 " + quoted(table) + " 中有 Null 值，不能用作区分记录的 ID 字段。",
              "The field " + quoted(id) + " holds Null values in the table " + quoted(table) +
                  "; it cannot serve as the ID field that tells records apart.");
}

std::string duplicateSummary(int64_t groups, int64_t doomed, bool keepLowest, const std::string& id) {
  return said(n(groups) + " 组重复记录，要删除 " + n(doomed) + " 条记录（每组保留 " + id +
                  (keepLowest ? " 最小" : " 最大") + "的一条）",
              n(groups) + " duplicate groups, " + n(doomed) + " records to delete (keeping the " +
                  (keepLowest ? "lowest " : "highest ") + id + " of each group)");
}
std::string confirmDelete(int64_t doomed, const std::string& table) {
  return said("从表 [" + table + "] 中删除 " + n(doomed) + " 条记录吗？",
              "Delete " + n(doomed) + " records from [" + table + "]?");
}
std::string recordsDeleted(int64_t count) {
  return said("已删除 " + n(count) + " 条记录", n(count) + " records deleted");
}
std::string nothingChanged() {
  return said("没有作任何更改", "nothing changed");
}
std::string identicalSummary(uint64_t rows, uint64_t repeats) {
  return said(n(rows) + " 条记录，其中 " + n(repeats) + " 条与前面的记录完全相同",
              n(rows) + " records, " + n(repeats) + " identical to an earlier one");
}
std::string noIdenticalRows() {
  return said("没有完全相同的记录，没有作任何更改", "no identical records; nothing changed");
}
std::string confirmRemoveIdentical(uint64_t repeats, const std::string& table) {
  return said("从表 [" + table + "] 中删除 " + n(repeats) + " 条重复的相同记录吗？",
              "Remove " + n(repeats) + " identical records from [" + table + "]?");
}
std::string identicalRemoved(uint64_t count) {
  return said("已删除 " + n(count) + " 条重复的相同记录", n(count) + " duplicate records removed");
}
bool isYes(const std::string& answer) {
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "是";
}
std::string yesNoHint() {
  return said("[y/N（是/否）]", "[y/N]");
}

std::string progressDeleting() {
  return said("正在删除重复记录", "deleting duplicates");
}
std::string progressRemovingIdentical() {
  return said("正在删除相同记录", "removing identical records");
}

}  // namespace quellmark::text
