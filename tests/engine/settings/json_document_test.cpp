#include "engine/settings/json_document.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using nlohmann::json;

TEST(JsonDocument, LoadRefusesAnythingButExactlyOneValue)
{
    TempDir dir;
    struct Case
    {
        const char* name;
        const char* text;
        bool loads;
    };
    const Case cases[] = {
        {"empty", "", false},
        {"truncated", "{\"version\": 1", false},
        {"trailing garbage", "{\"version\": 1} x", false},
        {"two values", "{} {}", false},
        {"comment", "{/* c */ \"a\": 1}", false},
        {"invalid UTF-8", "{\"a\": \"\xFF\"}", false},
        {"object", "{\"a\": 1}", true},
        {"array", "[1, 2]", true},
        {"whitespace around", "\n  {\"a\": 1}  \n", true},
    };
    for (const Case& c : cases)
    {
        const auto path = dir / "doc.json";
        WriteFileBytes(path, c.text);
        EXPECT_EQ(LoadJsonFile(path) != nullptr, c.loads) << c.name;
    }
    EXPECT_EQ(LoadJsonFile(dir / "missing.json"), nullptr);
    EXPECT_EQ(LoadJsonFile(dir.Path()), nullptr) << "a directory is not a document";
    EXPECT_TRUE(OpenJsonReadHandle(dir / "missing.json").IsEmpty());
}

TEST(JsonDocument, ReadHandleFindsMembersOfObjectsOnly)
{
    TempDir dir;
    WriteFileBytes(dir / "a.json", R"({"match": {"x": 1}, "Match": 2})");
    WriteFileBytes(dir / "b.json", R"([{"match": 1}])");

    const JsonReadHandle object = OpenJsonReadHandle(dir / "a.json");
    ASSERT_NE(object.Find("match"), nullptr);
    EXPECT_TRUE(object.Find("match")->is_object());
    EXPECT_EQ(object.Find("Match")->get<int>(), 2) << "keys compare as exact bytes";
    EXPECT_EQ(object.Find("absent"), nullptr);

    const JsonReadHandle array = OpenJsonReadHandle(dir / "b.json");
    EXPECT_EQ(array.Find("match"), nullptr);
    EXPECT_EQ(JsonReadHandle{}.Find("match"), nullptr);
}

TEST(JsonDocument, ChildObjectReplacesAMemberOfAnotherType)
{
    JsonNodeHandle root = JsonNodeHandle::NewObjectDocument();
    (*root.Resolve())["match"] = 5;

    JsonNodeHandle match = root.ChildObject("match");

    ASSERT_FALSE(match.IsNull());
    EXPECT_EQ(match.Path(), "/match");
    EXPECT_TRUE(match.Resolve()->is_object());
    EXPECT_TRUE(match.Resolve()->empty());

    (*match.Resolve())["kept"] = true;
    EXPECT_EQ(root.ChildObject("match").Resolve()->size(), 1u) << "an existing object is kept";
}

TEST(JsonDocument, KeysWithSlashAndTildeTravelEscaped)
{
    EXPECT_EQ(EscapeJsonPointerToken("a/b~c"), "a~1b~0c");
    EXPECT_EQ(EscapeJsonPointerToken("~1"), "~01");

    JsonNodeHandle root = JsonNodeHandle::NewObjectDocument();
    JsonNodeHandle child = root.ChildArray("a/b~c");
    EXPECT_EQ(child.Path(), "/a~1b~0c");
    ASSERT_NE(child.Resolve(), nullptr);
    EXPECT_TRUE((*root.Resolve())["a/b~c"].is_array());
}

TEST(JsonDocument, AppendedObjectsStayAddressable)
{
    JsonNodeHandle root = JsonNodeHandle::NewObjectDocument();
    JsonNodeHandle list = root.ChildArray("addons");
    JsonNodeHandle first = list.AppendObject();
    JsonNodeHandle second = list.AppendObject();

    EXPECT_EQ(first.Path(), "/addons/0");
    EXPECT_EQ(second.Path(), "/addons/1");
    (*first.Resolve())["id"] = "one";
    (*second.Resolve())["id"] = "two";
    EXPECT_EQ((*root.Resolve())["addons"][0]["id"], "one");
    EXPECT_EQ(JsonIndexPath("/x", 12), "/x/12");
}

TEST(JsonDocument, TypeMismatchesGiveNullHandlesThatDoNothing)
{
    JsonNodeHandle object = JsonNodeHandle::NewObjectDocument();
    JsonNodeHandle array = JsonNodeHandle::NewArrayDocument();

    EXPECT_TRUE(object.AppendObject().IsNull());
    EXPECT_TRUE(array.ChildObject("x").IsNull());
    EXPECT_TRUE(array.ChildArray("x").IsNull());

    const JsonNodeHandle null;
    EXPECT_EQ(null.Resolve(), nullptr);
    EXPECT_TRUE(null.ChildObject("x").IsNull());
    EXPECT_TRUE(null.AppendObject().IsNull());
    EXPECT_FALSE(null.SaveToFile(std::wstring(L"/tmp/never-written.json")));
}

TEST(JsonDocument, SaveWritesTheWholeDocumentSortedWithIndentTwo)
{
    TempDir dir;
    JsonNodeHandle root = JsonNodeHandle::NewObjectDocument();
    (*root.Resolve())["zeta"] = 1;
    JsonNodeHandle nested = root.ChildObject("alpha");
    (*nested.Resolve())["name"] = "Mix \xC3\xA9";

    ASSERT_TRUE(nested.SaveToFile(dir / "doc.json"));

    EXPECT_EQ(ReadFileBytes(dir / "doc.json"),
              "{\n  \"alpha\": {\n    \"name\": \"Mix \xC3\xA9\"\n  },\n  \"zeta\": 1\n}");
}

TEST(JsonDocument, EmptyDocumentsSaveAsEmptyBrackets)
{
    TempDir dir;
    ASSERT_TRUE(JsonNodeHandle::NewObjectDocument().SaveToFile(dir / "o.json"));
    ASSERT_TRUE(JsonNodeHandle::NewArrayDocument().SaveToFile(dir / "a.json"));
    EXPECT_EQ(ReadFileBytes(dir / "o.json"), "{}");
    EXPECT_EQ(ReadFileBytes(dir / "a.json"), "[]");
}

TEST(JsonDocument, SaveOfInvalidUtf8FailsAndKeepsTheOldFile)
{
    TempDir dir;
    WriteFileBytes(dir / "doc.json", "{\"old\": true}");
    JsonNodeHandle root = JsonNodeHandle::NewObjectDocument();
    (*root.Resolve())["name"] = std::string("bad \xFF byte");

    EXPECT_FALSE(root.SaveToFile(dir / "doc.json"));
    EXPECT_EQ(ReadFileBytes(dir / "doc.json"), "{\"old\": true}");
}

TEST(JsonDocument, TypeStrictReadersKeepDefaultsForOtherTypes)
{
    const json object = json::parse(R"({
        "int": 6, "float": 6.0, "negative": -3, "huge": 4294967296, "unsigned": 2147483648,
        "string": "text", "bool": true, "null": null
    })");

    struct IntCase
    {
        const char* key;
        int expected;
    };
    const IntCase intCases[] = {{"int", 6},   {"float", -1},    {"negative", -3},
                                {"huge", -1}, {"unsigned", -1}, {"string", -1},
                                {"bool", -1}, {"null", -1},     {"absent", -1}};
    for (const IntCase& c : intCases)
    {
        int field = -1;
        JsonReadInt(object, c.key, field);
        EXPECT_EQ(field, c.expected) << c.key;
    }

    double number = -1.0;
    JsonReadDouble(object, "int", number);
    EXPECT_EQ(number, 6.0) << "doubles accept integers";
    number = -1.0;
    JsonReadDouble(object, "bool", number);
    EXPECT_EQ(number, -1.0);

    bool flag = false;
    JsonReadBool(object, "int", flag);
    EXPECT_FALSE(flag) << "1 is not a boolean";
    JsonReadBool(object, "bool", flag);
    EXPECT_TRUE(flag);

    std::string text = "default";
    JsonReadString(object, "int", text);
    EXPECT_EQ(text, "default");
    JsonReadString(object, "string", text);
    EXPECT_EQ(text, "text");

    int fromArray = -1;
    JsonReadInt(json::array({1}), "0", fromArray);
    EXPECT_EQ(fromArray, -1) << "only objects have members";
}
