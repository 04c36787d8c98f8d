// Reading the database file after the program is done with it, through the engine.
#pragma once

#include <string>
#include <vector>

namespace e2e {

std::vector<std::string> TableNames(const std::wstring& path);
// The display texts of one column of a statement's rows.
std::vector<std::string> ColumnTexts(const std::wstring& path, const std::string& sql, size_t column);
size_t RowCount(const std::wstring& path, const std::string& table);

}  // namespace e2e
