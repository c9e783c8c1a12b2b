#include "files/path_rules.h"

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
}  // namespace

std::optional<std::string> PathExtension(const std::string& path) {
    // Walk back from the last character, never looking at the first one.
    for (std::size_t i = path.size(); i-- > 1;) {
        const char c = path[i];
        if (c == '.') {
            if (IsSeparator(path[i - 1])) return std::nullopt;  // a name that begins with a dot
            return path.substr(i + 1);
        }
        if (IsSeparator(c) || c == ' ') return std::nullopt;
    }
    return std::nullopt;
}

std::string PathDirectory(const std::string& path) {
    const std::size_t last = path.find_last_of("/\\");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string PathFileName(const std::string& path) {
    const std::size_t last = path.find_last_of("/\\");
    return last == std::string::npos ? path : path.substr(last + 1);
}
