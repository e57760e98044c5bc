#include <gtest/gtest.h>

#include <string>

#include "cli/element_names.h"

namespace {

struct Row {
    const char *in;
    const char *out;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.in;
}

class ElementNames : public ::testing::TestWithParam<Row> {};

TEST_P(ElementNames, FoldsNamesOnly)
{
    std::string text = GetParam().in;
    EXPECT_EQ(quillet::lowercase_element_names(text.data()), text.data());
    EXPECT_EQ(text, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ElementNames,
    ::testing::Values(Row{"Sensor=CPU0,Lowest=5", "sensor=CPU0,lowest=5"},
                      Row{"A=B=C,D", "a=B=C,d"},
                      Row{"NAME,OTHER=X", "name,other=X"},
                      Row{"x=1,,Y=Z", "x=1,,y=Z"},
                      Row{"", ""},
                      Row{"MAC=0A:BC,Hostid=DEAD", "mac=0A:BC,hostid=DEAD"}));

TEST(ElementNamesNull, NullStaysNull)
{
    EXPECT_EQ(quillet::lowercase_element_names(nullptr), nullptr);
}

}  // namespace
