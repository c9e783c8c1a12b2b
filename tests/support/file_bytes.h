#pragma once
// The whole content of a file as a string of bytes ("" when it cannot be read).
#include <fstream>
#include <iterator>
#include <string>

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
