// Reading the database file after the program is done with it, through the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

std::vector<std::string> TableNames(const std::wstring& path);
// The display texts of one column of a statement's rows.
std::vector<std::string> ColumnTexts(const std::wstring& path, const std::string& sql, size_t column);
size_t RowCount(const std::wstring& path, const std::string& table);
// Runs a statement on the file as another program would, while the window may have it open.
int64_t Execute(const std::wstring& path, const std::string& sql);

}  // namespace e2e
