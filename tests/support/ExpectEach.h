// Table-driven checks of a function of one argument: each case gives an input and the output
// expected for it, and a failure names the input.
#pragma once

#include <vector>

#include <gtest/gtest.h>

template <typename Input, typename Output>
struct Expectation {
    Input input;
    Output expected;
};

template <typename Input, typename Output>
using Expectations = std::vector<Expectation<Input, Output>>;

template <typename Function, typename Input, typename Output>
void ExpectEach(Function function, const Expectations<Input, Output>& cases) {
    for (const Expectation<Input, Output>& c : cases) {
        EXPECT_EQ(function(c.input), c.expected) << c.input;
    }
}
