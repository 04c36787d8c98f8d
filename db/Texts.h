// Every text the database workspace and the duplicate tools show a person.
#pragma once

#include <cstdint>
#include <string>

namespace qm::db::text {

inline constexpr const char* kConfirmTitle = "提示";

std::string databaseMissing();    // "数据库文件不存在."
std::string loadDatabaseFirst();  // "请载入数据库文件."
std::string optionsEmpty();       // "相关选项不能为空."
std::string dedupeInputsEmpty();  // "请载入数据库文件或相关选项不可为空."
std::string confirmDedupe();      // "真的要删除重复记录吗？..."
std::string dedupeDone();         // "重复记录删除完毕."
std::string keylessDone();        // "新数据库表去重完毕."
std::string chooseTableToDrop();  // "请选择要删除的数据库表."
std::string confirmDrop(const std::string& table);
std::string dropDone(const std::string& table);
std::string backupDone(const std::string& table);
std::string nothingToRun();  // "没有语言可以执行."
std::string recordCount(int64_t count);
std::string duplicateSummary(const std::string& fields, int64_t groups);

// Texts of the faults the window mends.
std::string backupCopyFailed(const std::string& copyPath, const std::string& reason);
std::string idNotUnique(const std::string& id);
std::string idHasNull(const std::string& id);
std::string statementDone(int64_t affected);

}  // namespace qm::db::text
