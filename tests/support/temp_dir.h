#pragma once
// A fresh temporary folder per test, removed with everything in it afterwards.
#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // Full path of name inside the folder.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // Writes bytes to name inside the folder; returns the full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};
