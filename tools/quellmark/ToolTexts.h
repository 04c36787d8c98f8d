// What the tool itself says, in Chinese and English, through the engine's one
// language switch (jet::msg::said): the locale picks the language at start.
#pragma once

#include <cstdint>
#include <string>

namespace quellmark::text {

std::string optionRequired(const std::string& option);
std::string keepLowestOrHighest();
std::string notAskingWithoutTerminal();
std::string unknownFormat(const std::string& format);
std::string unknownOption(const std::string& option);
std::string optionNeedsValue(const std::string& option);
std::string wrongArgumentCount();
std::string unknownCommand(const std::string& command);
// The tool's usage line and the heading of its command list.
std::string toolUsage();
std::string commandHelpHint();

std::string backupCopyMade(const std::string& path);
std::string backupCopyFailed(const std::string& path, const std::string& reason);
std::string idNotDistinct(const std::string& table, const std::string& id);
std::string idHasNull(const std::string& table, const std::string& id);

std::string duplicateSummary(int64_t groups, int64_t doomed, bool keepLowest, const std::string& id);
std::string confirmDelete(int64_t doomed, const std::string& table);
std::string recordsDeleted(int64_t count);
std::string nothingChanged();
std::string identicalSummary(uint64_t rows, uint64_t repeats);
std::string noIdenticalRows();
std::string confirmRemoveIdentical(uint64_t repeats, const std::string& table);
std::string identicalRemoved(uint64_t count);
// The answers a confirmation takes as yes.
bool isYes(const std::string& answer);
std::string yesNoHint();

std::string progressDeleting();
std::string progressRemovingIdentical();

}  // namespace quellmark::text
