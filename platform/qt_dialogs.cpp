// The open dialog and the message box, each with a seam for tests.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

#include "platform/dialogs.h"
#include "platform/qt_internal.h"

namespace {
std::function<std::string(const std::string&)> OpenDialogSeam;
std::function<void(const std::string&, const std::string&)> MessageBoxSeam;
}  // namespace

void ConfigureOpenDialog(QFileDialog& dialog, const std::string& filterCaption) {
    // Qt's own dialog on every desktop: it shows the filter exactly as given
    // and never changes the working directory.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a missing file comes back too; the loader reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caption reads "(*.*)", but that glob would hide names without a dot:
    // the pattern behind it is "*", and only the caption is shown.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QString::fromStdString(filterCaption) + QStringLiteral(" (*)"));
}

std::string ShowOpenDialog(const std::string& title, const std::string& filterCaption) {
    if (OpenDialogSeam) return OpenDialogSeam(title);
    if (QCoreApplication::instance() == nullptr) return {};
    QFileDialog dialog(MainWindowWidget(), QString::fromStdString(title));
    ConfigureOpenDialog(dialog, filterCaption);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return {};
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) return {};
        const QFileInfo file(chosen.first());
        // The folder must exist, the file need not: ask again for a missing folder.
        if (file.dir().exists()) return QFile::encodeName(file.absoluteFilePath()).toStdString();
    }
}

void ShowMessageBox(const std::string& title, const std::string& text) {
    if (MessageBoxSeam) {
        MessageBoxSeam(title, text);
        return;
    }
    if (QCoreApplication::instance() == nullptr) return;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, MainWindowWidget());
    // Paths in the text are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void SetOpenDialogSeam(std::function<std::string(const std::string& title)> answer) {
    OpenDialogSeam = std::move(answer);
}

void SetMessageBoxSeam(std::function<void(const std::string& title, const std::string& text)> record) {
    MessageBoxSeam = std::move(record);
}
