#include "tests/controls/control_test_kit.h"

#include <algorithm>
#include <iostream>

std::filesystem::path ControlPicturePath(const std::string& name)
{
    return std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / (name + ".png");
}

bool SaveControlPicture(Gdiplus::Bitmap& bitmap, const std::string& name)
{
    const std::filesystem::path path = ControlPicturePath(name);
    std::cout << "picture: " << path.string() << '\n';
    return bitmap.SaveAsPng(path.string()) == Gdiplus::Ok;
}

COLORREF PixelAt(Gdiplus::Bitmap& bitmap, int x, int y)
{
    Gdiplus::Color color;
    bitmap.GetPixel(x, y, &color);
    return color.ToCOLORREF();
}

int DifferingPixels(Gdiplus::Bitmap& a, Gdiplus::Bitmap& b)
{
    int differing = 0;
    for (int y = 0; y < int(a.GetHeight()); ++y)
    {
        for (int x = 0; x < int(a.GetWidth()); ++x)
        {
            differing += PixelAt(a, x, y) != PixelAt(b, x, y) ? 1 : 0;
        }
    }
    return differing;
}

void ControlTest::SetUp()
{
    ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 840, 640)));
    for (const UINT message : {WMU_CONTROL_CHANGED, WMU_CONTROL_COMMIT})
    {
        parent.On(message,
                  [this, message](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      auto* control = reinterpret_cast<CBaseControlWnd*>(lParam);
                      heard.push_back({message, control, control->GetValue()});
                      return 0;
                  });
    }
    Settle();
}

void ControlTest::CreateIn(CBaseControlWnd& control, const RECT& rect, UINT id)
{
    ASSERT_TRUE(control.Create(rect, &parent, id));
    Settle();
    heard.clear();
}

int ControlTest::Count(UINT message) const
{
    return static_cast<int>(std::count_if(
        heard.begin(), heard.end(), [message](const Heard& h) { return h.message == message; }));
}
