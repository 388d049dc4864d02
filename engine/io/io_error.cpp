#include "engine/io/io_error.h"

#include "base/unicode_text.h"

std::string MakeIoError(const std::string& text, const std::wstring& path,
                        const std::string& reason)
{
    std::string message = text;
    if (!path.empty())
    {
        message += ": " + WideToUtf8(path);
    }
    if (!reason.empty())
    {
        message += ": " + reason;
    }
    return message;
}

std::string MakeIoError(const std::string& text, const std::wstring& path,
                        const std::error_code& reason)
{
    return MakeIoError(text, path, reason ? reason.message() : std::string());
}
