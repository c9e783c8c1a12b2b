#pragma once
// Path rules for the snapshot test and the names of saved files.
// Both '/' and '\' separate folders.
#include <optional>
#include <string>

// The extension without its dot; nullopt when the path has none, "" when the
// name ends in a dot.
std::optional<std::string> PathExtension(const std::string& path);
// Up to and including the last separator; "" when there is none.
std::string PathDirectory(const std::string& path);
// After the last separator; the whole path when there is none.
std::string PathFileName(const std::string& path);
