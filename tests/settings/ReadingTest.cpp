// Reading korva.ini: where lines end, short and long files, bytes kept as
// they are, and files that give nothing.

#include <unistd.h>

#include "SettingsTesting.h"

using namespace testing_support;

namespace {

struct ReadCase {
  const char* what;
  std::string content;
  std::vector<std::string> values;
};

TEST_F(SettingsFileTest, ReadsEightLinesWhereverTheyEnd) {
  const std::vector<std::string> abc = {"A", "B", "C", "D", "E", "F", "3", "1"};
  const ReadCase cases[] = {
      {"LF", "A\nB\nC\nD\nE\nF\n3\n1\n", abc},
      {"CR LF", "A\r\nB\r\nC\r\nD\r\nE\r\nF\r\n3\r\n1\r\n", abc},
      {"lone CR", "A\rB\rC\rD\rE\rF\r3\r1\r", abc},
      {"mixed, last line without end", "A\r\nB\rC\nD\r\nE\rF\n3\r1", abc},
      {"more than eight lines", "A\nB\nC\nD\nE\nF\n3\n1\nG\nH\n", abc},
      {"empty file", "", {"", "", "", "", "", "", "", ""}},
      {"three lines", "A\nB\nC\n", {"A", "B", "C", "", "", "", "", ""}},
      {"empty lines between", "\nB\n\n\nE\n", {"", "B", "", "", "E", "", "", ""}},
      {"CR CR and LF CR end two lines each", "A\r\rC\n\rE", {"A", "", "C", "", "E", "", "", ""}},
      {"blanks at both ends", "  A \n\tB\t\n C\n", {"  A ", "\tB\t", " C", "", "", "", "", ""}},
      {"0x1A is an ordinary byte", "A\x1A" "B\n\x1A\n", {"A\x1A" "B", "\x1A", "", "", "", "", "", ""}},
      {"bytes that are not UTF-8, and NUL", std::string("\xFF\xFE\n\0x\n", 6),
       {"\xFF\xFE", std::string("\0x", 2), "", "", "", "", "", ""}},
  };
  for (const ReadCase& c : cases) {
    WriteFile(TSettings::kFileName, c.content);
    TSettings settings = StoredLayoutValues();
    EXPECT_EQ(settings.Read(TSettings::kFileName), TSettings::kLines) << c.what;
    EXPECT_EQ(Values(settings), c.values) << c.what;
  }
}

// A CR LF split across the reader's buffers still ends one line, however
// large a buffer is.
TEST_F(SettingsFileTest, LongLinesEndWhereverTheBufferEnds) {
  for (std::size_t length : {4093u, 4094u, 4095u, 4096u, 4097u, 8191u, 65535u, 65536u, 200000u}) {
    const std::string longLine(length, 'x');
    WriteFile(TSettings::kFileName, longLine + "\r\nB\r\nC");
    TSettings settings;
    ASSERT_EQ(settings.Read(TSettings::kFileName), TSettings::kLines) << length;
    EXPECT_EQ(settings.CallSign, longLine) << length;
    EXPECT_EQ(settings.Position, "B") << length;
    EXPECT_EQ(settings.BeaconText, "C") << length;
  }
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadChangesNothing) {
  struct Case {
    const char* what;
    void (*make)();
    bool asNobody;
  };
  const Case cases[] = {
      {"no file", [] {}, false},
      {"a directory", [] { ASSERT_EQ(0, ::mkdir(TSettings::kFileName, 0777)); }, false},
      {"no read permission", [] { WriteFile(TSettings::kFileName, "A\nB\n", 0200); }, true},
      {"a link that leads nowhere", [] { ASSERT_EQ(0, ::symlink("gone.ini", TSettings::kFileName)); },
       false},
  };
  for (const Case& c : cases) {
    EmptyFolder(".");
    c.make();
    auto readNothing = [] {
      TSettings settings = StoredLayoutValues();
      const std::size_t lines = settings.Read(TSettings::kFileName);
      if (lines != 0) return std::to_string(lines) + " lines read";
      return Values(settings) == Values(StoredLayoutValues()) ? std::string("nothing") : "values changed";
    };
    EXPECT_EQ(c.asNobody ? AsNobody(readNothing) : readNothing(), "nothing") << c.what;
  }
}

}  // namespace
