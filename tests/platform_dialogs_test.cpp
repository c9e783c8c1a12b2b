// The open dialog and the message box: the real dialogs answered by a timer,
// and the seams that tests of the commands use.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/dialogs.h"
#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_window.h"
#include "support/temp_dir.h"

namespace {
const std::string Caption = "Any files(*.*)";
const std::string Title = "Please choose file to load";

// Runs answer on the next modal dialog once it is shown.
void AnswerNextDialog(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start(10);
}

// Types a name into the dialog, as a person would, and presses Open.
void TypeIntoDialog(const std::string& path, std::function<void()> then = nullptr) {
    AnswerNextDialog([path, then](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromStdString(path));
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept checks the name
        if (then) then();
    });
}

void CancelDialog() {
    AnswerNextDialog([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
}

class DialogsTest : public testing::Test {
protected:
    void SetUp() override { OpenTestWindow(); }
    void TearDown() override {
        SetOpenDialogSeam(nullptr);
        SetMessageBoxSeam(nullptr);
        CloseMainWindow();
    }
};

TEST_F(DialogsTest, OpenDialogShowsTheCaptionAndListsEveryFile) {
    TempDir folder;
    folder.Write("no-extension", "x");
    folder.Write("screen.scr", "x");
    folder.Write(".hidden.tap", "x");
    QFileDialog dialog(MainWindowWidget(), QString::fromStdString(Title));
    ConfigureOpenDialog(dialog, Caption);
    dialog.setDirectory(QString::fromStdString(folder.Path().string()));
    auto* filterBox = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(filterBox, nullptr);
    ASSERT_EQ(filterBox->count(), 1);
    EXPECT_EQ(filterBox->itemText(0), QString::fromStdString(Caption));
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    dialog.show();
    const QModelIndex root = model->index(QString::fromStdString(folder.Path().string()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(root) >= 2; }, 5000));
    QStringList names;
    for (int row = 0; row < model->rowCount(root); ++row) names << model->index(row, 0, root).data().toString();
    EXPECT_TRUE(names.contains(QStringLiteral("no-extension"))) << names.join(',').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("screen.scr"))) << names.join(',').toStdString();
    EXPECT_EQ(dialog.windowTitle(), QString::fromStdString(Title));
}

TEST_F(DialogsTest, OpenDialogReturnsTheChosenPathAndKeepsTheWorkingDirectory) {
    TempDir folder;
    const std::string existing = folder.Write("a.sna", "x");
    const std::string missing = folder / "not-there.scr";
    const auto workingDirectory = std::filesystem::current_path();
    struct Case {
        std::string choose;  // empty: cancel
        std::string expected;
    };
    const Case cases[] = {{existing, existing}, {missing, missing}, {"", ""}};
    for (const Case& c : cases) {
        if (c.choose.empty()) CancelDialog();
        else TypeIntoDialog(c.choose);
        EXPECT_EQ(ShowOpenDialog(Title, Caption), c.expected) << c.choose;
        EXPECT_EQ(std::filesystem::current_path(), workingDirectory);
    }
}

TEST_F(DialogsTest, AMissingFolderIsNotAnAnswer) {
    TempDir folder;
    int shown = 1;
    // The dialog takes the name; the folder does not exist, so it is shown again.
    TypeIntoDialog(folder / "no-such-folder/a.scr", [&shown] {
        AnswerNextDialog([&shown](QWidget* dialog) {
            ++shown;
            static_cast<QDialog*>(dialog)->reject();
        });
    });
    EXPECT_EQ(ShowOpenDialog(Title, Caption), "");
    EXPECT_EQ(shown, 2);
}

TEST_F(DialogsTest, MessageBoxHasTheTitleTextAndOneOkButton) {
    const std::string text = "error reading file:\n/tmp/<b>a</b>.scr";
    QString shownTitle, shownText;
    int buttons = 0;
    bool modal = false;
    QWidget* owner = nullptr;
    AnswerNextDialog([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        shownTitle = box->windowTitle();
        shownText = box->text();
        buttons = static_cast<int>(box->buttons().size());
        modal = box->isModal();
        owner = box->parentWidget();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->button(QMessageBox::Ok)->click();
    });
    ShowMessageBox("Error!", text);
    EXPECT_EQ(shownTitle, QStringLiteral("Error!"));
    EXPECT_EQ(shownText, QString::fromStdString(text));
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(modal);
    EXPECT_EQ(owner, MainWindowWidget());
}

TEST_F(DialogsTest, SeamsAnswerInsteadOfTheDialogs) {
    std::string askedTitle;
    SetOpenDialogSeam([&](const std::string& title) {
        askedTitle = title;
        return std::string("/tmp/chosen.scr");
    });
    EXPECT_EQ(ShowOpenDialog(Title, Caption), "/tmp/chosen.scr");
    EXPECT_EQ(askedTitle, Title);

    std::string recordedTitle, recordedText;
    SetMessageBoxSeam([&](const std::string& title, const std::string& text) {
        recordedTitle = title;
        recordedText = text;
    });
    ShowMessageBox("Error!", "no file known!");
    EXPECT_EQ(recordedTitle, "Error!");
    EXPECT_EQ(recordedText, "no file known!");
}
}  // namespace
