#include "platform/backend/wx/display_backend.h"

#include "platform/backend/wx/wx_backend.h"
#include "platform/backend/wx/x11_screen.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace brvl::backend
{

namespace
{

class BrvlWxApp final : public wxApp
{
public:
    bool OnInit() override { return true; }
    // Toolkit assertions and errors go to stderr, never into a box.
    void OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                         const wxChar* msg) override
    {
        std::fprintf(stderr, "BRVL: toolkit assertion %ls:%d %ls: %ls %ls\n",
                     static_cast<const wchar_t*>(wxString(file).wc_str()), line,
                     static_cast<const wchar_t*>(wxString(func).wc_str()),
                     static_cast<const wchar_t*>(wxString(cond).wc_str()),
                     static_cast<const wchar_t*>(wxString(msg).wc_str()));
    }
};

std::unique_ptr<wxui::WxBackend> g_backend;
bool g_toolkitUp = false;

bool HasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

bool StartToolkit()
{
    if (g_toolkitUp)
    {
        return true;
    }
    static int argc = 1;
    static char name[] = "brvl";
    static char* argv[] = {name, nullptr};
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxApp::SetInstance(new BrvlWxApp);
    if (!wxEntryStart(argc, argv))
    {
        return false;
    }
    if (!wxTheApp->CallOnInit())
    {
        wxEntryCleanup();
        return false;
    }
    // The toolkit set the numeric locale from the environment; numbers are
    // read and written with "." everywhere in the program.
    std::setlocale(LC_NUMERIC, "C");
    wxImage::AddHandler(new wxPNGHandler);
    g_toolkitUp = true;
    return true;
}

} // namespace

BackendKind InstallBackendForDisplay(DisplayChoice choice)
{
    if (choice == DisplayChoice::Headless || !HasDisplay() || !StartToolkit())
    {
        InstallBackend(nullptr);
        return BackendKind::Headless;
    }
    if (!g_backend)
    {
        g_backend = std::make_unique<wxui::WxBackend>();
    }
    InstallBackend(g_backend.get());
    return BackendKind::Wx;
}

void ShutDownDisplayBackend()
{
    InstallBackend(nullptr);
    g_backend.reset();
    if (g_toolkitUp)
    {
        wxEntryCleanup();
        g_toolkitUp = false;
    }
}

namespace wx_testing
{

bool SaveScreenPng(const std::filesystem::path& path)
{
    if (!g_toolkitUp)
    {
        return false;
    }
    // Read from the server itself: the toolkit keeps the root window's
    // drawing surface, and its pixels, once read, are handed out again on
    // every later read, so a second picture would show the first one's screen.
    const wxDisplayInfo display = wxGetDisplayInfo();
    wxui::ScreenPixels screen;
    if (display.type != wxDisplayX11 || !wxui::ReadX11Screen(display.dpy, screen))
    {
        return false;
    }
    wxImage image(screen.width, screen.height, false);
    std::copy(screen.rgb.begin(), screen.rgb.end(), image.GetData());
    return image.SaveFile(wxString(path.wstring()), wxBITMAP_TYPE_PNG);
}

} // namespace wx_testing

} // namespace brvl::backend
