// libFuzzer harness for "meta.json": whatever the file holds, loading never
// throws, a comment that is set reads back, and a file that is present but not
// JSON is left exactly as it was. Built only by scripts/build-fuzz.sh.
#include "engine/settings/library_comments.h"

#include "base/unicode_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

namespace
{

const std::string& Folder()
{
    static const std::string folder = []
    {
        char name[] = "/tmp/comments-fuzz-XXXXXX";
        if (::mkdtemp(name) == nullptr)
        {
            std::abort();
        }
        return std::string(name);
    }();
    return folder;
}

std::string ReadMeta()
{
    std::ifstream in(Folder() + "/meta.json", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteMeta(std::string_view bytes)
{
    std::ofstream out(Folder() + "/meta.json", std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
    {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    WriteMeta(bytes);
    const std::wstring folder = Utf8ToWide(Folder());
    const std::wstring file = folder + L"/a.prs";

    LoadLibraryComments(folder);
    GetLibraryComment(file);
    if (SetLibraryComment(file, L"set \u00e9"))
    {
        if (GetLibraryComment(file) != "set \xC3\xA9")
        {
            std::abort(); // a comment that was written does not read back
        }
        // An entry of the new name may stand after the moved one and win.
        const bool newNameFree = LoadLibraryComments(folder).count(L"b.prs") == 0;
        if (!RenameLibraryCommentEntry(folder, L"a.prs", L"b.prs") ||
            !GetLibraryComment(file).empty() ||
            (newNameFree && GetLibraryComment(folder + L"/b.prs") != "set \xC3\xA9"))
        {
            std::abort(); // the comment did not move with its file
        }
    }
    else if (ReadMeta() != bytes)
    {
        std::abort(); // a refused write changed the file
    }
    return 0;
}
