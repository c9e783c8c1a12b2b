// Loading and drawing over any file: the input's bytes become a file under one
// of a few names (or a missing file, a folder, a FIFO), opened through the real
// window; then the scroll bars take any positions, zoom and monochrome change,
// and the view is drawn on the canvas, into off-screen pictures of both sizes
// and into a picture of any size and row order at any offset; a Save may follow.
// Every picture is compared pixel by pixel with the bytes it shows.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/screen_file.h"
#include "files/source_loading.h"
#include "fuzz_session.h"
#include "platform/drawing.h"
#include "platform/files.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/palette.h"
#include "screen/renderer.h"
#include "screen/screen_layout.h"
#include "screen/source.h"

namespace {
// "pic.scr" is its own first save and "shot.bmp" its own first picture: a
// save passes over those names.
const char* const Names[] = {"x.bin", "game.sna", "GAME.SNA", "game.Sna", "game.snap", "pic.scr",
                             "shot.bmp", "dump", ".hidden", "name.", "pic.old copy.sna"};

enum class FileKind { AsGiven, Repeated, Snapshot, SnapshotLess, SnapshotMore, Empty, Missing, Folder, Fifo };
constexpr int LastKind = static_cast<int>(FileKind::Fifo);

bool IsSnapshotName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == ".sna";
}

// The input's bytes repeated (zeros for no bytes) up to the size the kind asks for.
std::vector<uint8_t> FileBytes(FileKind kind, const std::vector<uint8_t>& given, int64_t repeatedSize) {
    int64_t size = static_cast<int64_t>(given.size());
    if (kind == FileKind::Repeated) size = repeatedSize;
    if (kind == FileKind::Snapshot) size = SnapshotSize;
    if (kind == FileKind::SnapshotLess) size = SnapshotSize - 1;
    if (kind == FileKind::SnapshotMore) size = SnapshotSize + 1;
    if (kind == FileKind::Empty || kind == FileKind::Missing || kind == FileKind::Folder || kind == FileKind::Fifo)
        size = 0;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size), 0);
    if (!given.empty())
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = given[i % given.size()];
    return bytes;
}

std::string TitleFor(int64_t offset) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "%" PRIX64, static_cast<uint64_t>(offset));
    return std::string("Quillon, disp:") + hex;
}

// The checks run on every pixel they look at; coverage of them would only slow
// the fuzzer down and guide it nowhere.
#define QUILLON_NO_COVERAGE __attribute__((no_sanitize("coverage")))

// What the view shows, worked out from the layout of a screen without the
// renderer: the colour of view pixel x, y.
struct ViewModel {
    const uint8_t* Bytes;
    int64_t Size;
    int64_t Offset;
    int Zoom;
    bool Mono;

    uint8_t ByteAt(int64_t at, uint8_t substitute) const {
        return at >= 0 && at < Size ? Bytes[at] : substitute;
    }

    QUILLON_NO_COVERAGE uint32_t Colour(int x, int y) const {
        if (Zoom <= 0) return 0;
        // Offsets far outside the data show substitutes only; clamping keeps the sums small.
        const int64_t offset = std::clamp<int64_t>(Offset, -4 * int64_t{ScreenSize}, std::max<int64_t>(Size, 0));
        const int tiles = Zoom == 2 ? 1 : 2;
        const int sx = x / Zoom;
        const int sy = y / Zoom;
        const int64_t screen = offset + int64_t{ScreenSize} * (tiles * (sx / 256) + sy / 192);
        const int px = sx % 256;
        const int py = sy % 192;
        const int64_t bitmapAt = screen + ((py & 0xC0) << 5) + ((py & 7) << 8) + ((py & 0x38) << 2) + px / 8;
        const int64_t attributeAt = screen + 6144 + 32 * (py / 8) + px / 8;
        const uint8_t bits = ByteAt(bitmapAt, 0);
        const uint8_t attribute = Mono ? MonoAttribute : ByteAt(attributeAt, MissingAttribute);
        return ((bits >> (7 - px % 8)) & 1) != 0 ? InkTable[attribute] : PaperTable[attribute];
    }
};

QUILLON_NO_COVERAGE uint32_t PixelAt(const Picture& picture, int x, int y) {
    const uint8_t* p = picture.Top + y * picture.RowStride + x * picture.BytesPerPixel;
    return uint32_t{p[2]} | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16;
}

// Inside the 512 x 384 view area the picture shows the model; outside it keeps
// the colour it had.
QUILLON_NO_COVERAGE void CheckPixel(const Picture& picture, const ViewModel& model, uint32_t outside, int x, int y) {
    if (x < 0 || y < 0 || x >= picture.Width || y >= picture.Height) return;
    const bool inView = x < 512 && y < 384;
    const uint32_t expected = inView ? model.Colour(x, y) : outside;
    const uint32_t actual = PixelAt(picture, x, y);
    if (actual == expected) return;
    char what[160];
    std::snprintf(what, sizeof what, "pixel %d,%d of a %dx%d picture at zoom %d is %06X, not %06X", x, y,
                  picture.Width, picture.Height, model.Zoom, actual, expected);
    FuzzFailure(__FILE__, __LINE__, what);
}

// Whole rows and columns: the edges of the picture, of the screens and of their
// character cells, and two of the input's choosing.
QUILLON_NO_COVERAGE void CheckPicture(const Picture& picture, const ViewModel& model, uint32_t outside, int row,
                                      int column) {
    const int rows[] = {0, 1, 7, 8, 95, 191, 192, 193, 383, 384, picture.Height - 1, row};
    const int columns[] = {0, 1, 7, 8, 255, 256, 257, 511, 512, picture.Width - 1, column};
    for (const int y : rows)
        for (int x = 0; x < picture.Width; ++x) CheckPixel(picture, model, outside, x, y);
    for (const int x : columns)
        for (int y = 0; y < picture.Height; ++y) CheckPixel(picture, model, outside, x, y);
}

struct Input {
    std::string Name;
    FileKind Kind;
    int64_t RepeatedSize;
    int32_t MaximumBefore, LineBefore, ByteBefore;  // the scroll bars before the open
    int32_t Line, Byte;                             // then set to these
    int Zoom;
    bool Mono;
    bool Save, ImageToo;
    // A picture of its own: any size up to a little beyond the view, either
    // row order, 3 or 4 bytes per pixel, painted at any offset.
    int Width, Height, BytesPerPixel;
    bool BottomUp;
    int64_t RawOffset;
    int RawZoom;
    int CheckRow, CheckColumn;  // looked at whole in every picture
    // Another file opened first, so that the open under test replaces it.
    bool Previous;
    int64_t PreviousSize;
    // The file rewritten with this many other bytes between the loader's size
    // query and its read, as if another program changed it meanwhile.
    bool Change;
    int64_t ChangedSize;
    std::vector<uint8_t> Given;
};

Input ReadInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    Input in;
    in.Name = provider.PickValueInArray(Names);
    in.Kind = static_cast<FileKind>(provider.ConsumeIntegralInRange<int>(0, LastKind));
    in.RepeatedSize = provider.ConsumeIntegralInRange<int64_t>(1, 5 * ScreenSize);
    in.MaximumBefore = provider.ConsumeIntegral<int32_t>();
    in.LineBefore = provider.ConsumeIntegral<int32_t>();
    in.ByteBefore = provider.ConsumeIntegral<int32_t>();
    in.Line = provider.ConsumeIntegral<int32_t>();
    in.Byte = provider.ConsumeIntegral<int32_t>();
    // Zoom 1 first: an input that runs out of bytes gets the usual view.
    constexpr int Zooms[] = {1, 2, 0};
    in.Zoom = provider.PickValueInArray(Zooms);
    in.Mono = provider.ConsumeBool();
    in.Save = provider.ConsumeBool();
    in.ImageToo = provider.ConsumeBool();
    in.Width = provider.ConsumeIntegralInRange<int>(1, 520);
    in.Height = provider.ConsumeIntegralInRange<int>(1, 390);
    in.BytesPerPixel = provider.ConsumeBool() ? 4 : 3;
    in.BottomUp = provider.ConsumeBool();
    in.RawOffset = provider.ConsumeIntegral<int64_t>();
    in.RawZoom = provider.PickValueInArray(Zooms);
    in.CheckRow = provider.ConsumeIntegralInRange<int>(0, 389);
    in.CheckColumn = provider.ConsumeIntegralInRange<int>(0, 519);
    in.Previous = provider.ConsumeBool();
    in.PreviousSize = provider.ConsumeIntegralInRange<int64_t>(1, 5 * ScreenSize);
    in.Change = provider.ConsumeBool();
    in.ChangedSize = provider.ConsumeIntegralInRange<int64_t>(0, 5 * ScreenSize);
    in.Given = provider.ConsumeRemainingBytes<uint8_t>();
    return in;
}

void MakeFile(const std::string& path, FileKind kind, const std::vector<uint8_t>& bytes) {
    switch (kind) {
        case FileKind::Missing: return;
        case FileKind::Folder: FUZZ_CHECK(std::filesystem::create_directory(path)); return;
        case FileKind::Fifo: FUZZ_CHECK(mkfifo(path.c_str(), 0600) == 0); return;
        default: FUZZ_CHECK(WriteWholeFile(path, bytes));
    }
}

// What the hook writes over the file between the size query and the read.
std::string ChangingPath;
std::vector<uint8_t> ChangedBytes;
void ChangeFile() { FUZZ_CHECK(WriteWholeFile(ChangingPath, ChangedBytes)); }

// Other bytes than bytes, size of them.
std::vector<uint8_t> OtherBytes(const std::vector<uint8_t>& bytes, int64_t size, uint8_t mask) {
    std::vector<uint8_t> other = FileBytes(FileKind::Repeated, bytes, size);
    for (uint8_t& b : other) b = static_cast<uint8_t>(b ^ mask);
    return other;
}

// The highest position of the line scroll bar with this maximum and a page of 32.
int32_t Highest(int32_t maximum) {
    return static_cast<int32_t>(std::max<int64_t>(int64_t{maximum} - (LineLength - 1), 0));
}

bool Unreadable(FileKind kind) { return kind == FileKind::Missing || kind == FileKind::Folder; }
// Whether the loader reads the file (and runs the hook): a readable file not empty.
bool Reads(FileKind kind, const std::vector<uint8_t>& bytes) {
    return !Unreadable(kind) && kind != FileKind::Fifo && !bytes.empty();
}

// The loader's results: the bytes, the name, the range. A file changed after
// the size query keeps that size: its new bytes as far as they go, then zeros.
void CheckOpened(const Input& in, const std::string& path, const std::vector<uint8_t>& bytes,
                 const std::vector<uint8_t>* changed, int32_t maximumBefore) {
    const bool unreadable = Unreadable(in.Kind);
    const bool empty = !unreadable && !Reads(in.Kind, bytes);
    FUZZ_CHECK_EQ(SaveCounter, 0);
    if (unreadable) {
        FUZZ_CHECK_EQ(FuzzMessages().size(), std::size_t{1});
        FUZZ_CHECK(FuzzMessages()[0] == FuzzMessage("Error!", "error reading file:\n" + path));
        FUZZ_CHECK(CurrentFileName.empty());
    } else {
        FUZZ_CHECK(FuzzMessages().empty());
        FUZZ_CHECK_EQ(CurrentFileName, path);
    }
    if (unreadable || empty) {
        FUZZ_CHECK_EQ(SourceSize, 0);
        FUZZ_CHECK_EQ(ScrollBarMaximum(LineScrollBar), maximumBefore);
        return;
    }
    FUZZ_CHECK_EQ(static_cast<std::size_t>(SourceSize), bytes.size());
    std::vector<uint8_t> expected = bytes;
    if (changed != nullptr) {
        std::fill(expected.begin(), expected.end(), 0);
        std::copy_n(changed->begin(), std::min(changed->size(), expected.size()), expected.begin());
    }
    FUZZ_CHECK(std::memcmp(SourceBuffer, expected.data(), expected.size()) == 0);
    FUZZ_CHECK_EQ(ScrollBarMaximum(LineScrollBar), SourceSize / LineLength);
    // The page is held within the range, as a Windows scroll bar holds it.
    FUZZ_CHECK_EQ(ScrollBarPageLength(LineScrollBar), std::min(LineLength, SourceSize / LineLength + 1));
}

void CheckSaved(const Input& in, const std::string& path, const std::vector<uint8_t>& onDisk, const ViewModel& view) {
    if (CurrentFileName.empty()) {
        FUZZ_CHECK(FuzzMessages().back() == FuzzMessage("Error!", "no file known!"));
        FUZZ_CHECK_EQ(SaveCounter, 0);
        return;
    }
    FUZZ_CHECK(FuzzMessages().empty());
    // The name whose files would replace the file being viewed is passed over.
    const bool passedOver = in.Name == "pic.scr" || (in.Name == "shot.bmp" && in.ImageToo);
    FUZZ_CHECK_EQ(SaveCounter, passedOver ? 2 : 1);
    FUZZ_CHECK_EQ(SaveBaseName, SaveNameFor(path, passedOver ? 1 : 0));

    std::vector<uint8_t> screen;
    FUZZ_CHECK(ReadWholeFile(SaveBaseName + ".scr", &screen));
    FUZZ_CHECK_EQ(screen.size(), std::size_t{ScreenSize});
    for (int i = 0; i < ScreenSize; ++i) {
        const uint8_t expected = i >= BitmapSize && view.Mono ? MonoAttribute
                                 : view.ByteAt(view.Offset + i, i < BitmapSize ? 0 : MissingAttribute);
        if (screen[i] != expected) FuzzFailure(__FILE__, __LINE__, "byte " + std::to_string(i) + " of the .scr file");
    }
    const std::string picture = SaveBaseName + ".bmp";
    const int64_t pictureSize = 54 + int64_t{3} * 256 * 192 * in.Zoom * in.Zoom;
    if (in.ImageToo && in.Zoom > 0) {
        FUZZ_CHECK_EQ(static_cast<int64_t>(std::filesystem::file_size(picture)), pictureSize);
    } else {
        FUZZ_CHECK(picture == path || !std::filesystem::exists(picture));  // "shot.bmp" is the source
    }
    // The file being viewed is never touched.
    if (in.Kind != FileKind::Folder && in.Kind != FileKind::Fifo && in.Kind != FileKind::Missing) {
        std::vector<uint8_t> source;
        FUZZ_CHECK(ReadWholeFile(path, &source));
        FUZZ_CHECK(source == onDisk);
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    StartFuzzSession(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const Input in = ReadInput(data, size);
    SettleFuzzEvents();
    EmptyFuzzDirectory();
    ClearFuzzMessages();
    // Each input starts with no file known and the scroll bars where it says.
    FreeSource();
    CurrentFileName.clear();
    SaveCounter = 0;
    SetScrollBarMaximum(LineScrollBar, in.MaximumBefore);
    SetScrollBarPageLength(LineScrollBar, LineLength);
    SetControlState(LineScrollBar, in.LineBefore);
    SetControlState(ByteScrollBar, in.ByteBefore);
    FUZZ_CHECK_EQ(ControlState(LineScrollBar), std::clamp(in.LineBefore, 0, Highest(in.MaximumBefore)));
    FUZZ_CHECK_EQ(ControlState(ByteScrollBar), std::clamp(in.ByteBefore, 0, 31));

    if (in.Previous) {
        const std::string previous = FuzzDirectory() + "/previous.bin";
        const std::vector<uint8_t> previousBytes = OtherBytes(in.Given, in.PreviousSize, 0x5A);
        FUZZ_CHECK(WriteWholeFile(previous, previousBytes));
        OpenSource(previous);
        FUZZ_CHECK(FuzzMessages().empty());
        FUZZ_CHECK_EQ(static_cast<std::size_t>(SourceSize), previousBytes.size());
        FUZZ_CHECK_EQ(CurrentFileName, previous);
    }

    const std::string path = FuzzDirectory() + "/" + in.Name;
    const std::vector<uint8_t> bytes = FileBytes(in.Kind, in.Given, in.RepeatedSize);
    MakeFile(path, in.Kind, bytes);
    const bool changes = in.Change && Reads(in.Kind, bytes);
    if (in.Change) {
        ChangingPath = path;
        ChangedBytes = OtherBytes(bytes.empty() ? in.Given : bytes, in.ChangedSize, 0xA5);
        SetBeforeReadHookForTests(ChangeFile);
    }
    const int32_t lineBefore = ControlState(LineScrollBar);
    const int32_t byteBefore = ControlState(ByteScrollBar);
    const int32_t maximumBefore = ScrollBarMaximum(LineScrollBar);
    OpenSource(path);
    SetBeforeReadHookForTests(nullptr);  // a load that read nothing left it set
    CheckOpened(in, path, bytes, changes ? &ChangedBytes : nullptr, maximumBefore);
    const std::vector<uint8_t>& onDisk = changes ? ChangedBytes : bytes;

    // The snapshot rule, by the size the file has after the load, else the
    // positions as far as the new range allows.
    const int32_t highest = Highest(ScrollBarMaximum(LineScrollBar));
    const bool snapshot = !Unreadable(in.Kind) && in.Kind != FileKind::Fifo && onDisk.size() == SnapshotSize &&
                          IsSnapshotName(in.Name);
    FUZZ_CHECK_EQ(ControlState(ByteScrollBar), snapshot ? SnapshotOffset : byteBefore);
    FUZZ_CHECK_EQ(ControlState(LineScrollBar), snapshot ? 0 : std::min(lineBefore, highest));

    SetControlState(LineScrollBar, in.Line);
    SetControlState(ByteScrollBar, in.Byte);
    FUZZ_CHECK_EQ(ControlState(LineScrollBar), std::clamp(in.Line, 0, highest));
    FUZZ_CHECK_EQ(ControlState(ByteScrollBar), std::clamp(in.Byte, 0, 31));
    SetControlState(ZoomX1Option, in.Zoom == 1 ? 1 : 0);
    SetControlState(ZoomX2Option, in.Zoom == 2 ? 1 : 0);
    SetControlState(MonoCheckBox, in.Mono ? 1 : 0);

    const int64_t offset = int64_t{ControlState(ByteScrollBar)} + int64_t{LineLength} * ControlState(LineScrollBar);
    const bool loaded = SourceSize > 0;
    const ViewModel view{loaded ? SourceBuffer : nullptr, SourceSize, offset, in.Zoom, in.Mono};

    SetWindowTitle("-");
    Redraw();
    FUZZ_CHECK_EQ(WindowTitle(), loaded ? TitleFor(offset) : std::string("-"));
    if (loaded) CheckPicture(*CanvasPicture(), view, 0, in.CheckRow, in.CheckColumn);

    // The export's pictures: nothing drawn leaves them black.
    for (const int zoom : {1, 2}) {
        Picture* picture = CreateOffscreenPicture(256 * zoom, 192 * zoom);
        FUZZ_CHECK(picture != nullptr && BeginDrawing(picture));
        DrawScreens();
        EndDrawing();
        CheckPicture(*picture, loaded ? view : ViewModel{nullptr, 0, 0, 0, false}, 0, in.CheckRow, in.CheckColumn);
    }
    ReleaseOffscreenPicture();

    // A picture of any shape at any offset, over the file's bytes.
    {
        const std::size_t rowBytes = static_cast<std::size_t>(in.Width * in.BytesPerPixel);
        const uint32_t marker = 0x123456;
        std::vector<uint8_t> memory(rowBytes * static_cast<std::size_t>(in.Height));
        for (std::size_t i = 0; i + 2 < memory.size(); i += static_cast<std::size_t>(in.BytesPerPixel)) {
            memory[i] = ColourBlue(marker);
            memory[i + 1] = ColourGreen(marker);
            memory[i + 2] = ColourRed(marker);
        }
        Picture picture;
        picture.Width = in.Width;
        picture.Height = in.Height;
        picture.BytesPerPixel = in.BytesPerPixel;
        picture.Memory = memory.data();
        picture.MemoryBytes = memory.size();
        picture.RowStride = in.BottomUp ? -static_cast<std::ptrdiff_t>(rowBytes) : static_cast<std::ptrdiff_t>(rowBytes);
        picture.Top = in.BottomUp ? memory.data() + rowBytes * static_cast<std::size_t>(in.Height - 1) : memory.data();
        ViewSettings settings;
        settings.Offset = in.RawOffset;
        settings.Zoom = in.RawZoom;
        settings.Mono = in.Mono;
        PaintView(picture, settings, bytes.data(), static_cast<int64_t>(bytes.size()));
        const ViewModel model{bytes.data(), static_cast<int64_t>(bytes.size()), in.RawOffset, in.RawZoom, in.Mono};
        CheckPicture(picture, model, marker, in.CheckRow, in.CheckColumn);
    }

    if (in.Save) {
        SetControlState(ImageTooCheckBox, in.ImageToo ? 1 : 0);
        SetControlState(FormatComboBox, 0);  // BMP: the quickest picture to write
        SaveScreen();
        CheckSaved(in, path, onDisk, view);
    }
    return 0;
}
