// Where the toolbar's images come from and the two caches that keep decoding
// and scaling out of every layout and paint.

#include "app/toolbar_host_wnd.h"

#include "base/unicode_text.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/resource_data.h"
#include "platform/win32/shell_folders.h"

#include <algorithm>

namespace
{

// Surrounding white space removed.
std::wstring Trimmed(const std::wstring& text)
{
    CString trimmed(text.c_str());
    return trimmed.Trim().Str();
}

// Forms that are absolute on either system: "C:..." and "\\server...", and "/...".
bool IsAbsoluteFolder(const std::wstring& folder)
{
    return (folder.size() > 1 && folder[1] == L':') || folder.rfind(L"\\\\", 0) == 0 ||
           folder.rfind(L"/", 0) == 0;
}

bool EndsWithSeparator(const std::wstring& folder)
{
    return !folder.empty() && (folder.back() == L'/' || folder.back() == L'\\');
}

// The face whose image an item shows; null for separators and labels.
const ToolbarButtonFace* ImageFace(const ToolbarItem& item)
{
    switch (item.def.type)
    {
    case ToolbarButtonDef::kButton:
        return &item.def.button;
    case ToolbarButtonDef::kGroupToggle:
        return &item.def.group;
    default:
        return nullptr;
    }
}

} // namespace

std::wstring CToolbarHostWnd::ResolvedResourceFolder() const
{
    if (!m_resourceFolderRelative || IsAbsoluteFolder(m_resourceFolder))
    {
        return m_resourceFolder;
    }
    // The full module path, whatever its length.
    const std::wstring module = brvl::win32::ModulePath();
    const size_t slash = module.find_last_of(L'/');
    const std::wstring programFolder = slash == std::wstring::npos ? L"" : module.substr(0, slash);
    if (m_resourceFolder.empty())
    {
        return programFolder;
    }
    return programFolder + L"/" + m_resourceFolder;
}

std::wstring CToolbarHostWnd::ImageFilePath(const std::wstring& imageName) const
{
    std::wstring path = ResolvedResourceFolder();
    if (!path.empty() && !EndsWithSeparator(path))
    {
        path += L"/";
    }
    std::wstring name = Trimmed(imageName);
    if (name.find(L'.') == std::wstring::npos)
    {
        name += L".png";
    }
    return path + name;
}

Gdiplus::Image* CToolbarHostWnd::LoadPngResource(const std::wstring& name)
{
    const std::wstring trimmed = Trimmed(name);
    std::optional<std::string_view> bytes;
    if (!trimmed.empty() && std::all_of(trimmed.begin(), trimmed.end(),
                                        [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
    {
        // A number too large for an id names no resource.
        if (trimmed.size() <= 9)
        {
            bytes = brvl::win32::FindResourceData("png", static_cast<UINT>(std::stoul(trimmed)));
        }
    }
    else
    {
        bytes = brvl::win32::FindResourceData("png", WideToUtf8(name));
    }
    if (!bytes || bytes->empty())
    {
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Bitmap> image(
        Gdiplus::Bitmap::FromMemory(bytes->data(), bytes->size()));
    if (image == nullptr || image->GetLastStatus() != Gdiplus::Ok)
    {
        return nullptr;
    }
    return image.release();
}

Gdiplus::Image* CToolbarHostWnd::GetImage(const ToolbarItem& item)
{
    const ToolbarButtonFace* face = ImageFace(item);
    if (face == nullptr || face->imageName.empty())
    {
        return nullptr;
    }
    const std::wstring key = std::to_wstring(face->imageSource) + L"|" + face->imageName;
    if (const auto cached = m_images.find(key); cached != m_images.end())
    {
        return cached->second.get();
    }
    std::unique_ptr<Gdiplus::Image> image;
    if (face->imageSource == 1)
    {
        image.reset(Gdiplus::Bitmap::FromFile(ImageFilePath(face->imageName).c_str()));
        if (image != nullptr && image->GetLastStatus() != Gdiplus::Ok)
        {
            image.reset();
        }
    }
    else
    {
        image.reset(LoadPngResource(face->imageName));
    }
    // A failure is not remembered: the file may appear later.
    if (image == nullptr)
    {
        return nullptr;
    }
    return (m_images[key] = std::move(image)).get();
}

Gdiplus::Image* CToolbarHostWnd::GetScaledImage(const ToolbarItem& item, int height)
{
    Gdiplus::Image* source = GetImage(item);
    if (source == nullptr || height <= 0 || source->GetHeight() == 0)
    {
        return nullptr;
    }
    const ToolbarButtonFace& face = *ImageFace(item);
    const std::wstring key = std::to_wstring(face.imageSource) + L"|" +
                             std::to_wstring(static_cast<unsigned>(face.commandId)) + L"|" +
                             face.imageName;
    auto& heights = m_scaledImages[key];
    if (const auto cached = heights.find(height); cached != heights.end())
    {
        return cached->second.get();
    }
    const int width = std::max(1, MulDiv(static_cast<int>(source->GetWidth()), height,
                                         static_cast<int>(source->GetHeight())));
    auto scaled = std::make_unique<Gdiplus::Bitmap>(width, height, Gdiplus::PixelFormat32bppARGB);
    if (scaled->GetLastStatus() != Gdiplus::Ok)
    {
        return nullptr;
    }
    {
        Gdiplus::Graphics graphics(scaled.get());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        graphics.DrawImage(source, Gdiplus::Rect(0, 0, width, height));
    }
    return (heights[height] = std::move(scaled)).get();
}

void CToolbarHostWnd::ClearScaledImageCache()
{
    m_scaledImages.clear();
}

void CToolbarHostWnd::ClearImageCache()
{
    m_images.clear();
}

size_t CToolbarHostWnd::ScaledImageCount() const
{
    size_t count = 0;
    for (const auto& entry : m_scaledImages)
    {
        count += entry.second.size();
    }
    return count;
}
