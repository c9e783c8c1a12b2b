// The path rules and the save names over any string of bytes: the split into
// folder and file name loses nothing, the extension is what follows the last
// dot of the file name, and a save lands beside its source under the name that
// the source's stem and the counter make.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>

#include "files/path_rules.h"
#include "files/screen_file.h"
#include "fuzz_session.h"

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The extension rule written another way: the last dot, separator or space
// after the first character decides.
std::optional<std::string> ReferenceExtension(const std::string& path) {
    const std::size_t stop = path.find_last_of("./\\ ");
    if (stop == std::string::npos || stop == 0) return std::nullopt;
    if (path[stop] != '.' || IsSeparator(path[stop - 1])) return std::nullopt;
    return path.substr(stop + 1);
}

void CheckSplit(const std::string& path) {
    const std::string directory = PathDirectory(path);
    const std::string fileName = PathFileName(path);
    FUZZ_CHECK_EQ(directory + fileName, path);
    FUZZ_CHECK(fileName.find_first_of("/\\") == std::string::npos);
    FUZZ_CHECK(directory.empty() || IsSeparator(directory.back()));
}

void CheckExtension(const std::string& path) {
    const std::optional<std::string> extension = PathExtension(path);
    FUZZ_CHECK(extension == ReferenceExtension(path));
    if (!extension.has_value()) return;
    const std::string fileName = PathFileName(path);
    FUZZ_CHECK(extension->find_first_of("./\\ ") == std::string::npos);
    FUZZ_CHECK(EndsWith(fileName, "." + *extension));
    // The dot never opens the file name: ".hidden" has no extension.
    FUZZ_CHECK(fileName.size() >= extension->size() + 2);
}

void CheckSaveNames(const std::string& path, int32_t first, int32_t second) {
    const std::string fileName = PathFileName(path);
    const std::optional<std::string> extension = PathExtension(path);
    const std::string base = SaveNameFor(path, 0);
    // The stem and the extension give back the file name, in the source's folder.
    const std::string stem = base.substr(std::min(base.size(), PathDirectory(path).size()));
    FUZZ_CHECK_EQ(PathDirectory(path) + stem, base);
    FUZZ_CHECK_EQ(extension.has_value() ? stem + "." + *extension : stem, fileName);
    // The saved file lies in the source's folder and is a .scr file whenever the
    // source has a file name at all.
    const std::string saved = base + ".scr";
    FUZZ_CHECK_EQ(PathDirectory(saved), PathDirectory(path));
    if (!fileName.empty()) FUZZ_CHECK(PathExtension(saved) == std::optional<std::string>("scr"));
    // Numbered saves follow the stem directly; two numbers never give one name.
    for (const int32_t counter : {first, second}) {
        if (counter > 0) FUZZ_CHECK_EQ(SaveNameFor(path, counter), base + std::to_string(counter));
    }
    if (first >= 0 && second >= 0 && first != second) FUZZ_CHECK(SaveNameFor(path, first) != SaveNameFor(path, second));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto first = input.ConsumeIntegral<int32_t>();
    const auto second = input.ConsumeIntegral<int32_t>();
    const std::string path = input.ConsumeRemainingBytesAsString();
    CheckSplit(path);
    CheckExtension(path);
    CheckSaveNames(path, first, second);
    return 0;
}
