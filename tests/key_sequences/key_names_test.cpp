// The key-name table that the parser searches and the configurator lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shared/key_names.h"

namespace quillon {
namespace {

TEST(KeyNames, AreEightyEightInStrictByteOrder) {
  ASSERT_EQ(sizeof KeyNameTable / sizeof KeyNameTable[0], 88u);
  EXPECT_STREQ(KeyNameTable[0].name, "%");
  EXPECT_STREQ(KeyNameTable[4].name, "APPS");
  EXPECT_STREQ(KeyNameTable[87].name, "~");
  for (size_t i = 1; i < kKeyNameCount; ++i) {
    const char* previous = KeyNameTable[i - 1].name;
    EXPECT_EQ(CompareKeyName(previous, std::strlen(previous), KeyNameTable[i].name), -1)
        << previous << " / " << KeyNameTable[i].name;
  }
}

TEST(KeyNames, EveryEntryIsFoundByItsNameAndNothingElse) {
  for (const KeyName& entry : KeyNameTable) {
    EXPECT_EQ(FindKeyName(entry.name, std::strlen(entry.name)), &entry) << entry.name;
    std::string longer = std::string(entry.name) + "X";
    EXPECT_EQ(FindKeyName(longer.c_str(), longer.size()), nullptr) << longer;
    std::string shorter(entry.name, std::strlen(entry.name) - 1);
    const KeyName* found = FindKeyName(shorter.c_str(), shorter.size());
    if (found != nullptr) {
      EXPECT_EQ(found->name, shorter) << "prefix of " << entry.name;
    }
  }
  const char* unknown[] = {"", "enter", "A", "NUMPAD", "F17", "SHIFT DOWN", "\xff", "ZZZ", " "};
  for (const char* name : unknown) EXPECT_EQ(FindKeyName(name, std::strlen(name)), nullptr) << name;
}

TEST(KeyNames, CharacterEntriesAreExactlyThePunctuation) {
  std::string characters;
  for (const KeyName& entry : KeyNameTable) {
    if (entry.character != 0) {
      characters += entry.character;
      EXPECT_EQ(entry.keyCode, 0) << entry.name;
      EXPECT_EQ(std::string(1, entry.character), entry.name);
    } else {
      EXPECT_GT(entry.keyCode, 0) << entry.name;
      EXPECT_LE(entry.keyCode, kLastFixedKeyCode) << entry.name;
      EXPECT_LE(std::strlen(entry.name), 11u) << entry.name;
    }
  }
  EXPECT_EQ(characters, "%()+[]^{}~");
}

TEST(KeyNames, CodesOfSomeEntries) {
  struct Row {
    const char* name;
    uint16_t keyCode;
  };
  const Row rows[] = {{"F1", 0x70},      {"F10", 0x79},   {"F16", 0x7F},       {"NUMPAD0", 0x60},    {"NUMPAD9", 0x69},
                      {"NUMPAD.", 0x6E}, {"LMENU", 256},  {"RMENU", 257},      {"NUMPADENTER", 262}, {"DEL", 272},
                      {"DELETE", 272},   {"INS", 271},    {"NUMPADINS", 0x2D}, {"NUMPADPGDN", 0x22}, {"HELP", 0x2F},
                      {"PRTSC", 0x2C},   {"BREAK", 0x13}, {"CLEAR", 0x0C},     {"BELL", 0x07},       {"LF", 0x0A}};
  for (const Row& row : rows) {
    const KeyName* entry = FindKeyName(row.name, std::strlen(row.name));
    ASSERT_NE(entry, nullptr) << row.name;
    EXPECT_EQ(entry->keyCode, row.keyCode) << row.name;
  }
}

}  // namespace
}  // namespace quillon
