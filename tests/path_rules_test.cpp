#include "files/path_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {
struct ExtensionCase {
    std::string Path;
    std::optional<std::string> Extension;
};

TEST(PathRules, ExtensionTable) {
    const ExtensionCase cases[] = {
        {"/data/game.sna", "sna"},
        {"/data/game.SNA", "SNA"},  // case is kept; only the snapshot rule lowers it
        {"/data/archive.tar.gz", "gz"},
        {"/data/name.", ""},  // a trailing dot: an empty extension, not none
        {"/data/dump", std::nullopt},
        {"/my.dir/dump", std::nullopt},
        {"/data/.hidden", std::nullopt},
        {"/data/pic.old copy", std::nullopt},  // a space after the last dot
        {"C:\\data\\game.sna", "sna"},
        {"C:\\my.dir\\dump", std::nullopt},
        {"C:\\data\\.hidden", std::nullopt},
        {"/mixed\\.hidden", std::nullopt},
        {"game.sna", "sna"},
        {"game", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},    // the first character is never looked at
        {".sna", std::nullopt},
        {"a.", ""},
        {"/data/my file.sna", "sna"},  // a space before the dot does not matter
    };
    for (const ExtensionCase& c : cases) {
        EXPECT_EQ(PathExtension(c.Path), c.Extension) << "path: \"" << c.Path << '"';
    }
}

struct SplitCase {
    std::string Path;
    std::string Directory;
    std::string FileName;
};

TEST(PathRules, DirectoryAndFileName) {
    const SplitCase cases[] = {
        {"/data/game.sna", "/data/", "game.sna"},
        {"C:\\data\\game.sna", "C:\\data\\", "game.sna"},
        {"/a\\b/c", "/a\\b/", "c"},
        {"game.sna", "", "game.sna"},
        {"/data/", "/data/", ""},
        {"/", "/", ""},
        {"", "", ""},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(PathDirectory(c.Path), c.Directory) << c.Path;
        EXPECT_EQ(PathFileName(c.Path), c.FileName) << c.Path;
    }
}
}  // namespace
