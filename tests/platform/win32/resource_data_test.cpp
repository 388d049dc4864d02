#include "platform/mfc/cstring.h"
#include "platform/win32/resource_data.h"

#include <gtest/gtest.h>

TEST(ResourceDataTest, StringTableLooksUpByIdAndMissesCleanly)
{
    CString text;
    EXPECT_TRUE(text.LoadString(57345));
    EXPECT_EQ(text, CString(L"Ready"));
    EXPECT_FALSE(text.LoadString(32776)) << "this id has no string";
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(brvl::win32::FindStringResource(100).value_or(L""),
              L"OLE initialization failed.  Make sure that the OLE libraries are the correct "
              L"version.");

    const auto table = brvl::win32::FindResourceData("string", "table");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->data()[table->size()], '\0');
    EXPECT_FALSE(brvl::win32::FindResourceData("menu", 999999u).has_value());
}
