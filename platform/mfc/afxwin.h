#pragma once

// What window code includes: the Win32 surface and the framework's window classes.
#include "platform/mfc/afx_controls.h"
#include "platform/mfc/afx_geometry.h"
#include "platform/mfc/afx_message_box.h"
#include "platform/mfc/cmd_target.h"
#include "platform/mfc/common_dialogs.h"
#include "platform/mfc/cstring.h"
#include "platform/mfc/dc.h"
#include "platform/mfc/dialog.h"
#include "platform/mfc/runtime_class.h"
#include "platform/mfc/wnd.h"
#include "platform/win32/message_box.h"
#include "platform/win32/posted_payload.h"
#include "platform/win32/window_api.h"
