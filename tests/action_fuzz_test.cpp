// Thousands of random user actions in a row through the real window and the
// real event loop: scroll-bar clicks and drags, paging keys tapped and held,
// the view options, format choices, drops, Open and Save. After every action
// the canvas, the title, the controls, the messages and every file Save wrote
// are held against what the action must have done, worked out apart from the
// program. QUILLON_ACTION_SEED and QUILLON_ACTIONS choose the run.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string_view>
#include <tuple>

#include "files/screen_file.h"
#include "files/source_loading.h"
#include "platform/drawing.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/source.h"
#include "support/app_session.h"
#include "support/picture_files.h"
#include "support/reference_renderer.h"
#include "support/saved_files.h"
#include "support/test_picture.h"
#include "support/window_probe.h"

namespace fs = std::filesystem;

namespace {
// About half a minute in either build; `make fuzz-actions` runs many more.
#if defined(__SANITIZE_ADDRESS__)
constexpr uint64_t DefaultActions = 3000;
#else
constexpr uint64_t DefaultActions = 5000;
#endif
constexpr uint64_t DefaultSeed = 20240611;

uint64_t EnvironmentNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    return std::strtoull(text, nullptr, 0);
}

std::string Hex(int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%" PRIX64, static_cast<uint64_t>(value));
    return text;
}

// The name of a saved file without its extension, worked out on its own:
// the source's name less the text from its last dot, where the dot starts an
// extension (not the name's first character, no space after it).
std::string SaveStem(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart || path.find(' ', dot) != std::string::npos) return path;
    return path.substr(0, dot);
}

bool IsSnapshotName(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < path.rfind('/') + 2) return false;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "sna";
}

PictureFormat FormatOf(int index) {
    return index == 0 ? PictureFormat::Bmp : index == 1 ? PictureFormat::Png : PictureFormat::Jpeg;
}

// What the program must show and hold, kept apart from its own values.
struct Expected {
    std::string fileName;  // the file last opened, "" after a failed open
    std::string loaded;    // the bytes on view; empty while nothing is loaded
    int loadNumber = 0;    // tells the loads apart for the reference cache
    int32_t line = 0;
    int32_t byte = 0;
    int32_t lastLine = 1;  // before any load the line bar reaches 0 and 1
    int32_t linePage = 32;
    bool mono = false;
    int zoom = 1;
    bool imageToo = false;
    int format = 1;
    int32_t saveCounter = 0;
    std::string title = "Quillon";

    int64_t Offset() const { return int64_t{byte} + 32 * int64_t{line}; }
    bool HasBytes() const { return !loaded.empty(); }
};

using ViewKey = std::tuple<int, int64_t, int, bool>;  // load, offset, zoom, mono

class ActionFuzz : public AppSession {
protected:
    void SetUp() override {
        AppSession::SetUp();
        seed_ = EnvironmentNumber("QUILLON_ACTION_SEED", DefaultSeed);
        count_ = EnvironmentNumber("QUILLON_ACTIONS", DefaultActions);
        random_.seed(seed_);
        std::printf("action fuzz: seed %" PRIu64 ", %" PRIu64 " actions\n", seed_, count_);
        reference_ = MakeTestPicture(512, 384, 4, false);
    }

    void Run();

private:
    // Setting up the folder of files to open.
    void MakeSources();
    std::string ChooseOpenPath();

    // The actions; each returns what it did, for the report.
    std::string ArrowClick();
    std::string TroughClick();
    std::string ThumbDrag();
    std::string Wheel();
    std::string PageKeyTap();
    std::string PageKeyHold();
    std::string ClickMono();
    std::string ClickZoom();
    std::string ClickImageToo();
    std::string TabKey();
    std::string SpaceOnButton();
    std::string FormatByKeys();
    std::string FormatByPopup();
    std::string FormatByPopupClick();
    std::string DropFile();
    std::string MenuOpen();
    std::string MenuSave();

    // What opening a file and paging must do.
    void ExpectOpen(const std::string& path);
    void ExpectPage(int direction, QWidget* focus, int presses);
    void ExpectScroll(int number, int64_t step);

    // Checks after an action; each notes the first problem found.
    void CheckState();
    void CheckCanvas();
    void CheckMessages();
    void CheckSave(const std::string& base, const std::set<std::string>& planted);
    void CheckSourcesUnchanged();
    void Problem(const std::string& what) {
        if (problem_.empty()) problem_ = what;
    }
    // The reference picture of the expected view, drawn box by box.
    const TestPicture& Reference();
    RgbImage ExpectedPicture();
    uint64_t CanvasHash() const;

    int32_t Random(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random_); }
    bool Chance(int percent) { return Random(0, 99) < percent; }
    void Pass() { Drain(); }

    uint64_t seed_ = DefaultSeed;
    uint64_t count_ = DefaultActions;
    std::mt19937_64 random_;
    Expected expected_;
    std::string problem_;
    std::vector<std::pair<std::string, std::string>> expectedMessages_;
    std::string folder_;
    std::map<std::string, std::string> sources_;  // path, bytes
    std::string missing_;
    std::string directory_;
    std::string lastSaved_;  // the latest .scr written, kept to be opened again
    TestPicture reference_;
    ViewKey referenceKey_{-1, 0, 0, false};
    std::map<ViewKey, uint64_t> verified_;  // canvas hashes of views already held against the reference
    uint64_t lastCanvasHash_ = 0;
};

void ActionFuzz::MakeSources() {
    folder_ = dir / "files";
    fs::create_directory(folder_);
    std::mt19937 bytes(static_cast<unsigned>(seed_));
    for (std::size_t size : {0, 1, 31, 6143, 6912, 131103}) {
        for (const char* suffix : {".sna", ""}) {
            std::string content(size, '\0');
            for (char& b : content) b = static_cast<char>(bytes());
            const std::string path = folder_ + "/s" + std::to_string(size) + suffix;
            std::ofstream(path, std::ios::binary) << content;
            sources_[path] = content;
        }
    }
    // A snapshot named in capitals, and a screen file that Save must not overwrite.
    for (auto [name, size] : {std::pair{"upper.SNA", 131103}, std::pair{"pic.scr", 6912}}) {
        std::string content(static_cast<std::size_t>(size), '\0');
        for (char& b : content) b = static_cast<char>(bytes());
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        sources_[path] = content;
    }
    missing_ = folder_ + "/missing.bin";
    directory_ = folder_ + "/folder.sna";
    fs::create_directory(directory_);
}

std::string ActionFuzz::ChooseOpenPath() {
    const int roll = Random(0, 99);
    if (roll < 8) return missing_;
    if (roll < 12) return directory_;
    if (roll < 22 && !lastSaved_.empty()) return lastSaved_;
    auto source = sources_.begin();
    std::advance(source, Random(0, static_cast<int32_t>(sources_.size()) - 1));
    return source->first;
}

void ActionFuzz::ExpectOpen(const std::string& path) {
    expected_.fileName = path;
    expected_.saveCounter = 0;
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        expectedMessages_.emplace_back("Error!", "error reading file:\n" + path);
        expected_.fileName.clear();
        expected_.loaded.clear();
        return;
    }
    const std::string bytes = ReadFileBytes(path);
    // An empty file leaves nothing on view, so that no earlier file's bytes are saved under its name.
    expected_.loaded = bytes;
    if (!bytes.empty()) {
        ++expected_.loadNumber;
        const auto maximum = static_cast<int32_t>(bytes.size() / 32);
        expected_.linePage = std::min(32, maximum + 1);
        expected_.lastLine = std::max(maximum - (expected_.linePage - 1), 0);
        expected_.line = std::min(expected_.line, expected_.lastLine);
    }
    if (bytes.size() == 131103 && IsSnapshotName(path)) {
        expected_.byte = 27;
        expected_.line = 0;
    }
}

void ActionFuzz::ExpectScroll(int number, int64_t step) {
    if (number == LineScrollBar) {
        expected_.line = static_cast<int32_t>(std::clamp<int64_t>(expected_.line + step, 0, expected_.lastLine));
    } else {
        expected_.byte = static_cast<int32_t>(std::clamp<int64_t>(expected_.byte + step, 0, 31));
    }
}

// A page key moves the line bar by a screen; a focused format list also takes
// the key (and each repeat of it) as a move to the neighbouring item.
void ActionFuzz::ExpectPage(int direction, QWidget* focus, int presses) {
    ExpectScroll(LineScrollBar, int64_t{216} * direction);
    if (focus == ControlWidget(FormatComboBox)) expected_.format = std::clamp(expected_.format + direction * presses, 0, 2);
}

std::string ActionFuzz::ArrowClick() {
    const int number = Chance(50) ? LineScrollBar : ByteScrollBar;
    const bool forwards = Chance(50);
    QScrollBar* bar = ScrollBarWidget(number);
    const QRect arrow = ScrollBarPartRect(bar, forwards ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, arrow.center());
    ExpectScroll(number, forwards ? 1 : -1);
    Pass();
    return std::string("arrow ") + (forwards ? "forwards" : "backwards") + " on scroll bar " + std::to_string(number);
}

std::string ActionFuzz::TroughClick() {
    const int number = Chance(50) ? LineScrollBar : ByteScrollBar;
    bool forwards = Chance(50);
    QScrollBar* bar = ScrollBarWidget(number);
    auto side = [&] { return ScrollBarPartRect(bar, forwards ? QStyle::SC_ScrollBarAddPage : QStyle::SC_ScrollBarSubPage); };
    QRect trough = side();
    if (trough.isEmpty()) {
        forwards = !forwards;
        trough = side();
    }
    if (trough.isEmpty()) return "trough click with no trough to click";
    const QPoint at(Random(trough.left(), trough.right()), Random(trough.top(), trough.bottom()));
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
    const int32_t page = number == LineScrollBar ? expected_.linePage : 1;
    ExpectScroll(number, forwards ? page : -page);
    Pass();
    return std::string("trough ") + (forwards ? "forwards" : "backwards") + " on scroll bar " + std::to_string(number) +
           " at " + std::to_string(at.x()) + "," + std::to_string(at.y());
}

std::string ActionFuzz::ThumbDrag() {
    const int number = Chance(50) ? LineScrollBar : ByteScrollBar;
    QScrollBar* bar = ScrollBarWidget(number);
    const bool vertical = bar->orientation() == Qt::Vertical;
    const QRect thumb = ThumbRect(bar);
    if (thumb.isEmpty()) return "thumb drag with no thumb";
    QPoint at(Random(thumb.left(), thumb.right()), Random(thumb.top(), thumb.bottom()));
    std::string what = "thumb drag on scroll bar " + std::to_string(number) + " from " + std::to_string(at.x()) + "," +
                       std::to_string(at.y()) + " to";
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, at);
    const int length = vertical ? bar->height() : bar->width();
    const int thickness = vertical ? bar->width() : bar->height();
    for (int moves = Random(2, 6); moves > 0; --moves) {
        const int along = Random(-40, length + 40);
        // Now and then far off the bar, where the thumb springs back.
        const int across = Chance(10) ? Random(-150, 150) : Random(0, thickness - 1);
        at = vertical ? QPoint(across, along) : QPoint(along, across);
        QTest::mouseMove(bar, at);
        what += " " + std::to_string(at.x()) + "," + std::to_string(at.y());
        // The bound redraw has run for this movement before anything else happens.
        if (expected_.HasBytes()) {
            const int64_t offset = int64_t{ControlState(ByteScrollBar)} + 32 * int64_t{ControlState(LineScrollBar)};
            if (Title() != "Quillon, disp:" + Hex(offset))
                Problem("during the drag the title is \"" + Title() + "\" at offset " + Hex(offset));
        }
    }
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, at);
    Pass();
    const int32_t position = ControlState(number);
    const int32_t last = number == LineScrollBar ? expected_.lastLine : 31;
    if (position < 0 || position > last)
        Problem("the drag left scroll bar " + std::to_string(number) + " at " + std::to_string(position) +
                ", outside 0 to " + std::to_string(last));
    (number == LineScrollBar ? expected_.line : expected_.byte) = position;
    return what;
}

std::string ActionFuzz::Wheel() {
    const int number = std::array{LineScrollBar, ByteScrollBar, ViewCanvas}[Random(0, 2)];
    QWidget* target = ControlWidget(number);
    const int notches = Random(-2, 2);
    const QPointF at(Random(0, target->width() - 1), Random(0, target->height() - 1));
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    Pass();
    const std::string what = "wheel " + std::to_string(notches) + " on control " + std::to_string(number);
    if (number == ViewCanvas) return what;  // the canvas reports the wheel; nothing acts on it
    // Turning the wheel towards the user moves towards the end, a few steps per notch.
    int32_t& position = number == LineScrollBar ? expected_.line : expected_.byte;
    const int64_t moved = int64_t{ControlState(number)} - position;
    const int32_t last = number == LineScrollBar ? expected_.lastLine : 31;
    if (ControlState(number) < 0 || ControlState(number) > last || moved * notches > 0 ||
        std::abs(moved) > 3 * std::abs(notches))
        Problem(what + " moved from " + std::to_string(position) + " to " + std::to_string(ControlState(number)));
    position = ControlState(number);
    return what;
}

namespace {
QWidget* KeyTarget() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : MainWindowWidget();
}

void SendPageKey(QWidget* target, Qt::Key key, bool press, bool autoRepeat = false) {
    QTest::simulateEvent(target, press, key, Qt::NoModifier, QString(), autoRepeat);
}
}  // namespace

std::string ActionFuzz::PageKeyTap() {
    QWidget* target = KeyTarget();
    const std::string where = std::string(" on ") + target->metaObject()->className();
    const int variant = Random(0, 5);
    if (variant == 0) {
        // Both keys at once: up acts before down in the same pass.
        SendPageKey(target, Qt::Key_PageUp, true);
        SendPageKey(target, Qt::Key_PageDown, true);
        SendPageKey(target, Qt::Key_PageUp, false);
        SendPageKey(target, Qt::Key_PageDown, false);
        ExpectPage(-1, target, 1);
        ExpectPage(1, target, 1);
        Pass();
        return "PageUp and PageDown together" + where;
    }
    const bool down = Chance(50);
    const Qt::Key key = down ? Qt::Key_PageDown : Qt::Key_PageUp;
    SendPageKey(target, key, true);
    // A quick tap is already up when the loop polls; a slower one is still down.
    if (variant == 1) Pass();
    SendPageKey(target, key, false);
    ExpectPage(down ? 1 : -1, target, 1);
    Pass();
    return std::string(down ? "PageDown" : "PageUp") + (variant == 1 ? " pressed, then released" : " tapped") + where;
}

std::string ActionFuzz::PageKeyHold() {
    QWidget* target = KeyTarget();
    const bool down = Chance(50);
    const Qt::Key key = down ? Qt::Key_PageDown : Qt::Key_PageUp;
    const int repeats = Random(1, 8);
    SendPageKey(target, key, true);
    Pass();
    for (int i = 0; i < repeats; ++i) {
        // Some systems send a release before each repeated press.
        if (Chance(50)) SendPageKey(target, key, false, true);
        SendPageKey(target, key, true, true);
        Pass();
    }
    SendPageKey(target, key, false);
    ExpectPage(down ? 1 : -1, target, 1 + repeats);
    Pass();
    return std::string(down ? "PageDown" : "PageUp") + " held for " + std::to_string(repeats) + " repeats on " +
           target->metaObject()->className();
}

std::string ActionFuzz::ClickMono() {
    QTest::mouseClick(ControlWidget(MonoCheckBox), Qt::LeftButton);
    expected_.mono = !expected_.mono;
    Pass();
    return "click on \"b-w\"";
}

std::string ActionFuzz::ClickZoom() {
    const bool two = Chance(50);
    QTest::mouseClick(ControlWidget(two ? ZoomX2Option : ZoomX1Option), Qt::LeftButton);
    expected_.zoom = two ? 2 : 1;
    Pass();
    return two ? "click on \"x2\"" : "click on \"x1\"";
}

std::string ActionFuzz::ClickImageToo() {
    QTest::mouseClick(ControlWidget(ImageTooCheckBox), Qt::LeftButton);
    expected_.imageToo = !expected_.imageToo;
    Pass();
    return "click on \"s\"";
}

std::string ActionFuzz::TabKey() {
    const bool back = Chance(40);
    QTest::keyClick(KeyTarget(), back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    Pass();
    return std::string(back ? "Shift+Tab" : "Tab") + ", now on " + KeyTarget()->metaObject()->className();
}

// The space bar on a focused check box or option, as a click.
std::string ActionFuzz::SpaceOnButton() {
    const int number = std::array{MonoCheckBox, ZoomX1Option, ZoomX2Option, ImageTooCheckBox}[Random(0, 3)];
    QWidget* button = ControlWidget(number);
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button, Qt::Key_Space);
    if (number == MonoCheckBox) expected_.mono = !expected_.mono;
    if (number == ImageTooCheckBox) expected_.imageToo = !expected_.imageToo;
    if (number == ZoomX1Option) expected_.zoom = 1;
    if (number == ZoomX2Option) expected_.zoom = 2;
    Pass();
    return "space bar on control " + std::to_string(number);
}

namespace {
// A desktop hands the activation back to the main window when the list's
// popup closes; the offscreen platform leaves it with the hidden popup.
void GiveMainWindowBackItsActivation() {
    QWidget* window = MainWindowWidget();
    if (QApplication::activeWindow() == window) return;
    window->activateWindow();
    QApplication::processEvents();
}

QComboBox* FormatList() { return qobject_cast<QComboBox*>(ControlWidget(FormatComboBox)); }

int MovedIndex(int index, Qt::Key key) {
    switch (key) {
    case Qt::Key_Up: return std::max(index - 1, 0);
    case Qt::Key_Down: return std::min(index + 1, 2);
    case Qt::Key_Home:
    case Qt::Key_PageUp: return 0;
    case Qt::Key_End:
    case Qt::Key_PageDown: return 2;
    default: return index;
    }
}

const char* KeyName(Qt::Key key) {
    switch (key) {
    case Qt::Key_Up: return "Up";
    case Qt::Key_Down: return "Down";
    case Qt::Key_Home: return "Home";
    case Qt::Key_End: return "End";
    case Qt::Key_PageUp: return "PageUp";
    case Qt::Key_PageDown: return "PageDown";
    default: return "?";
    }
}
}  // namespace

std::string ActionFuzz::FormatByKeys() {
    QComboBox* list = FormatList();
    list->setFocus(Qt::TabFocusReason);
    std::string what = "keys on the format list:";
    for (int presses = Random(1, 3); presses > 0; --presses) {
        const Qt::Key key = std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}[Random(0, 3)];
        QTest::keyClick(list, key);
        expected_.format = MovedIndex(expected_.format, key);
        what += std::string(" ") + KeyName(key);
    }
    Pass();
    return what;
}

std::string ActionFuzz::FormatByPopup() {
    QComboBox* list = FormatList();
    QTest::mouseClick(list, Qt::LeftButton);
    QAbstractItemView* view = list->view();
    if (!view->isVisible()) {
        Problem("clicking the format list did not open its list");
        return "open the format list";
    }
    std::string what = "format list opened, keys:";
    int current = view->currentIndex().row();
    for (int presses = Random(0, 3); presses > 0; --presses) {
        const Qt::Key key = std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}[Random(0, 3)];
        QTest::keyClick(view, key);
        current = MovedIndex(current, key);
        what += std::string(" ") + KeyName(key);
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            // The open list is the program's too: the page step follows the press at once.
            ExpectScroll(LineScrollBar, key == Qt::Key_PageDown ? 216 : -216);
            Pass();
            if (ControlState(LineScrollBar) != expected_.line)
                Problem("with the format list open, " + std::string(KeyName(key)) + " left the line bar at " +
                        std::to_string(ControlState(LineScrollBar)) + ", expected " + std::to_string(expected_.line));
        }
    }
    if (Chance(80)) {
        QTest::keyClick(view, Qt::Key_Return);
        expected_.format = current;
        what += " Return";
    } else {
        QTest::keyClick(view, Qt::Key_Escape);
        what += " Escape";
    }
    Pass();
    if (view->isVisible()) Problem("the format list stayed open");
    GiveMainWindowBackItsActivation();
    return what;
}

std::string ActionFuzz::FormatByPopupClick() {
    QComboBox* list = FormatList();
    QTest::mouseClick(list, Qt::LeftButton);
    QAbstractItemView* view = list->view();
    if (!view->isVisible()) {
        Problem("clicking the format list did not open its list");
        return "open the format list";
    }
    // The list ignores a release that comes as quickly as a double click would.
    // Its timer is coarse and may come late, so wait well past it and let it fire.
    QTest::qWait(QApplication::doubleClickInterval() * 3 / 2);
    QApplication::processEvents();
    const int item = Random(0, 2);
    // The item's row may reach past the narrow list; click where row and list meet.
    const QRect row = view->visualRect(list->model()->index(item, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(view->viewport()->width() / 2, row.center().y()));
    expected_.format = item;
    Pass();
    if (view->isVisible()) Problem("the format list stayed open");
    GiveMainWindowBackItsActivation();
    return "format list opened, item " + std::to_string(item) + " clicked";
}

std::string ActionFuzz::DropFile() {
    const std::string path = ChooseOpenPath();
    QStringList names{QString::fromStdString(path)};
    // Only the first of several dropped files is opened.
    for (int more = Chance(20) ? Random(1, 2) : 0; more > 0; --more) names << QString::fromStdString(ChooseOpenPath());
    if (!DropFiles(CanvasWidget(), names)) Problem("the canvas refused the drop");
    ExpectOpen(path);
    Pass();
    return "drop of " + std::to_string(names.size()) + " file(s), first " + path;
}

std::string ActionFuzz::MenuOpen() {
    dialogAnswer = Chance(15) ? "" : ChooseOpenPath();
    const int shown = dialogShown;
    if (!TriggerMenuItem("Open...")) Problem("no Open... item");
    Pass();
    if (dialogShown != shown + 1) Problem("Open... did not show the dialog once");
    if (!dialogAnswer.empty()) ExpectOpen(dialogAnswer);
    return dialogAnswer.empty() ? std::string("Open..., cancelled") : "Open... " + dialogAnswer;
}

namespace {
std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().string());
    return names;
}

constexpr const char* Junk = "old";
}  // namespace

std::string ActionFuzz::MenuSave() {
    if (expected_.fileName.empty()) {
        expectedMessages_.emplace_back("Error!", "no file known!");
        const std::set<std::string> before = Entries(folder_);
        if (!TriggerMenuItem("Save")) Problem("no Save item");
        Pass();
        if (Entries(folder_) != before) Problem("Save with no file known changed the folder");
        return "Save with no file known";
    }
    // The next number whose files leave the file on view alone.
    const std::string stem = SaveStem(expected_.fileName);
    const char* pictureExtension = PictureExtension(FormatOf(expected_.format));
    std::string base;
    do {
        base = expected_.saveCounter == 0 ? stem : stem + std::to_string(expected_.saveCounter);
        ++expected_.saveCounter;
    } while (base + ".scr" == expected_.fileName || (expected_.imageToo && base + pictureExtension == expected_.fileName));
    // Old files under the names: sometimes there, to be replaced or left alone.
    std::set<std::string> planted;
    for (const char* extension : {".scr", ".bmp", ".png", ".jpg"}) {
        const std::string name = base + extension;
        if (name == lastSaved_) lastSaved_.clear();
        if (Chance(30)) {
            std::ofstream(name, std::ios::binary | std::ios::trunc) << Junk;
            planted.insert(name);
        } else {
            fs::remove(name);
        }
    }
    if (!TriggerMenuItem("Save")) Problem("no Save item");
    Pass();
    CheckSave(base, planted);
    // Keep the screen to open again later; the pictures go, so the disk does not fill.
    for (const char* extension : {".bmp", ".png", ".jpg"}) fs::remove(base + extension);
    if (!lastSaved_.empty() && lastSaved_ != base + ".scr") fs::remove(lastSaved_);
    lastSaved_ = base + ".scr";
    std::string what = "Save as " + base + (expected_.mono ? ", b-w" : ", colour");
    if (expected_.imageToo) what += std::string(", picture ") + pictureExtension + " at zoom " + std::to_string(expected_.zoom);
    return what;
}

void ActionFuzz::CheckSave(const std::string& base, const std::set<std::string>& planted) {
    const std::string screen = ExpectedScreenBytes(expected_.loaded, expected_.Offset(), expected_.mono);
    if (std::string problem = ScreenFileProblem(base + ".scr", screen); !problem.empty()) Problem(problem);
    for (int index = 0; index < 3; ++index) {
        const PictureFormat format = FormatOf(index);
        const std::string name = base + PictureExtension(format);
        std::error_code error;
        if (expected_.imageToo && index == expected_.format) {
            const std::string problem = PictureFileProblem(name, format, expected_.zoom, ExpectedPicture());
            if (!problem.empty()) Problem(problem);
        } else if (planted.count(name) != 0) {
            if (ReadFileBytes(name) != Junk) Problem(name + " was changed though no picture of its kind was asked for");
        } else if (fs::exists(name, error)) {
            Problem(name + " was written though no picture of its kind was asked for");
        }
    }
    CheckSourcesUnchanged();
    for (const std::string& entry : Entries(folder_)) {
        const bool known = sources_.count(entry) != 0 || entry == directory_ || entry == lastSaved_ ||
                           SaveStem(entry) == base;
        if (!known) Problem("Save left a stray file " + entry);
    }
}

void ActionFuzz::CheckSourcesUnchanged() {
    for (const auto& [path, bytes] : sources_)
        if (ReadFileBytes(path) != bytes) Problem("the source " + path + " was changed");
}

void ActionFuzz::CheckState() {
    const std::pair<int, int32_t> states[] = {
        {LineScrollBar, expected_.line},     {ByteScrollBar, expected_.byte},
        {MonoCheckBox, expected_.mono},      {ZoomX1Option, expected_.zoom == 1},
        {ZoomX2Option, expected_.zoom == 2}, {ImageTooCheckBox, expected_.imageToo},
        {FormatComboBox, expected_.format},
    };
    for (auto [number, state] : states)
        if (ControlState(number) != state)
            Problem("control " + std::to_string(number) + " is " + std::to_string(ControlState(number)) + ", expected " +
                    std::to_string(state));
    if (CurrentFileName != expected_.fileName)
        Problem("the file known is \"" + CurrentFileName + "\", expected \"" + expected_.fileName + "\"");
    if (SourceSize != static_cast<int64_t>(expected_.loaded.size()))
        Problem("SourceSize is " + std::to_string(SourceSize) + ", expected " + std::to_string(expected_.loaded.size()));
    if (SaveCounter != expected_.saveCounter)
        Problem("SaveCounter is " + std::to_string(SaveCounter) + ", expected " + std::to_string(expected_.saveCounter));
    if (Title() != expected_.title) Problem("the title is \"" + Title() + "\", expected \"" + expected_.title + "\"");
}

void ActionFuzz::CheckMessages() {
    if (messages != expectedMessages_) {
        std::string shown;
        for (const auto& [title, text] : messages) shown += " [" + title + ": " + text + "]";
        std::string wanted;
        for (const auto& [title, text] : expectedMessages_) wanted += " [" + title + ": " + text + "]";
        Problem("messages shown:" + (shown.empty() ? " none" : shown) + "; expected:" + (wanted.empty() ? " none" : wanted));
    }
    messages.clear();
    expectedMessages_.clear();
}

uint64_t ActionFuzz::CanvasHash() const {
    const Picture* canvas = CanvasPicture();
    if (canvas == nullptr) return 0;
    return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(canvas->Memory), canvas->MemoryBytes));
}

const TestPicture& ActionFuzz::Reference() {
    const ViewKey key{expected_.loadNumber, expected_.Offset(), expected_.zoom, expected_.mono};
    if (key != referenceKey_) {
        ViewSettings view;
        view.Offset = expected_.Offset();
        view.Zoom = expected_.zoom;
        view.Mono = expected_.mono;
        const auto* bytes = reinterpret_cast<const uint8_t*>(expected_.loaded.data());
        if (!PaintByBoxes(reference_.View(), view, bytes, static_cast<int64_t>(expected_.loaded.size())))
            Problem("the reference could not draw");
        referenceKey_ = key;
    }
    return reference_;
}

RgbImage ActionFuzz::ExpectedPicture() {
    const int width = 256 * expected_.zoom;
    const int height = 192 * expected_.zoom;
    // With nothing loaded nothing is painted on the black picture.
    if (!expected_.HasBytes()) return RgbImage{width, height, std::vector<uint8_t>(std::size_t{3} * width * height, 0)};
    Picture view = const_cast<TestPicture&>(Reference()).View();
    view.Width = width;
    view.Height = height;
    return PictureImage(view);
}

void ActionFuzz::CheckCanvas() {
    const uint64_t hash = CanvasHash();
    if (!expected_.HasBytes()) {
        if (hash != lastCanvasHash_) Problem("the canvas changed while nothing is loaded");
        lastCanvasHash_ = hash;
        return;
    }
    const ViewKey key{expected_.loadNumber, expected_.Offset(), expected_.zoom, expected_.mono};
    const auto known = verified_.find(key);
    lastCanvasHash_ = hash;
    if (known != verified_.end() && known->second == hash) return;
    const TestPicture& reference = Reference();
    const Picture* canvas = CanvasPicture();
    for (int y = 0; y < 384; ++y) {
        const uint8_t* shown = canvas->Top + y * canvas->RowStride;
        const uint8_t* wanted = reference.Memory.data() + y * reference.RowBytes;
        for (int x = 0; x < 512; ++x) {
            if (std::equal(shown + 4 * x, shown + 4 * x + 3, wanted + 4 * x)) continue;
            char text[160];
            std::snprintf(text, sizeof text, "the canvas at (%d, %d) is %02X%02X%02X, the reference %02X%02X%02X", x, y,
                          shown[4 * x + 2], shown[4 * x + 1], shown[4 * x], wanted[4 * x + 2], wanted[4 * x + 1],
                          wanted[4 * x]);
            Problem(text);
            return;
        }
    }
    if (verified_.size() > 100000) verified_.clear();
    verified_[key] = hash;
}

void ActionFuzz::Run() {
    Start();
    MakeSources();
    lastCanvasHash_ = CanvasHash();
    struct Choice {
        int weight;
        const char* name;
        std::string (ActionFuzz::*act)();
    };
    const Choice choices[] = {
        {14, "arrow", &ActionFuzz::ArrowClick},       {10, "trough", &ActionFuzz::TroughClick},
        {8, "drag", &ActionFuzz::ThumbDrag},          {10, "page tap", &ActionFuzz::PageKeyTap},
        {4, "page hold", &ActionFuzz::PageKeyHold},   {5, "b-w", &ActionFuzz::ClickMono},
        {6, "zoom", &ActionFuzz::ClickZoom},          {5, "s", &ActionFuzz::ClickImageToo},
        {3, "wheel", &ActionFuzz::Wheel},             {3, "tab", &ActionFuzz::TabKey},
        {3, "space", &ActionFuzz::SpaceOnButton},
        {4, "format keys", &ActionFuzz::FormatByKeys}, {3, "format list", &ActionFuzz::FormatByPopup},
        {1, "format click", &ActionFuzz::FormatByPopupClick}, {10, "drop", &ActionFuzz::DropFile},
        {6, "open", &ActionFuzz::MenuOpen},           {10, "save", &ActionFuzz::MenuSave},
    };
    int total = 0;
    for (const Choice& choice : choices) total += choice.weight;
    std::map<std::string, int> done;
    std::deque<std::string> recent;
    for (uint64_t number = 1; number <= count_; ++number) {
        int roll = Random(0, total - 1);
        const Choice* choice = choices;
        while (roll >= choice->weight) roll -= (choice++)->weight;
        // The rare clicked list costs a double-click interval of waiting.
        if (choice->act == &ActionFuzz::FormatByPopupClick && !Chance(30))
            choice = std::find_if(std::begin(choices), std::end(choices),
                                  [](const Choice& c) { return c.act == &ActionFuzz::FormatByPopup; });
        const std::string what = (this->*choice->act)();
        ++done[choice->name];
        if (expected_.HasBytes()) expected_.title = "Quillon, disp:" + Hex(expected_.Offset());
        CheckState();
        CheckMessages();
        CheckCanvas();
        recent.push_back(std::to_string(number) + ": " + what);
        if (recent.size() > 12) recent.pop_front();
        if (!problem_.empty()) {
            std::string history;
            for (const std::string& line : recent) history += "  " + line + "\n";
            ADD_FAILURE() << "seed " << seed_ << ", action " << number << " of " << count_ << ": " << what << "\n"
                          << problem_ << "\nthe last actions:\n"
                          << history << "again with QUILLON_ACTION_SEED=" << seed_ << " QUILLON_ACTIONS=" << number;
            return;
        }
    }
    std::string summary;
    for (const auto& [name, times] : done) summary += " " + name + " " + std::to_string(times);
    std::printf("action fuzz: seed %" PRIu64 ", %" PRIu64 " actions done:%s\n", seed_, count_, summary.c_str());
}
}  // namespace

TEST_F(ActionFuzz, RandomUserActionsKeepViewTitleAndFilesRight) { Run(); }
