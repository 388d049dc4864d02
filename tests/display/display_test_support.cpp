#include "tests/display/display_test_support.h"

#include "platform/mfc/dc.h"
#include "platform/win32/window_picture.h"

#include <cairo.h>

#include <atomic>
#include <cstdlib>
#include <thread>

using namespace brvl::backend;

const std::filesystem::path kDisplayOutput = BRVL_TEST_OUTPUT_DIR;

namespace
{

// The toolkit starts once per process and goes at its end. Before it starts,
// it gets a home of its own, so that no test reads or writes the user's
// settings or recent files, its settings stay in memory (no session bus is
// needed), and no accessibility bus is looked for.
class DisplayEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        const std::filesystem::path home = kDisplayOutput / "home";
        std::filesystem::create_directories(home);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home / ".cache").c_str(), 1);
        ::setenv("GSETTINGS_BACKEND", "memory", 1);
        ::setenv("NO_AT_BRIDGE", "1", 1);
    }
    void TearDown() override { ShutDownDisplayBackend(); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

} // namespace

bool Elapsed(std::chrono::steady_clock::time_point start, std::chrono::milliseconds limit)
{
    return std::chrono::steady_clock::now() - start > limit;
}

bool RunWhileDispatching(const std::string& command, const std::function<bool()>& done,
                         std::chrono::milliseconds limit)
{
    std::atomic<bool> finished{false};
    int status = -1;
    std::thread runner(
        [&]
        {
            status = std::system(command.c_str());
            finished = true;
        });
    const auto start = std::chrono::steady_clock::now();
    RunMessageLoopUntil([&] { return (finished && done()) || Elapsed(start, limit); });
    runner.join();
    EXPECT_EQ(status, 0) << command;
    return done();
}

void DispatchFor(std::chrono::milliseconds time)
{
    const auto start = std::chrono::steady_clock::now();
    RunMessageLoopUntil([&] { return Elapsed(start, time); });
}

std::string Xdotool(const std::string& arguments)
{
    return "xdotool " + arguments;
}

std::string At(POINT screen)
{
    return std::to_string(screen.x) + " " + std::to_string(screen.y);
}

POINT ScreenOf(const CWnd& wnd, int x, int y)
{
    POINT pt{x, y};
    ::ClientToScreen(wnd.GetSafeHwnd(), &pt);
    return pt;
}

BackgroundCommand::BackgroundCommand(std::string command)
    : m_thread([this, command = std::move(command)] { m_status = std::system(command.c_str()); })
{
}

BackgroundCommand::~BackgroundCommand()
{
    Finish();
}

int BackgroundCommand::Finish()
{
    if (m_thread.joinable())
    {
        m_thread.join();
    }
    return m_status;
}

std::string AnswerBoxAt(const std::string& title, POINT at, const std::string& actions)
{
    return Xdotool("search --sync --onlyvisible --name '^" + title + "$' >/dev/null") + " && " +
           Xdotool("mousemove " + At(at) + " " + actions);
}

std::uint32_t PixelOfPng(const std::filesystem::path& path, POINT at)
{
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    std::uint32_t rgb = 0xFFFFFFFF;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS &&
        at.x < cairo_image_surface_get_width(image) && at.y < cairo_image_surface_get_height(image))
    {
        cairo_surface_flush(image);
        const auto* row = cairo_image_surface_get_data(image) +
                          static_cast<std::ptrdiff_t>(at.y) * cairo_image_surface_get_stride(image);
        rgb = reinterpret_cast<const std::uint32_t*>(row)[at.x] & 0xFFFFFF;
    }
    cairo_surface_destroy(image);
    return rgb;
}

int PixelsUnlikeTheTree(const std::filesystem::path& shot, const CWnd& topLevel)
{
    WindowPicture tree;
    cairo_surface_t* image = cairo_image_surface_create_from_png(shot.c_str());
    int unlike = -1;
    if (ComposeWindowPicture(topLevel.GetSafeHwnd(), tree) &&
        cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_flush(image);
        const POINT origin = ScreenOf(topLevel, 0, 0);
        const int width = cairo_image_surface_get_width(image);
        const int height = cairo_image_surface_get_height(image);
        const int stride = cairo_image_surface_get_stride(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        unlike = 0;
        for (int y = 0; y < tree.height; ++y)
        {
            for (int x = 0; x < tree.width; ++x)
            {
                const int sx = origin.x + x;
                const int sy = origin.y + y;
                const bool onScreen = sx >= 0 && sy >= 0 && sx < width && sy < height;
                const std::uint32_t shown =
                    onScreen
                        ? reinterpret_cast<const std::uint32_t*>(data + sy * stride)[sx] & 0xFFFFFF
                        : 0xFFFFFFFF;
                const std::uint32_t composed = tree.pixels[y * tree.width + x] & 0xFFFFFF;
                unlike += shown != composed ? 1 : 0;
            }
        }
    }
    cairo_surface_destroy(image);
    return unlike;
}

void DisplayTest::SetUp()
{
    if (InstallBackendForDisplay() != BackendKind::Wx)
    {
        GTEST_SKIP() << "no display";
    }
    SetHandlerExceptionHook(
        [](HWND, UINT msg, const std::string& what)
        { ADD_FAILURE() << "handler of " << MessageName(msg) << " threw: " << what; });
}

void DisplayTest::TearDown()
{
    SetHandlerExceptionHook(nullptr);
    if (::IsWindow(frame.GetSafeHwnd()))
    {
        frame.DestroyWindow();
    }
    DispatchFor(std::chrono::milliseconds(50)); // the native windows go
}

namespace
{

// The window paints its whole client area in one colour.
void PaintSolid(RecordingWnd& wnd, COLORREF color)
{
    wnd.On(WM_PAINT,
           [&wnd, color](WPARAM, LPARAM) -> std::optional<LRESULT>
           {
               CPaintDC dc(&wnd);
               RECT client{};
               wnd.GetClientRect(&client);
               dc.FillSolidRect(&client, color);
               return 0;
           });
}

} // namespace

void DisplayTest::MakeFrame()
{
    ASSERT_TRUE(frame.CreateTopLevel(RECT{100, 100, 500, 400}, WS_POPUP | WS_VISIBLE));
    ::SetWindowTextW(frame.GetSafeHwnd(), L"BRVL display test");
    ASSERT_TRUE(panel.CreateChild(frame, RECT{10, 10, 210, 160}, 0, CS_DBLCLKS));
    ASSERT_TRUE(button.Create(L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                              RECT{230, 10, 330, 40}, &frame, 100));
    PaintSolid(panel, RGB(220, 30, 30));
    PaintSolid(frame, RGB(30, 60, 200));
    DispatchFor(std::chrono::milliseconds(300));
}
