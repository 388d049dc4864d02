#pragma once

#include "platform/backend/headless_backend.h"

#include <functional>
#include <string>
#include <vector>

// Drives modal dialogs in tests: `drive` runs inside the dialog's modal loop
// with the dialog's window; message boxes are answered OK and their texts kept.
// A dialog that `drive` leaves open is cancelled by the backend.
struct DialogDriver
{
    std::function<void(HWND)> drive;
    std::vector<std::wstring> boxTexts;

    void Install(brvl::backend::HeadlessBackend& backend);
};
