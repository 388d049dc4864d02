#pragma once

#include "platform/backend/wx/display_backend.h"
#include "platform/mfc/afx_controls.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

// Helpers for tests under a real (virtual) display. Under Xvfb there is no
// window manager: nothing relies on activation or focus of top-levels by it.

extern const std::filesystem::path kDisplayOutput;

bool Elapsed(std::chrono::steady_clock::time_point start, std::chrono::milliseconds limit);

// Runs a shell command (xdotool) on another thread while the interface thread
// keeps dispatching, then dispatches until `done` or the time limit.
bool RunWhileDispatching(const std::string& command, const std::function<bool()>& done,
                         std::chrono::milliseconds limit = std::chrono::seconds(10));

void DispatchFor(std::chrono::milliseconds time);

std::string Xdotool(const std::string& arguments);
std::string At(POINT screen); // "x y"
POINT ScreenOf(const CWnd& wnd, int x, int y);

// Runs a shell command (xdotool) on its own thread from construction on, while
// this thread goes on into what the command answers (a modal loop, a native
// box); Finish waits for the command and gives its exit status.
class BackgroundCommand
{
public:
    explicit BackgroundCommand(std::string command);
    ~BackgroundCommand();

    BackgroundCommand(const BackgroundCommand&) = delete;
    BackgroundCommand& operator=(const BackgroundCommand&) = delete;

    int Finish();

private:
    std::atomic<int> m_status{-1};
    std::thread m_thread;
};

// The command that answers a native box: it waits until a visible window
// titled `title` shows, puts the pointer at `at` (keys go to the window under
// the pointer; no window manager gives the box the focus) and runs `actions`
// ("sleep 0.3 key Return").
std::string AnswerBoxAt(const std::string& title, POINT at, const std::string& actions);

// The colour of a pixel of a PNG, as 0xRRGGBB.
std::uint32_t PixelOfPng(const std::filesystem::path& path, POINT at);

// How many pixels of `topLevel`'s client area differ between the screen
// picture `shot` and the tree's own composition of that window.
int PixelsUnlikeTheTree(const std::filesystem::path& shot, const CWnd& topLevel);

// Skips without a display; a frame with a red panel that paints itself and a
// push button (id 100) on a blue ground.
class DisplayTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    void MakeFrame();

    MessageLog log;
    RecordingWnd frame{"frame", log};
    RecordingWnd panel{"panel", log};
    CButton button;
};
