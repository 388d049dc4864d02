#include "platform/mfc/dc.h"

CDC::~CDC()
{
    DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* reference)
{
    if (m_hDC != nullptr)
    {
        return FALSE;
    }
    m_hDC = ::CreateCompatibleDC(reference != nullptr ? reference->m_hDC : nullptr);
    m_ownsDc = m_hDC != nullptr;
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC()
{
    if (!m_ownsDc || m_hDC == nullptr)
    {
        return FALSE;
    }
    ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_ownsDc = false;
    return TRUE;
}

template <typename Wrapper> Wrapper* CDC::Temporary(HGDIOBJ handle)
{
    if (handle == nullptr)
    {
        return nullptr;
    }
    // Temporaries never own their handle: it still belongs to whoever made it.
    struct Borrowed : Wrapper
    {
        ~Borrowed() override { this->m_hObject = nullptr; }
    };
    auto wrapper = std::make_unique<Borrowed>();
    wrapper->m_hObject = handle;
    Wrapper* result = wrapper.get();
    m_temporaries.push_back(std::move(wrapper));
    return result;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return Temporary<CBitmap>(SelectObject(bitmap != nullptr ? bitmap->m_hObject : nullptr));
}

CFont* CDC::SelectObject(CFont* font)
{
    return Temporary<CFont>(SelectObject(font != nullptr ? font->m_hObject : nullptr));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return Temporary<CBrush>(SelectObject(brush != nullptr ? brush->m_hObject : nullptr));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    return ::SelectObject(m_hDC, object);
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return Temporary<CGdiObject>(SelectObject(::GetStockObject(index)));
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                 DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr,
                    sourceX, sourceY, rop);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color)
{
    if (rect == nullptr)
    {
        return;
    }
    const HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(m_hDC, rect, brush);
    ::DeleteObject(brush);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color)
{
    const RECT rect{x, y, x + width, y + height};
    FillSolidRect(&rect, color);
}

void CDC::FillRect(const RECT* rect, CBrush* brush)
{
    ::FillRect(m_hDC, rect, brush != nullptr ? static_cast<HBRUSH>(*brush) : nullptr);
}

void CDC::FrameRect(const RECT* rect, CBrush* brush)
{
    ::FrameRect(m_hDC, rect, brush != nullptr ? static_cast<HBRUSH>(*brush) : nullptr);
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return ::SetTextColor(m_hDC, color);
}

int CDC::SetBkMode(int mode)
{
    return ::SetBkMode(m_hDC, mode);
}

int CDC::DrawText(LPCWSTR text, int length, RECT* rect, UINT format)
{
    return ::DrawTextW(m_hDC, text, length, rect, format);
}

CSize CDC::GetTextExtent(LPCWSTR text, int length) const
{
    SIZE size{};
    ::GetTextExtentPoint32W(m_hDC, text, length, &size);
    return CSize(size.cx, size.cy);
}

int CDC::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(m_hDC, index);
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (object == nullptr || m_hObject != nullptr)
    {
        return FALSE;
    }
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
    {
        return FALSE;
    }
    const BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc != nullptr ? dc->m_hDC : nullptr, width, height));
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    return Attach(::CreateSolidBrush(color));
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* font)
{
    return Attach(::CreateFontIndirectW(font));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCWSTR faceName)
{
    return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                                strikeOut, charSet, outPrecision, clipPrecision, quality,
                                pitchAndFamily, faceName));
}

int CFont::GetLogFont(LOGFONTW* font) const
{
    return ::GetObjectW(m_hObject, sizeof(LOGFONTW), font);
}
