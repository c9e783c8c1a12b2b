#pragma once
// Runs the real program's start-up in a fresh working directory, and its
// shutdown afterwards, with dialogs answered and messages recorded.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

class AppSession : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Starts the program; a test may write "quillon.ini" first and call it itself.
    void Start();
    // Quits through the close request, as the user would, and runs the shutdown.
    void Stop();
    // Runs loop passes while events are waiting.
    void Drain();

    std::string Title() const;
    // The canvas's pixel at x, y as red + 256 green + 65536 blue.
    uint32_t CanvasPixel(int x, int y) const;
    // Paints the whole canvas picture one colour, to see whether a redraw replaced it.
    void MarkCanvas(uint32_t colour) const;
    bool CanvasIs(uint32_t colour) const;

    TempDir dir;
    std::vector<std::pair<std::string, std::string>> messages;  // title, text
    std::string dialogAnswer;
    int dialogShown = 0;
    bool started = false;

private:
    std::string oldDirectory;
};

// Bytes of a file made of screens whose every byte tells its offset apart.
std::string PatternBytes(std::size_t size, unsigned seed = 1);
