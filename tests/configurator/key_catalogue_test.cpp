// The key list of keyboard actions and how a stored code finds its row.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "configurator/key_catalogue.h"

namespace quillon {
namespace {

TEST(KeyCatalogueTest, ACodeFindsItsFirstRowFromTheTop) {
  ASSERT_EQ(std::size(KeyCatalogue), 139u);
  const struct {
    int code;
    int row;
    const char* text;
  } cases[] = {
      {1, 0, "Left mouse button"},
      {12, 6, "CLEAR key"},
      {254, 87, "CLEAR key"},        // the same text, its own code
      {145, 73, "SCROLL LOCK key"},  // never the later "OEM Scroll"
      {105, 41, "Numeric keypad 9 key"},
      {112, 48, "F1 key"},
      {133, 69, "F22 key (Key used to lock device)"},
      {135, 71, "F24 key"},
      {220, 97, "'\\|' for US."},
      {221, 98, "']}' for US"},
      {222, 99, "''"},
      {226, 102, "'<>' or '\\|' on RT 102-key keyboard."},
      {65, 103, "A"},
      {57, 138, "9"},
  };
  for (const auto& c : cases) {
    const int row = FindCatalogueRow(c.code);
    ASSERT_EQ(row, c.row) << c.code;
    EXPECT_STREQ(KeyCatalogue[row].description, c.text) << c.code;
  }
  // Every other row is the one its own code finds.
  for (size_t row = 0; row < std::size(KeyCatalogue); ++row) {
    const bool oemScroll = std::string(KeyCatalogue[row].description) == "OEM Scroll";
    EXPECT_EQ(FindCatalogueRow(KeyCatalogue[row].code), oemScroll ? 73 : static_cast<int>(row)) << row;
  }
}

TEST(KeyCatalogueTest, CodesWithoutARowAndCodesOutOfRangeFindNone) {
  const std::pair<int, int> rowless[] = {
      {0, 0},     {5, 7},     {10, 11},   {14, 15},   {21, 26},   {28, 31},   {42, 42},   {58, 64},   {94, 95},
      {136, 143}, {146, 159}, {166, 185}, {193, 218}, {224, 224}, {227, 245}, {252, 252}, {255, 255},
  };
  std::set<int> expected, found;
  for (const auto& [first, last] : rowless) {
    for (int code = first; code <= last; ++code) expected.insert(code);
  }
  for (int code = 0; code <= 255; ++code) {
    if (FindCatalogueRow(code) == kNoCatalogueRow) found.insert(code);
  }
  EXPECT_EQ(found, expected);
  for (int code : {-1, -111, 256 + 65, 32767, -32768}) EXPECT_EQ(FindCatalogueRow(code), kNoCatalogueRow) << code;
}

}  // namespace
}  // namespace quillon
