#pragma once

// Internal to the painting layers: the Pango layouts that GDI text calls and
// GDI+ strings are both drawn with, so the two render text the same way.

#include <pango/pangocairo.h>

#include <memory>
#include <string>

namespace brvl::win32
{

struct GObjectDeleter
{
    void operator()(void* object) const { g_object_unref(object); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectDeleter>;

// UTF-8 of `length` wide characters (-1: up to the terminating zero), with
// "\r\n" read as one line break.
std::string PlainTextUtf8(const wchar_t* text, int length);

// A plain-text layout (never markup) in the mapped family at an em size in pixels.
LayoutPtr MakeTextLayout(cairo_t* cr, const std::string& utf8, const std::wstring& family,
                         double emPx, bool bold, bool italic);

struct TextExtent
{
    double width;
    double height;
};

TextExtent LogicalExtent(PangoLayout* layout);

// The Pango family that a requested family name is drawn with: "Segoe UI" and
// "MS Shell Dlg" are Open Sans, "Times New Roman" is Liberation Serif, anything
// else the default sans. Never fails.
std::string MapFontFamily(const std::wstring& family);

} // namespace brvl::win32
