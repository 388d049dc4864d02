#include "base/path_parts.h"

#include <gtest/gtest.h>

TEST(PathPartsTest, SplitsAtTheLastSlashOfEitherKind)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"/home/u/profiles/a.prs", L"/home/u/profiles", L"a.prs"},
        {L"C:\\Users\\u\\a b.prs", L"C:\\Users\\u", L"a b.prs"},
        {L"mixed\\dir/ü.prs", L"mixed\\dir", L"ü.prs"},
        {L"/a.prs", L"/", L"a.prs"},
        {L"a.prs", L"", L"a.prs"},
        {L"folder/", L"folder", L""},
        {L"", L"", L""},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
    }
}
