#include "profiles/stereo_bloom_wnd.h"

#include "controls/base/painting_helpers.h"
#include "profiles/stereo_bloom_painter.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The view's area at 480 x 320: 432 wide, 272 high, rows of 45 pixels.
constexpr RECT kArea{24, 30, 456, 302};

TEST(StereoBloomLayout, RadiiGrowFromTheNarrowestToTheWidestBand)
{
    const std::vector<double> widths = {0, 1, kNaN, kInf, -3, 0.5};
    const std::vector<BloomBand> bands = LayOutStereoBloom(kArea, widths);
    ASSERT_EQ(bands.size(), 6u);
    const double w = 432;
    const double h = 272;
    struct Case
    {
        std::size_t band;
        double width;
        double rx;
        double ry;
    };
    const Case cases[] = {
        {0, 0.0, 0.78 * 0.12 * w, 0.8 * 0.055 * h}, {1, 1.0, 2.63 * 0.12 * w, 2.25 * 0.055 * h},
        {2, 0.0, 0.78 * 0.12 * w, 0.8 * 0.055 * h}, {3, 0.0, 0.78 * 0.12 * w, 0.8 * 0.055 * h},
        {4, 0.0, 0.78 * 0.12 * w, 0.8 * 0.055 * h}, {5, 0.5, 1.705 * 0.12 * w, 1.525 * 0.055 * h},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.band);
        const BloomBand& band = bands[c.band];
        EXPECT_EQ(band.width, c.width) << "non-finite widths count as 0, others are held";
        EXPECT_NEAR(band.radiusX, c.rx, 1e-3);
        EXPECT_NEAR(band.radiusY, c.ry, 1e-3);
        EXPECT_EQ(band.centre.X, 240.0f);
        EXPECT_EQ(band.centre.Y, float(302 - (c.band + 0.5) * 45)) << "band 0 at the bottom";
    }
}

TEST(StereoBloomLayout, BandColoursMoveTowardsWarmWhiteAsTheyWiden)
{
    const COLORREF narrow[] = {RGB(0x58, 0x8E, 0xEC), RGB(0x54, 0xB6, 0xDC), RGB(0x70, 0xC4, 0x9A),
                               RGB(0xD6, 0xBA, 0x60), RGB(0xE8, 0x9A, 0x5C), RGB(0xE6, 0x7A, 0x70)};
    const COLORREF wide[] = {RGB(0x76, 0xA0, 0xE9), RGB(0x72, 0xC1, 0xDC), RGB(0x89, 0xCC, 0xA5),
                             RGB(0xDD, 0xC4, 0x76), RGB(0xEC, 0xAA, 0x73), RGB(0xEA, 0x8F, 0x83)};
    const std::vector<BloomBand> zero = LayOutStereoBloom(kArea, std::vector<double>(6, 0.0));
    const std::vector<BloomBand> one = LayOutStereoBloom(kArea, std::vector<double>(6, 1.0));
    for (std::size_t i = 0; i < 6; ++i)
    {
        EXPECT_EQ(zero[i].color, narrow[i]) << "band " << i << " at width 0";
        EXPECT_EQ(one[i].color, wide[i]) << "band " << i << " at width 1";
    }
}

TEST(StereoBloomLayout, ASmallAreaOrNoWidthsDrawNoBandsAndOtherCountsSetThePitch)
{
    EXPECT_TRUE(LayOutStereoBloom(RECT{24, 30, 83, 302}, std::vector<double>(6, 0.5)).empty());
    EXPECT_TRUE(LayOutStereoBloom(RECT{24, 30, 456, 89}, std::vector<double>(6, 0.5)).empty());
    EXPECT_EQ(LayOutStereoBloom(RECT{24, 30, 84, 90}, std::vector<double>(6, 0.5)).size(), 6u);
    EXPECT_TRUE(LayOutStereoBloom(kArea, {}).empty());
    // The inspector's panel: the pitch follows the count of widths.
    const std::vector<BloomBand> three = LayOutStereoBloom(kArea, std::vector<double>(3, 0.2));
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0].centre.Y, 302 - 0.5f * 90);
    EXPECT_EQ(three[2].centre.Y, 302 - 2.5f * 90);
    EXPECT_EQ(LayOutStereoBloom(kArea, std::vector<double>(8, 0.2)).size(), 6u);
}

TEST(StereoBloomView, ShowsTheWidthOfItsSpectraInWholePercent)
{
    CProfileStereoBloomWnd view;
    std::vector<double> mid(2049, -20.0);
    view.midSpectrum = mid;
    view.sideSpectrum = mid;
    for (const double width : view.ComputeStereoBandWidths())
    {
        EXPECT_EQ(BloomValueText(width), L"73%") << "side as loud as mid";
    }
    for (double& db : mid)
    {
        db += 6.0;
    }
    view.midSpectrum = mid;
    for (const double width : view.ComputeStereoBandWidths())
    {
        EXPECT_EQ(BloomValueText(width), L"50%") << "side 6 dB under mid";
    }
    view.sampleRate = 8000; // no bin reaches the "Air" band
    EXPECT_EQ(BloomValueText(view.ComputeStereoBandWidths()[5]), L"0%");
    view.midSpectrum = {0.0};
    EXPECT_EQ(view.ComputeStereoBandWidths(), (std::array<double, 6>{}));
}

class StereoBloom : public ControlTest
{
protected:
    CProfileStereoBloomWnd view;
};

TEST_F(StereoBloom, IsAClipChildrenWindowOfItsOwnNameThatTakesNoInput)
{
    ASSERT_TRUE(view.Create(CRect(20, 20, 500, 340), &parent, 3));
    Settle();
    wchar_t name[64] = {};
    view.GetWindowText(name, 64);
    EXPECT_STREQ(name, L"BrimvaleProfileStereoBloomWnd");
    EXPECT_EQ(view.GetStyle(), 0x56000000u);
    EXPECT_EQ(view.SendMessage(WM_ERASEBKGND, 0, 0), TRUE);
    view.SetSpectra(48000, 2048, std::vector<double>(1025, -10), std::vector<double>(1025, -16));
    session->Click(At(view, 240, 160));
    EXPECT_EQ(log.Of({WM_COMMAND, WM_NOTIFY}).size(), 0u);
    EXPECT_NEAR(view.ComputeStereoBandWidths()[2], 0.5, 1e-12);
}

// The bloom with widths from 0 (Sub) to 1 (Air) at the usual size and at a
// size below the 60-pixel area, where only the background and title show.
TEST(StereoBloomPicture, WidthsFromZeroToOneAtTwoSizes)
{
    for (const CSize size : {CSize(480, 320), CSize(120, 90)})
    {
        CProfileStereoBloomWnd::State state;
        state.size = size;
        state.widths = {0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
        Gdiplus::Bitmap bitmap(size.cx, size.cy);
        {
            Gdiplus::Graphics graphics(&bitmap);
            PrepareControlGraphics(graphics);
            CProfileStereoBloomWnd::Draw(graphics, state);
            EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
        }
        const std::string name =
            "stereo_bloom_" + std::to_string(size.cx) + "x" + std::to_string(size.cy);
        ASSERT_TRUE(SaveControlPicture(bitmap, name));
        const COLORREF centre = PixelAt(bitmap, size.cx / 2, size.cy / 2);
        if (size.cx == 480)
        {
            // The "Air" core at the top row's centre, the "Sub" glow at the bottom row's.
            const COLORREF airCore = PixelAt(bitmap, 240, int(302 - 5.5 * 45));
            EXPECT_GT(GetRValue(airCore), 220);
            EXPECT_GT(GetGValue(airCore), 220);
            const COLORREF subGlow = PixelAt(bitmap, 240 + 12, int(302 - 0.5 * 45));
            EXPECT_GT(GetBValue(subGlow), GetRValue(subGlow)) << "Sub glows blue";
        }
        else
        {
            EXPECT_LT(GetRValue(centre) + GetGValue(centre) + GetBValue(centre), 60)
                << "only the background below the 60-pixel area";
        }
    }
}

TEST(StereoBloomPicture, OddSpectraAndSizesPaintWithoutACairoError)
{
    const std::vector<std::vector<double>> spectra = {
        {}, {1}, {kNaN, kInf, -kInf, 0, 3}, std::vector<double>(2049, kNaN)};
    for (const CSize size : {CSize(0, 0), CSize(36, 56), CSize(32767, 80), CSize(480, 320)})
    {
        Gdiplus::Bitmap bitmap(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
        Gdiplus::Graphics graphics(&bitmap);
        for (std::size_t k = 0; k < spectra.size(); ++k)
        {
            CProfileStereoBloomWnd view;
            view.sampleRate = k == 1 ? -44100 : 30;
            view.fftSize = k == 2 ? std::numeric_limits<int>::max() : 0;
            view.midSpectrum = spectra[k];
            view.sideSpectrum = spectra[(k + 2) % spectra.size()];
            CProfileStereoBloomWnd::State state = view.GetState();
            state.size = size;
            CProfileStereoBloomWnd::Draw(graphics, state);
            EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok) << size.cx << " x " << size.cy;
        }
        CProfileStereoBloomWnd::State state;
        state.size = size;
        state.widths = {kNaN, kInf, -kInf, 1e300, -1, 0.5};
        CProfileStereoBloomWnd::Draw(graphics, state);
        EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
    }
}

} // namespace
