#pragma once

// The painting API every custom control, page and graph draws with.
#include "platform/gdiplus/gdiplus_brush.h"
#include "platform/gdiplus/gdiplus_graphics.h"
#include "platform/gdiplus/gdiplus_image.h"
#include "platform/gdiplus/gdiplus_path.h"
#include "platform/gdiplus/gdiplus_pen.h"
#include "platform/gdiplus/gdiplus_startup.h"
#include "platform/gdiplus/gdiplus_text.h"
#include "platform/gdiplus/gdiplus_types.h"
