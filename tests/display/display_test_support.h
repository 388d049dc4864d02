#pragma once

#include "platform/backend/wx/display_backend.h"
#include "platform/mfc/afx_controls.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

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

// The colour of a pixel of a PNG, as 0xRRGGBB.
std::uint32_t PixelOfPng(const std::filesystem::path& path, POINT at);

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
