#pragma once

#include <string>

// The one builder of the decoders' error texts:
// "Failed to read <decoderName> file '<file name>': <detail>", the quoted name
// only for a non-empty path and the detail only when it is not empty.
std::string MakeReadError(const std::wstring& path, const std::string& decoderName,
                          const std::string& detail);
