// A case of a table-driven (parameterised) test that carries its name: a case struct derives
// from NamedCase and is written {"Name", ...}. GoogleTest prints the case as its name, which
// ctest then lists as the test's name, and a name generator can take the name as it is.
#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

struct NamedCase {
    const char* name;
};

inline std::ostream& operator<<(std::ostream& out, const NamedCase& c) {
    return out << c.name;
}

// The name generator for INSTANTIATE_TEST_SUITE_P: the case's name.
struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};
