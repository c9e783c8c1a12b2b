#pragma once
// Records the message boxes shown while it lives, instead of showing them.
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"

struct MessageRecorder {
    using Message = std::pair<std::string, std::string>;  // title, text

    MessageRecorder() {
        SetMessageBoxSeam([this](const std::string& title, const std::string& text) { Shown.emplace_back(title, text); });
    }
    ~MessageRecorder() { SetMessageBoxSeam({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<Message> Shown;
};
