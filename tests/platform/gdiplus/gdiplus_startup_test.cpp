#include "platform/gdiplus/gdiplus_startup.h"

#include <gtest/gtest.h>

TEST(GdiplusStartup, StartsPairWithShutdownsAndATestCanMakeTheStartFail)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    const int before = brvl::gdiplus::ActiveStarts();
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    EXPECT_NE(token, 0u);
    EXPECT_EQ(brvl::gdiplus::ActiveStarts(), before + 1);
    Gdiplus::GdiplusShutdown(token);
    Gdiplus::GdiplusShutdown(token); // a second shutdown of the same start changes nothing
    EXPECT_EQ(brvl::gdiplus::ActiveStarts(), before);

    brvl::gdiplus::FailNextStartup();
    token = 1;
    EXPECT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::GenericError);
    EXPECT_EQ(token, 0u);
    EXPECT_EQ(brvl::gdiplus::ActiveStarts(), before);
    EXPECT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok)
        << "only the next one fails";
    Gdiplus::GdiplusShutdown(token);
}
