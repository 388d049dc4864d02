#include "platform/gdiplus/gdiplus_image.h"

#include "base/atomic_file.h"
#include "base/unicode_text.h"
#include "platform/win32/gdi.h"

#include <cairo.h>

#include <algorithm>
#include <string>
#include <vector>

namespace Gdiplus
{

namespace
{

// Surfaces are addressed with 16-bit coordinates by the window system.
constexpr int kMaxSurfaceSide = 32767;

// Our own identifier for the one encoder; callers find it by its MIME type.
constexpr CLSID kBmpEncoderClsid{0x42524D56, 0x4250, 0x4D50, {0x8B, 0x4D, 0x50, 0x00, 0, 0, 0, 1}};

const ImageCodecInfo kBmpEncoder{kBmpEncoderClsid, L"image/bmp", L"BMP", L"*.BMP;*.DIB"};

struct MemoryReader
{
    const unsigned char* data;
    size_t size;
    size_t offset;
};

cairo_status_t ReadFromMemory(void* closure, unsigned char* out, unsigned int length)
{
    auto* reader = static_cast<MemoryReader*>(closure);
    if (reader->size - reader->offset < length)
    {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::copy_n(reader->data + reader->offset, length, out);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

void PutLe16(std::string& out, uint16_t v)
{
    out += char(v & 0xFF);
    out += char(v >> 8);
}

void PutLe32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
    {
        out += char((v >> (8 * i)) & 0xFF);
    }
}

} // namespace

Status GetImageEncodersSize(unsigned* count, unsigned* size)
{
    if (count == nullptr || size == nullptr)
    {
        return InvalidParameter;
    }
    *count = 1;
    *size = sizeof(ImageCodecInfo);
    return Ok;
}

Status GetImageEncoders(unsigned count, unsigned size, ImageCodecInfo* encoders)
{
    if (encoders == nullptr || count < 1 || size < sizeof(ImageCodecInfo))
    {
        return InvalidParameter;
    }
    encoders[0] = kBmpEncoder;
    return Ok;
}

Image::Image(cairo_surface_t* surface)
{
    Adopt(surface);
}

Image::~Image()
{
    if (m_surface != nullptr)
    {
        cairo_surface_destroy(m_surface);
    }
}

void Image::Adopt(cairo_surface_t* surface)
{
    if (surface == nullptr || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
    {
        if (surface != nullptr)
        {
            cairo_surface_destroy(surface);
        }
        m_surface = nullptr;
        m_status = GenericError;
        return;
    }
    m_surface = surface;
    m_status = Ok;
}

unsigned Image::GetWidth() const
{
    return m_surface != nullptr ? unsigned(cairo_image_surface_get_width(m_surface)) : 0;
}

unsigned Image::GetHeight() const
{
    return m_surface != nullptr ? unsigned(cairo_image_surface_get_height(m_surface)) : 0;
}

Status Image::Save(const wchar_t* path, const CLSID* encoder, const EncoderParameters*)
{
    if (path == nullptr || encoder == nullptr || m_surface == nullptr)
    {
        return InvalidParameter;
    }
    if (!(*encoder == kBmpEncoderClsid))
    {
        return UnknownImageFormat;
    }
    cairo_surface_flush(m_surface);
    const int width = cairo_image_surface_get_width(m_surface);
    const int height = cairo_image_surface_get_height(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    const unsigned char* pixels = cairo_image_surface_get_data(m_surface);

    // 24-bit rows padded to four bytes, stored bottom-up.
    const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(height);
    constexpr uint32_t kHeaderBytes = 14 + 40;
    std::string file;
    file.reserve(kHeaderBytes + imageBytes);
    file += "BM";
    PutLe32(file, kHeaderBytes + imageBytes);
    PutLe32(file, 0);
    PutLe32(file, kHeaderBytes);
    PutLe32(file, 40);
    PutLe32(file, uint32_t(width));
    PutLe32(file, uint32_t(height));
    PutLe16(file, 1);
    PutLe16(file, 24);
    PutLe32(file, 0); // BI_RGB
    PutLe32(file, imageBytes);
    PutLe32(file, 2835); // 72 DPI in pixels per metre
    PutLe32(file, 2835);
    PutLe32(file, 0);
    PutLe32(file, 0);
    for (int y = height - 1; y >= 0; --y)
    {
        const auto* row = reinterpret_cast<const uint32_t*>(pixels + size_t(y) * size_t(stride));
        for (int x = 0; x < width; ++x)
        {
            const uint32_t p = row[x];
            file += char(p & 0xFF);
            file += char((p >> 8) & 0xFF);
            file += char((p >> 16) & 0xFF);
        }
        file.append(rowBytes - uint32_t(width) * 3, '\0');
    }
    return WriteFileAtomically(WidePathToFs(path), file) ? Ok : GenericError;
}

Status Image::SaveAsPng(const std::string& utf8Path) const
{
    if (m_surface == nullptr)
    {
        return InvalidParameter;
    }
    return cairo_surface_write_to_png(m_surface, utf8Path.c_str()) == CAIRO_STATUS_SUCCESS
               ? Ok
               : GenericError;
}

Bitmap::Bitmap(int width, int height, PixelFormat format)
{
    if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
    {
        m_status = InvalidParameter;
        return;
    }
    const cairo_format_t cairoFormat =
        (format == PixelFormat24bppRGB || format == PixelFormat32bppRGB) ? CAIRO_FORMAT_RGB24
                                                                         : CAIRO_FORMAT_ARGB32;
    Adopt(cairo_image_surface_create(cairoFormat, width, height));
}

Bitmap::Bitmap(const wchar_t* path, bool)
{
    if (path == nullptr)
    {
        m_status = InvalidParameter;
        return;
    }
    Adopt(cairo_image_surface_create_from_png(WidePathToFs(path).c_str()));
    if (m_status != Ok)
    {
        m_status = FileNotFound;
    }
}

Bitmap* Bitmap::FromFile(const wchar_t* path, bool useEmbeddedColorManagement)
{
    return new Bitmap(path, useEmbeddedColorManagement);
}

Bitmap* Bitmap::FromMemory(const void* pngBytes, size_t size)
{
    auto* bitmap = new Bitmap();
    if (pngBytes == nullptr)
    {
        bitmap->m_status = InvalidParameter;
        return bitmap;
    }
    MemoryReader reader{static_cast<const unsigned char*>(pngBytes), size, 0};
    bitmap->Adopt(cairo_image_surface_create_from_png_stream(ReadFromMemory, &reader));
    if (bitmap->m_status != Ok)
    {
        bitmap->m_status = UnknownImageFormat;
    }
    return bitmap;
}

Bitmap* Bitmap::FromHBITMAP(HBITMAP bitmap, void*)
{
    return FromSurface(brvl::gdi::SurfaceOfBitmap(bitmap));
}

Bitmap* Bitmap::FromSurface(cairo_surface_t* surface)
{
    auto* bitmap = new Bitmap();
    if (surface == nullptr || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
    {
        bitmap->m_status = InvalidParameter;
        return bitmap;
    }
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(copy);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    bitmap->Adopt(copy);
    return bitmap;
}

Status Bitmap::GetPixel(int x, int y, Color* color) const
{
    if (m_surface == nullptr || color == nullptr || x < 0 || y < 0 || x >= int(GetWidth()) ||
        y >= int(GetHeight()))
    {
        return InvalidParameter;
    }
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    const uint32_t p = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride))[x];
    const bool hasAlpha = cairo_image_surface_get_format(m_surface) == CAIRO_FORMAT_ARGB32;
    const uint32_t a = hasAlpha ? (p >> 24) : 255;
    auto unpremultiply = [a](uint32_t c) -> uint8_t
    { return a == 0 ? 0 : uint8_t(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
    *color = Color(uint8_t(a), unpremultiply((p >> 16) & 0xFF), unpremultiply((p >> 8) & 0xFF),
                   unpremultiply(p & 0xFF));
    return Ok;
}

Status Bitmap::SetPixel(int x, int y, const Color& color)
{
    if (m_surface == nullptr || x < 0 || y < 0 || x >= int(GetWidth()) || y >= int(GetHeight()))
    {
        return InvalidParameter;
    }
    cairo_surface_flush(m_surface);
    unsigned char* data = cairo_image_surface_get_data(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    const uint32_t a = color.GetA();
    auto premultiply = [a](uint32_t c) { return (c * a + 127) / 255; };
    reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride))[x] =
        (a << 24) | (premultiply(color.GetR()) << 16) | (premultiply(color.GetG()) << 8) |
        premultiply(color.GetB());
    cairo_surface_mark_dirty(m_surface);
    return Ok;
}

Status ImageAttributes::SetColorMatrix(const ColorMatrix* matrix, ColorMatrixFlags, ColorAdjustType)
{
    if (matrix == nullptr)
    {
        return InvalidParameter;
    }
    m_matrix = *matrix;
    m_hasMatrix = true;
    return Ok;
}

Status ImageAttributes::ClearColorMatrix(ColorAdjustType)
{
    m_hasMatrix = false;
    return Ok;
}

} // namespace Gdiplus
