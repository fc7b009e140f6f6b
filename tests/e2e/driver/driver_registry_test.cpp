// Registry helpers of the test prefix.
#include <gtest/gtest.h>

#include "Registry.h"

namespace qs::e2e {
namespace {

constexpr char kKey[] = "Software\\Quillsuite Tests\\DriverRegistry";

TEST(Registry, ValuesRoundTripAndTheKeyIsDeletedWithItsSubkeys)
{
    {
        ScopedRegistryKey cleanup(kKey);
        ASSERT_TRUE(RegistryWriteString(kKey, "Text", "a b'c"));
        ASSERT_TRUE(RegistryWriteString(kKey, "", "default"));
        ASSERT_TRUE(RegistryWriteDword(std::string(kKey) + "\\Sub", "Number", 0xFFFFFFFEu));

        EXPECT_EQ(RegistryReadString(kKey, "Text").value_or("?"), "a b'c");
        EXPECT_EQ(RegistryReadString(kKey, "").value_or("?"), "default");
        EXPECT_EQ(RegistryReadDword(std::string(kKey) + "\\Sub", "Number").value_or(0), 0xFFFFFFFEu);
        EXPECT_FALSE(RegistryReadDword(kKey, "Text").has_value());
        EXPECT_FALSE(RegistryReadString(kKey, "Missing").has_value());
        EXPECT_EQ(RegistryValueNames(kKey), (std::vector<std::string>{"", "Text"}));
        EXPECT_EQ(RegistrySubkeyNames(kKey), std::vector<std::string>{"Sub"});

        EXPECT_TRUE(RegistryDeleteValue(kKey, "Text"));
        EXPECT_FALSE(RegistryValueExists(kKey, "Text"));
        EXPECT_TRUE(RegistryValueExists(kKey, ""));
    }
    EXPECT_FALSE(RegistryKeyExists(kKey));
}

} // namespace
} // namespace qs::e2e
