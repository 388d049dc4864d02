#include "platform/win32/backend_seam.h"

#include "platform/win32/no_display_backend.h"

#include <atomic>

namespace brvl::backend
{

namespace
{

std::atomic<Backend*> g_installed{nullptr};

Backend& DefaultBackend()
{
    static NoDisplayBackend noDisplay;
    return noDisplay;
}

} // namespace

Backend& CurrentBackend()
{
    Backend* installed = g_installed.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : DefaultBackend();
}

void InstallBackend(Backend* backend)
{
    g_installed.store(backend, std::memory_order_release);
}

} // namespace brvl::backend
