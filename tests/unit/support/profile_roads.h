// The two roads of the profile reads (profile_reader.h): the tables of the profile functions
// and of the set-file reader run on both. Under Wine the system's road is Wine's own profile
// functions, so each table also proves the file's-bytes road equal to them.
#pragma once

#include "profile_reader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// How GoogleTest names a road in its output and in ctest's test names.
inline void PrintTo(const ProfileReader* road, std::ostream* os)
{
    *os << (road == &SystemProfileReader() ? "the system's profile functions" : "the file's bytes");
}

inline std::string ProfileRoadName(const ::testing::TestParamInfo<const ProfileReader*>& info)
{
    return info.param == &SystemProfileReader() ? "System" : "FileBytes";
}

// Runs every TEST_P of the fixture (a TestWithParam<const ProfileReader*>) on both roads.
#define QS_ON_EACH_PROFILE_ROAD(Fixture) \
    INSTANTIATE_TEST_SUITE_P(Road, Fixture, \
                             ::testing::Values(&SystemProfileReader(), &FileBytesProfileReader()), \
                             ProfileRoadName)
