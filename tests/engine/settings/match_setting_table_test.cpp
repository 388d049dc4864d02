#include "engine/settings/match_setting_table.h"

#include "engine/settings/parameter_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace
{

// Converts to any field type, so that braces of N of these initialise an
// aggregate exactly when it has at least N fields.
struct AnyField
{
    template <typename T> operator T() const;
};

template <typename Aggregate, typename... Fields> constexpr std::size_t FieldCount()
{
    if constexpr (requires { Aggregate{Fields{}..., AnyField{}}; })
    {
        return FieldCount<Aggregate, Fields..., AnyField>();
    }
    else
    {
        return sizeof...(Fields);
    }
}

} // namespace

// A field added to MatchSettings without a row would be neither stored nor
// held to the preview cache's keys.
static_assert(FieldCount<MatchSettings>() == std::size(kMatchSettingFields),
              "every MatchSettings field needs its row in kMatchSettingFields");

TEST(MatchSettingTable, NamesEachFieldOnceAndEachParameterInTheCatalogue)
{
    std::vector<MatchSettingMember> members; // member pointers have no order, only equality
    std::set<std::string> names;
    for (const MatchSettingField& field : kMatchSettingFields)
    {
        SCOPED_TRACE(field.name);
        EXPECT_EQ(std::count(members.begin(), members.end(), field.member), 0)
            << "a field has two rows";
        members.push_back(field.member);
        EXPECT_TRUE(names.insert(field.name).second) << "two fields share a name";
        ASSERT_EQ(field.catalogSection == nullptr, field.catalogKey == nullptr);
        if (field.catalogKey == nullptr)
        {
            continue;
        }
        const ParameterDescriptor* parameter =
            FindParameterDescriptor(field.catalogSection, field.catalogKey);
        ASSERT_NE(parameter, nullptr) << "the row names a parameter the catalogue lacks";
        EXPECT_EQ(parameter->previewScope, field.previewScope);
    }
}
