#pragma once

#include "platform/gdiplus/gdiplus_types.h"
#include "platform/win32/win_types.h"

#include <cstddef>
#include <cstring>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace Gdiplus
{

struct CLSID
{
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
    bool operator==(const CLSID& other) const
    {
        return std::memcmp(this, &other, sizeof(CLSID)) == 0;
    }
};

struct ImageCodecInfo
{
    CLSID Clsid;
    const wchar_t* MimeType = nullptr;
    const wchar_t* FormatDescription = nullptr;
    const wchar_t* FilenameExtension = nullptr;
};

struct EncoderParameters;

// One encoder is known: BMP. Sizes follow the two-call pattern of the API.
Status GetImageEncodersSize(unsigned* count, unsigned* size);
Status GetImageEncoders(unsigned count, unsigned size, ImageCodecInfo* encoders);

// A picture in memory: a Cairo image surface (ARGB32, straight alpha on the
// outside, premultiplied inside).
class Image
{
public:
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    unsigned GetWidth() const;
    unsigned GetHeight() const;
    Status GetLastStatus() const { return m_status; }

    // Writes a 24-bit bottom-up BMP when `encoder` is the BMP encoder.
    Status Save(const wchar_t* path, const CLSID* encoder,
                const EncoderParameters* params = nullptr);

    // For tests and tools: the image as a PNG file.
    Status SaveAsPng(const std::string& utf8Path) const;

    cairo_surface_t* Surface() const { return m_surface; }

protected:
    Image() = default;
    explicit Image(cairo_surface_t* surface);
    void Adopt(cairo_surface_t* surface);

    cairo_surface_t* m_surface = nullptr;
    Status m_status = Ok;
};

class Bitmap : public Image
{
public:
    // Transparent at creation; sizes outside 1..32767 fail with a status.
    Bitmap(int width, int height, PixelFormat format = PixelFormat32bppARGB);
    // Decodes a PNG file; a failure leaves a 0 x 0 bitmap with a failed status.
    explicit Bitmap(const wchar_t* path, bool useEmbeddedColorManagement = false);

    static Bitmap* FromFile(const wchar_t* path, bool useEmbeddedColorManagement = false);
    static Bitmap* FromMemory(const void* pngBytes, size_t size);
    // A copy of a GDI bitmap's pixels (the palette is not used).
    static Bitmap* FromHBITMAP(HBITMAP bitmap, void* palette);
    // Wraps a copy of an existing surface's pixels.
    static Bitmap* FromSurface(cairo_surface_t* surface);

    Status GetPixel(int x, int y, Color* color) const;
    Status SetPixel(int x, int y, const Color& color);

private:
    Bitmap() = default;
};

// A 5 x 5 matrix applied to straight colours in 0..1 as a row vector times the
// matrix, then clamped.
struct ColorMatrix
{
    REAL m[5][5];
};

enum ColorMatrixFlags
{
    ColorMatrixFlagsDefault = 0,
};

enum ColorAdjustType
{
    ColorAdjustTypeDefault = 0,
    ColorAdjustTypeBitmap = 1,
};

class ImageAttributes
{
public:
    Status SetColorMatrix(const ColorMatrix* matrix,
                          ColorMatrixFlags flags = ColorMatrixFlagsDefault,
                          ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorMatrix(ColorAdjustType type = ColorAdjustTypeDefault);
    const ColorMatrix* Matrix() const { return m_hasMatrix ? &m_matrix : nullptr; }

private:
    ColorMatrix m_matrix{};
    bool m_hasMatrix = false;
};

} // namespace Gdiplus
