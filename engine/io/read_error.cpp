#include "engine/io/read_error.h"

#include "base/unicode_text.h"

std::string MakeReadError(const std::wstring& path, const std::string& decoderName,
                          const std::string& detail)
{
    std::string message = "Failed to read " + decoderName + " file";
    if (!path.empty())
    {
        message += " '" + PathToUtf8(WidePathToFs(path).filename()) + "'";
    }
    if (!detail.empty())
    {
        message += ": " + detail;
    }
    return message;
}
