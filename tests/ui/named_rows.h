// Table rows that carry their own `name`, and calculators: the name of each
// row's test and what failure messages print for a row or a calculator.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "calc/calculators.h"

namespace mirabo::test {

// The row's name as its test's name: INSTANTIATE_TEST_SUITE_P(..., RowName()).
struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

// A row prints as its name; a file brings this in beside its rows with
// `using mirabo::test::PrintTo;`.
template <class Row>
requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

}  // namespace mirabo::test

namespace mirabo {

// A calculator of the register prints as its id: "right_triangle".
inline void PrintTo(const Calculator* calculator, std::ostream* os) { *os << calculator->id; }

}  // namespace mirabo
