#include "RegistryFileChoice.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace {

struct WidthCase
{
    int width;
    const char* file; // null: no file fits
};

// Every bound of the table, with a step to each side, and the extremes.
const WidthCase kWidthCases[] = {
    {INT_MIN, nullptr},
    {-1024, nullptr},
    {0, nullptr},
    {800, nullptr},
    {1023, nullptr},
    {1024, "Quil1024Pro.reg"},
    {1025, nullptr},
    {1151, nullptr},
    {1152, "Quil1152Pro.reg"},
    {1153, nullptr},
    {1279, nullptr},
    {1280, "Quil1280Pro.reg"},
    {1281, "Quil1440Pro.reg"},
    {1440, "Quil1440Pro.reg"},
    {1679, "Quil1440Pro.reg"},
    {1680, "Quil1680Pro.reg"},
    {1681, "Quil1920Pro.reg"},
    {1920, "Quil1920Pro.reg"},
    {1999, "Quil1920Pro.reg"},
    {2000, nullptr},
    {2560, nullptr},
    {INT_MAX, nullptr},
};

TEST(PickRegistryFile, FollowsTheWidthTableAtEveryBound)
{
    for (const WidthCase& c : kWidthCases) {
        SCOPED_TRACE("width " + std::to_string(c.width));
        const char* file = PickRegistryFile(c.width);
        if (c.file == nullptr)
            EXPECT_EQ(file, nullptr) << file;
        else
            EXPECT_STREQ(file, c.file);
    }
}

} // namespace
