#include "platform/gdiplus/gdiplus_startup.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace
{

std::mutex g_mutex;
std::vector<ULONG_PTR> g_tokens;
ULONG_PTR g_nextToken = 0x6D1;
bool g_failNext = false;

} // namespace

namespace Gdiplus
{

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput*)
{
    if (token == nullptr)
    {
        return InvalidParameter;
    }
    *token = 0;
    if (input == nullptr || input->GdiplusVersion != 1)
    {
        return InvalidParameter;
    }
    std::lock_guard lock(g_mutex);
    if (g_failNext)
    {
        g_failNext = false;
        return GenericError;
    }
    *token = ++g_nextToken;
    g_tokens.push_back(*token);
    return Ok;
}

void GdiplusShutdown(ULONG_PTR token)
{
    std::lock_guard lock(g_mutex);
    g_tokens.erase(std::remove(g_tokens.begin(), g_tokens.end(), token), g_tokens.end());
}

} // namespace Gdiplus

namespace brvl::gdiplus
{

void FailNextStartup()
{
    std::lock_guard lock(g_mutex);
    g_failNext = true;
}

int ActiveStarts()
{
    std::lock_guard lock(g_mutex);
    return static_cast<int>(g_tokens.size());
}

} // namespace brvl::gdiplus
