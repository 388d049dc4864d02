// What every window of the profile pages promises, over one table: a window
// joins by adding its row to kProfileWindowRows.

#include "profiles/profile_creator_viewport_wnd.h"
#include "profiles/profile_editor_page_wnd.h"
#include "profiles/reference_profile_viewport_wnd.h"
#include "profiles/spectrum_spline_editor_wnd.h"
#include "profiles/stereo_bloom_wnd.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace
{

struct ProfileWindowRow
{
    const char* name;
    CSize size;
    std::unique_ptr<CWnd> (*create)(CWnd& parent, const CRect& rect);
    // Paints the window's snapshot at `size` with its Draw.
    void (*drawAt)(Gdiplus::Graphics& graphics, CWnd& window, CSize size);
};

template <typename Window> std::unique_ptr<CWnd> CreateWindowIn(CWnd& parent, const CRect& rect)
{
    auto window = std::make_unique<Window>();
    return window->Create(rect, &parent, 1) ? std::move(window) : nullptr;
}

// The creator page takes no id: the view's page always has its own.
template <>
std::unique_ptr<CWnd> CreateWindowIn<CProfileCreatorViewportWnd>(CWnd& parent, const CRect& rect)
{
    auto window = std::make_unique<CProfileCreatorViewportWnd>();
    return window->Create(rect, &parent) ? std::move(window) : nullptr;
}

template <typename Window> void DrawSnapshot(Gdiplus::Graphics& graphics, CWnd& window, CSize size)
{
    typename Window::State state = static_cast<Window&>(window).GetState();
    state.size = size;
    Window::Draw(graphics, state);
}

// The page is made as its owner makes it, with the page's own id.
std::unique_ptr<CWnd> CreateProfileEditorPage(CWnd& parent, const CRect& rect)
{
    auto page = std::make_unique<CReferenceProfileEditorViewportWnd>();
    return page->Create(rect, &parent) ? std::move(page) : nullptr;
}

const ProfileWindowRow kProfileWindowRows[] = {
    {"CProfileSpectrumEditorWnd", CSize(600, 300), &CreateWindowIn<CProfileSpectrumEditorWnd>,
     &DrawSnapshot<CProfileSpectrumEditorWnd>},
    {"CProfileStereoBloomWnd", CSize(480, 320), &CreateWindowIn<CProfileStereoBloomWnd>,
     &DrawSnapshot<CProfileStereoBloomWnd>},
    {"CReferenceProfileViewportWnd", CSize(760, 520), &CreateWindowIn<CReferenceProfileViewportWnd>,
     &DrawSnapshot<CReferenceProfileViewportWnd>},
    {"CReferenceProfileEditorViewportWnd", CSize(960, 520), &CreateProfileEditorPage,
     &DrawSnapshot<CReferenceProfileEditorViewportWnd>},
    {"CProfileCreatorViewportWnd", CSize(760, 520), &CreateWindowIn<CProfileCreatorViewportWnd>,
     &DrawSnapshot<CProfileCreatorViewportWnd>},
};

class ProfileWindowConformance : public WindowTest,
                                 public ::testing::WithParamInterface<ProfileWindowRow>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 840, 640)));
        window = GetParam().create(parent, CRect(CPoint(20, 20), GetParam().size));
        ASSERT_NE(window, nullptr);
        Settle();
    }

    RecordingWnd parent{"parent", log};
    std::unique_ptr<CWnd> window;
};

TEST_P(ProfileWindowConformance, PaintsAtZeroTinyAndHugeSizesAndLeavesTheGraphicsUsable)
{
    const Gdiplus::Color marker(255, 1, 2, 3);
    for (const CSize size : {CSize(0, 0), CSize(1, 1), CSize(4000, 3000)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        Gdiplus::Bitmap bitmap(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
        Gdiplus::Graphics graphics(&bitmap);
        GetParam().drawAt(graphics, *window, size);
        // A Cairo context in its error state would silently drop this.
        const Gdiplus::SolidBrush brush(marker);
        graphics.FillRectangle(&brush, 0, 0, 1, 1);
        EXPECT_EQ(PixelAt(bitmap, 0, 0), marker.ToCOLORREF()) << "Draw left the Graphics unusable";

        window->MoveWindow(20, 20, size.cx, size.cy);
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(window->GetSafeHwnd(), picture));
    }
}

TEST_P(ProfileWindowConformance, PaintsTheSamePictureTwice)
{
    const std::string name = std::string(GetParam().name) + "_conformance";
    ASSERT_TRUE(RenderWindowToPng(window->GetSafeHwnd(), ControlPicturePath(name)));
    WindowPicture first;
    ASSERT_TRUE(ComposeWindowPicture(window->GetSafeHwnd(), first));
    window->Invalidate();
    WindowPicture second;
    ASSERT_TRUE(ComposeWindowPicture(window->GetSafeHwnd(), second));
    EXPECT_TRUE(first.pixels == second.pixels) << "two paints of one state differ";
    EXPECT_TRUE(std::any_of(first.pixels.begin(), first.pixels.end(),
                            [](std::uint32_t pixel) { return pixel != 0xFF000000u; }))
        << "nothing painted";
}

std::string RowName(const ::testing::TestParamInfo<ProfileWindowRow>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileWindowConformance,
                         ::testing::ValuesIn(kProfileWindowRows), RowName);

} // namespace
