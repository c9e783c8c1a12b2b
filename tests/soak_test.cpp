// Opening and saving thousands of times over through the real window: files of
// several sizes, saves with and without a picture in each format at both
// zooms, the saved screens opened again. Resident memory must stay flat once
// the first rounds are done, and the sanitizer build's leak check must find
// nothing at the end. QUILLON_SOAK_ROUNDS sets the number of rounds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "files/picture_export.h"
#include "files/screen_file.h"
#include "files/source_loading.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/source.h"
#include "support/app_session.h"
#include "support/saved_files.h"
#include "support/window_probe.h"

#if defined(__SANITIZE_ADDRESS__)
// Freed blocks wait in a quarantine before they are used again; a small one
// fills within the first rounds, after which resident memory can settle.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=8"; }
// The bytes the program holds allocated now, as the sanitizer's allocator counts them.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace fs = std::filesystem;

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr long DefaultRounds = 600;
// The sanitizer's own shadow memory and allocator regions drift by some
// megabytes over a run while the program's heap stays put; the heap it counts
// exactly is held to a small slack instead.
constexpr long ResidentSlack = 8 << 20;
constexpr long HeapSlack = 1 << 20;
long HeapBytes() { return static_cast<long>(__sanitizer_get_current_allocated_bytes()); }
#else
constexpr long DefaultRounds = 1500;
// Allowed growth: the allocator's own bookkeeping moves a little.
constexpr long ResidentSlack = 2 << 20;
constexpr long HeapSlack = 0;
long HeapBytes() { return 0; }
#endif
// Memory is compared after this round with after the last one.
constexpr long SettledRound = 100;

long Rounds() {
    const char* text = std::getenv("QUILLON_SOAK_ROUNDS");
    const long rounds = text != nullptr ? std::strtol(text, nullptr, 10) : DefaultRounds;
    return std::max(rounds, SettledRound + 1);
}

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

using Soak = AppSession;

struct Source {
    std::string path;
    std::string bytes;
};

TEST_F(Soak, OpeningAndSavingOverAndOverKeepsMemoryFlat) {
    Start();
    std::vector<Source> sources;
    for (auto [name, size] : {std::pair{"one.bin", 1}, std::pair{"short.bin", 6143}, std::pair{"screen.scr", 6912},
                              std::pair{"four.bin", 4 * 6912 + 5}, std::pair{"game.sna", 131103},
                              std::pair{"empty.bin", 0}}) {
        // Screens with some order in them: the PNG writer's level 9 is slow on noise, and this is about memory.
        std::string bytes(static_cast<std::size_t>(size), '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i / 7) ^ (i >> 9));
        sources.push_back({dir.Write(name, bytes), bytes});
    }
    const std::string missing = dir / "missing.bin";
    const long rounds = Rounds();
    long settled = 0;
    long settledHeap = 0;
    long opens = 0;
    long saves = 0;
    long pictures = 0;
    std::mt19937 random(7);
    for (long round = 1; round <= rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Source& source = sources[static_cast<std::size_t>(round) % sources.size()];
        // Open by the menu and by a drop in turn, now and then a file that is not there.
        const std::string path = round % 17 == 0 ? missing : source.path;
        if (round % 2 == 0) {
            dialogAnswer = path;
            ASSERT_TRUE(TriggerMenuItem("Open..."));
        } else {
            ASSERT_TRUE(DropFiles(CanvasWidget(), {QString::fromStdString(path)}));
        }
        Drain();
        ++opens;
        messages.clear();
        if (path == missing) continue;

        SetControlState(LineScrollBar, static_cast<int32_t>(random() % 300));
        SetControlState(ByteScrollBar, static_cast<int32_t>(random() % 32));
        SetControlState(round % 3 == 0 ? ZoomX2Option : ZoomX1Option, 1);
        SetControlState(MonoCheckBox, static_cast<int32_t>(round % 5 == 0));
        // A save without a picture, then one in each format.
        for (int format = -1; format < 3; ++format) {
            SetControlState(ImageTooCheckBox, format >= 0);
            if (format >= 0) SetControlState(FormatComboBox, format);
            ASSERT_TRUE(TriggerMenuItem("Save"));
            Drain();
            ++saves;
            const std::string screen = SaveBaseName + ".scr";
            ASSERT_EQ(fs::file_size(screen), 6912u) << screen;
            if (format >= 0) {
                const std::string picture = SaveBaseName + PictureExtension(static_cast<PictureFormat>(format));
                ASSERT_GT(fs::file_size(picture), 0u) << picture;
                fs::remove(picture);
                ++pictures;
            }
            // The last one stays, to be opened again below.
            if (format < 2) fs::remove(screen);
        }
        const std::string saved = SaveBaseName + ".scr";
        dialogAnswer = saved;
        ASSERT_TRUE(TriggerMenuItem("Open..."));
        Drain();
        ++opens;
        ASSERT_EQ(SourceSize, 6912);
        fs::remove(saved);
        EXPECT_TRUE(messages.empty()) << messages.front().second;
        messages.clear();
        if (round == SettledRound) {
            settled = ResidentBytes();
            settledHeap = HeapBytes();
        }
    }
    const long last = ResidentBytes();
    const long lastHeap = HeapBytes();
    std::printf("soak: %ld rounds, %ld opens, %ld saves, %ld pictures; resident %ld KiB after round %ld, %ld KiB after "
                "the last; heap %ld KiB, %ld KiB (counted in the sanitizer build only)\n",
                rounds, opens, saves, pictures, settled >> 10, SettledRound, last >> 10, settledHeap >> 10, lastHeap >> 10);
    EXPECT_LE(last, settled + ResidentSlack) << "resident memory grew from " << settled << " to " << last << " bytes";
    EXPECT_LE(lastHeap, settledHeap + HeapSlack) << "the heap grew from " << settledHeap << " to " << lastHeap << " bytes";
    // Nothing but the sources is left in the folder.
    long entries = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path())) entries += entry.path().filename() != "quillon.ini";
    EXPECT_EQ(entries, static_cast<long>(sources.size()));
}
}  // namespace
