#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace modshelf::test {

// Writes a SQLite module with one Details row (description, tab name, comments).
void writeDetailsModule(const std::filesystem::path& path, const std::string& description,
                        const std::string& tabName, const std::string& comments);

// Sets a file's last-write time to the given local time.
void setLocalWriteTime(const std::filesystem::path& path, std::tm local);

}  // namespace modshelf::test
