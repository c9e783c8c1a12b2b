#pragma once
// Modal dialogs owned by the main window, with seams that tests answer.
#include <functional>
#include <string>

// The open-file dialog: one filter shown as filterCaption that lists every
// file; does not change the working directory. Returns "" when cancelled.
std::string ShowOpenDialog(const std::string& title, const std::string& filterCaption);
// A modal message box with one OK button.
void ShowMessageBox(const std::string& title, const std::string& text);

// Tests: answer the dialog or record the message instead of showing it.
// An empty function restores the real dialog.
void SetOpenDialogSeam(std::function<std::string(const std::string& title)> answer);
void SetMessageBoxSeam(std::function<void(const std::string& title, const std::string& text)> record);
