// The two roads of the profile reads (profile_reader.h): the tables of the profile functions
// and of the set-file reader run on both. Under Wine the system's road is Wine's own profile
// functions, so each table also proves the file's-bytes road equal to them.
#pragma once

#include "profile_reader.h"

#include <gtest/gtest.h>

#include <string>

inline std::string ProfileRoadName(const ::testing::TestParamInfo<const ProfileReader*>& info)
{
    return info.param == &SystemProfileReader() ? "System" : "FileBytes";
}

// Runs every TEST_P of the fixture (a TestWithParam<const ProfileReader*>) on both roads.
#define QS_ON_EACH_PROFILE_ROAD(Fixture) \
    INSTANTIATE_TEST_SUITE_P(Road, Fixture, \
                             ::testing::Values(&SystemProfileReader(), &FileBytesProfileReader()), \
                             ProfileRoadName)
