// File drops: the canvas takes local files with the copy action; everything
// else refuses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_window.h"

namespace {
constexpr int Canvas = 0, Lines = 1, Mono = 3, Format = 7;
constexpr int Background = -1, Window = -2;

QWidget* Target(int number) {
    if (number == Background) return ControlArea();
    if (number == Window) return MainWindowWidget();
    return ControlWidget(number);
}

QUrl LocalUrl(const std::string& path) { return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))); }

struct DropResult {
    bool enterAccepted;
    Qt::DropAction enterAction;
    bool dropAccepted;
    std::vector<Event> events;
};

DropResult Drop(int number, const QList<QUrl>& urls, Qt::DropActions actions) {
    QWidget* target = Target(number);
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(10, 10);
    QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    std::vector<Event> events;
    for (const Event& event : TakeEvents())
        if (event.Kind == EventKind::Drop) events.push_back(event);
    return {enter.isAccepted(), enter.dropAction(), drop.isAccepted(), events};
}

class DropsTest : public testing::Test {
protected:
    void SetUp() override { OpenTestWindow(); }
    void TearDown() override { CloseMainWindow(); }
};

TEST_F(DropsTest, OnlyTheCanvasTakesFilesAndOnlyByCopy) {
    struct Case {
        int target;
        Qt::DropActions actions;
        bool accepted;
    };
    const Case cases[] = {
        {Canvas, Qt::CopyAction, true},         {Canvas, Qt::CopyAction | Qt::MoveAction, true},
        {Canvas, Qt::MoveAction, false},        {Canvas, Qt::LinkAction, false},
        {Mono, Qt::CopyAction, false},          {Lines, Qt::CopyAction, false},
        {Format, Qt::CopyAction, false},        {Background, Qt::CopyAction, false},
        {Window, Qt::CopyAction, false},
    };
    for (const Case& c : cases) {
        const DropResult result = Drop(c.target, {LocalUrl("/tmp/a.sna")}, c.actions);
        EXPECT_EQ(result.enterAccepted, c.accepted) << "target " << c.target << " actions " << c.actions;
        EXPECT_EQ(result.dropAccepted, c.accepted) << "target " << c.target << " actions " << c.actions;
        ASSERT_EQ(result.events.size(), c.accepted ? 1u : 0u) << "target " << c.target;
        if (c.accepted) {
            EXPECT_EQ(result.enterAction, Qt::CopyAction);
            EXPECT_EQ(result.events[0].Number, Canvas);
        }
    }
}

TEST_F(DropsTest, NamesAreLocalPathsJoinedByLineFeeds) {
    struct Case {
        QList<QUrl> urls;
        std::string names;  // empty: refused
    };
    const std::string accented = "/tmp/caf\xc3\xa9 screen.scr";
    const Case cases[] = {
        {{LocalUrl("/tmp/a.sna")}, "/tmp/a.sna"},
        {{LocalUrl("/tmp/a"), LocalUrl("/tmp/b c"), LocalUrl("/tmp/d.tap")}, "/tmp/a\n/tmp/b c\n/tmp/d.tap"},
        {{LocalUrl(accented)}, accented},
        {{QUrl("https://example.org/a.scr"), LocalUrl("/tmp/x")}, "/tmp/x"},
        {{QUrl("https://example.org/a.scr")}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        const DropResult result = Drop(Canvas, c.urls, Qt::CopyAction);
        EXPECT_EQ(result.dropAccepted, !c.names.empty()) << c.names;
        if (c.names.empty()) {
            EXPECT_TRUE(result.events.empty());
        } else {
            ASSERT_EQ(result.events.size(), 1u);
            EXPECT_EQ(result.events[0].DroppedNames, c.names);
        }
    }
}
}  // namespace
