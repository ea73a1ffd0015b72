// How typed and stored texts become whole numbers.
#include <gtest/gtest.h>

#include "shared/numeric_text.h"

namespace quillon {
namespace {

struct Case {
  const char* text;
  std::optional<int64_t> expected;
};

TEST(NumericTextTest, AFieldTextIsANumberOnlyWhenItIsADecimalNumberAsAWhole) {
  const Case cases[] = {
      {"2048", 2048},
      {" 1500 ", 1500},
      {"+7", 7},
      {"-12", -12},
      {"2.5", 3},
      {"-2.5", -3},
      {"2.49", 2},
      {".5", 1},
      {"5.", 5},
      {"0", 0},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {"1e3", std::nullopt},
      {"1,000", std::nullopt},
      {"&H10", std::nullopt},
      {"-", std::nullopt},
      {".", std::nullopt},
      {"1 2", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWholeNumberText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumericTextTest, ALeadingNumberIgnoresWhatFollowsAndIsZeroWithoutDigits) {
  const Case cases[] = {
      {"16", 16},
      {"  42abc", 42},
      {"12.7ms", 13},
      {"-3x", -3},
      {"abc", 0},
      {"", 0},
      {"x12", 0},
      {"1e3", 1},
      {"\t8", 8},
      {"-0.4", 0},
      {"99999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace quillon
