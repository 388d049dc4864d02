#include "engine/settings/library_comments.h"

#include "engine/settings/json_document.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <unistd.h>

using nlohmann::json;

namespace
{

class LibraryCommentsTest : public ::testing::Test
{
protected:
    std::wstring Folder() const { return m_dir.Path().wstring(); }
    std::wstring File(const std::wstring& name) const { return Folder() + L"/" + name; }
    std::filesystem::path MetaPath() const { return m_dir / "meta.json"; }

    void WriteMeta(const std::string& text) const { WriteFileBytes(MetaPath(), text); }
    std::string MetaText() const { return ReadFileBytes(MetaPath()); }
    json Meta() const { return json::parse(MetaText()); }

    TempDir m_dir;
};

} // namespace

TEST_F(LibraryCommentsTest, MissingMetaFileMeansNoCommentsUntilOneIsSet)
{
    EXPECT_EQ(GetLibraryComment(File(L"a.prs")), "");
    EXPECT_TRUE(RenameLibraryCommentEntry(Folder(), L"a.prs", L"b.prs"));
    EXPECT_FALSE(std::filesystem::exists(MetaPath())) << "a rename created meta.json";

    EXPECT_TRUE(SetLibraryComment(File(L"Réglage ü.prs"), L"Bright — 明るい"));
    EXPECT_EQ(Meta(), json::parse(R"([{"comment":"Bright — 明るい","file":"Réglage ü.prs"}])"));
    EXPECT_EQ(GetLibraryComment(File(L"Réglage ü.prs")), "Bright — 明るい");
    EXPECT_EQ(MetaText().substr(0, 5), "[\n  {") << "written with an indent of 2";
    EXPECT_LT(MetaText().find("\"comment\""), MetaText().find("\"file\"")) << "keys are sorted";
}

TEST_F(LibraryCommentsTest, SetChangesTheEntryThatIsReadAndDropsItsShadows)
{
    WriteMeta(R"([
        {"file": "a.prs", "comment": "first", "extra": 1},
        7,
        {"comment": "orphan"},
        {"file": "a.prs", "comment": "second"},
        {"file": "A.prs", "comment": "upper"},
        {"file": 5, "comment": ["not text"]},
        {"file": "b.prs", "comment": "b1"},
        {"file": "b.prs", "comment": "b2"}
    ])");
    EXPECT_TRUE(SetLibraryComment(File(L"a.prs"), L"changed"));
    EXPECT_EQ(Meta(), json::parse(R"([
        {"comment": "orphan", "file": ""},
        {"comment": "changed", "file": "a.prs"},
        {"comment": "upper", "file": "A.prs"},
        {"comment": "", "file": ""},
        {"comment": "b1", "file": "b.prs"},
        {"comment": "b2", "file": "b.prs"}
    ])"))
        << "non-objects and extra members are dropped, empty names and other names kept";
    EXPECT_EQ(GetLibraryComment(File(L"a.prs")), "changed");

    // A rename onto a name that has an entry leaves two; the edit must show.
    EXPECT_TRUE(RenameLibraryCommentEntry(Folder(), L"A.prs", L"b.prs"));
    EXPECT_EQ(GetLibraryComment(File(L"b.prs")), "b2");
    EXPECT_TRUE(SetLibraryComment(File(L"b.prs"), L"edited"));
    EXPECT_EQ(GetLibraryComment(File(L"b.prs")), "edited");
    EXPECT_EQ(Meta().size(), 4u) << "the shadowed b.prs entries are gone";

    EXPECT_TRUE(SetLibraryComment(File(L"new.prs"), L"appended"));
    EXPECT_EQ(Meta().back(), json::parse(R"({"comment": "appended", "file": "new.prs"})"));
}

TEST_F(LibraryCommentsTest, LoaderSkipsNamelessEntriesAndLaterEntriesWin)
{
    WriteMeta(R"([
        {"file": "a.prs", "comment": "first"},
        {"comment": "orphan"},
        {"file": "a.prs", "comment": "second"},
        {"file": "A.prs", "comment": "upper"},
        {"file": "b.prs"},
        "text"
    ])");
    const LibraryCommentMap comments = LoadLibraryComments(Folder());
    EXPECT_EQ(comments,
              (LibraryCommentMap{{L"a.prs", "second"}, {L"A.prs", "upper"}, {L"b.prs", ""}}));
    EXPECT_EQ(GetLibraryComment(File(L"A.prs")), "upper") << "names compare with letter case";
    EXPECT_EQ(GetLibraryComment(File(L"c.prs")), "");
}

TEST_F(LibraryCommentsTest, ObjectRootReadsAsEmptyAndIsReplacedByAnArray)
{
    WriteMeta(R"({"file": "a.prs", "comment": "inside an object"})");
    EXPECT_TRUE(LoadLibraryComments(Folder()).empty());
    EXPECT_TRUE(RenameLibraryCommentEntry(Folder(), L"a.prs", L"b.prs"));
    EXPECT_TRUE(SetLibraryComment(File(L"a.prs"), L"now"));
    EXPECT_EQ(Meta(), json::parse(R"([{"comment": "now", "file": "a.prs"}])"));
}

TEST_F(LibraryCommentsTest, MalformedMetaFileIsLeftForTheUserToRepair)
{
    const std::string broken = R"([{"file": "a.prs", "comment": "keep me"},])";
    WriteMeta(broken);
    EXPECT_TRUE(LoadLibraryComments(Folder()).empty());
    EXPECT_FALSE(SetLibraryComment(File(L"b.prs"), L"new"));
    EXPECT_TRUE(RenameLibraryCommentEntry(Folder(), L"a.prs", L"c.prs"));
    EXPECT_EQ(MetaText(), broken) << "one syntax error cost the folder its comments";

    WriteMeta("");
    EXPECT_TRUE(SetLibraryComment(File(L"b.prs"), L"new")) << "an empty file holds nothing to lose";
}

TEST_F(LibraryCommentsTest, RenameMovesEveryMatchingEntry)
{
    WriteMeta(R"([
        {"file": "old.prs", "comment": "one"},
        {"file": "Old.prs", "comment": "case"},
        {"file": "old.prs", "comment": "two"},
        {"comment": "orphan"},
        false
    ])");
    EXPECT_TRUE(RenameLibraryCommentEntry(Folder(), L"old.prs", L"neu ü.prs"));
    EXPECT_EQ(Meta(), json::parse(R"([
        {"comment": "one", "file": "neu ü.prs"},
        {"comment": "case", "file": "Old.prs"},
        {"comment": "two", "file": "neu ü.prs"},
        {"comment": "orphan", "file": ""}
    ])"));
}

TEST_F(LibraryCommentsTest, SetCreatesMissingFolders)
{
    const std::wstring deep = Folder() + L"/user/profiles/mine.prs";
    EXPECT_TRUE(SetLibraryComment(deep, L"deep"));
    EXPECT_EQ(GetLibraryComment(deep), "deep");
}

TEST_F(LibraryCommentsTest, UnwritableFolderReportsFalseAndKeepsTheFile)
{
    // A regular file where the folder should be cannot be written into, even by root.
    WriteFileBytes(m_dir / "blocked", "not a folder");
    EXPECT_FALSE(SetLibraryComment(Folder() + L"/blocked/a.prs", L"x"));
    EXPECT_EQ(ReadFileBytes(m_dir / "blocked"), "not a folder");

    // A directory named meta.json cannot be replaced.
    std::filesystem::create_directory(MetaPath());
    EXPECT_FALSE(SetLibraryComment(File(L"a.prs"), L"x"));
    std::filesystem::remove(MetaPath());

    if (::geteuid() == 0)
    {
        GTEST_SKIP() << "permissions do not stop root";
    }
    WriteMeta(R"([{"file": "a.prs", "comment": "old"}])");
    ::chmod(m_dir.Path().c_str(), 0555);
    EXPECT_FALSE(SetLibraryComment(File(L"a.prs"), L"new"));
    EXPECT_FALSE(RenameLibraryCommentEntry(Folder(), L"a.prs", L"b.prs"));
    ::chmod(m_dir.Path().c_str(), 0755);
    EXPECT_EQ(GetLibraryComment(File(L"a.prs")), "old");
}
