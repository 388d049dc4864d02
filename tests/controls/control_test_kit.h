#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// What the toolkit's tests share: a parent that hears a control's messages
// (and reads the control's value while the message is being sent), pictures
// written under the build folder, and pixel probes.

// Where a test's picture goes; the path is printed so a reader can open it.
std::filesystem::path ControlPicturePath(const std::string& name);

// Writes `bitmap` to ControlPicturePath(name); false when it cannot.
bool SaveControlPicture(Gdiplus::Bitmap& bitmap, const std::string& name);

// The colour of one pixel, as a COLORREF.
COLORREF PixelAt(Gdiplus::Bitmap& bitmap, int x, int y);

// How many pixels of two pictures of the same size differ.
int DifferingPixels(Gdiplus::Bitmap& a, Gdiplus::Bitmap& b);

// A top-level parent and the messages its controls sent it.
class ControlTest : public WindowTest
{
protected:
    struct Heard
    {
        UINT message;
        CBaseControlWnd* control;
        double value; // the control's GetValue while the message was being sent
    };

    void SetUp() override;

    // Creates `control` in the parent at `rect`, and forgets what creation sent.
    void CreateIn(CBaseControlWnd& control, const RECT& rect, UINT id = 1);

    // The screen point of a client point of `control`.
    static POINT At(const CWnd& control, int x, int y) { return ScreenPoint(control, x, y); }

    int Count(UINT message) const;

    RecordingWnd parent{"parent", log};
    std::vector<Heard> heard;
};
