#pragma once

#include "platform/win32/backend_seam.h"

#include <string>

namespace brvl::backend::wxui
{

// A file pattern that matches whatever the letters' case ("*.wav" becomes
// "*.[wW][aA][vV]"): the file system is case-sensitive, and files made on
// other systems are often upper-case.
std::wstring CaseInsensitivePattern(const std::wstring& pattern);

// The filter list of a file dialog in the toolkit's "text|patterns|..." form,
// patterns made case-insensitive; "*" when the request has none.
std::wstring WildcardOf(const FileDialogRequest& request);

// The toolkit's save dialog appends the chosen filter's first extension to a
// name typed without one, in its expanded form ("mix" becomes
// "mix.[wW][aA][vV]"). Returns `path` without such an ending, so that the
// caller's default extension applies; any other path unchanged.
std::wstring WithoutExpandedExtension(const std::wstring& path, const FileDialogRequest& request);

} // namespace brvl::backend::wxui
