// Names each case of a parameterized test after the `name` field of its parameter.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace relingo::test {

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

} // namespace relingo::test
