// Reading korva.ini: where lines end, short and long files, bytes kept as
// they are, and files that give nothing.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "PeakMemory.h"
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
// large a buffer is; a line is kept only as far as a GTK 2 text entry holds
// it (65534 bytes), the rest passed over, and the next line is read as usual.
TEST_F(SettingsFileTest, LongLinesEndWhereverTheBufferEndsAndKeepWhatAnEntryHolds) {
  constexpr std::size_t kEntryHolds = 65534;
  for (std::size_t length : {4093u, 4094u, 4095u, 4096u, 4097u, 8191u, 65533u, 65534u, 65535u,
                             65536u, 131071u, 131072u, 200000u}) {
    std::string longLine(length, 'x');
    longLine.replace(0, 5, "START");
    WriteFile(TSettings::kFileName, longLine + "\r\nB\r\nC");
    TSettings settings;
    ASSERT_EQ(settings.Read(TSettings::kFileName), TSettings::kLines) << length;
    EXPECT_EQ(settings.CallSign.size(), std::min(length, kEntryHolds)) << length;
    EXPECT_EQ(settings.CallSign.substr(0, 5), "START") << length;
    EXPECT_EQ(settings.CallSign.find_first_not_of("STARx"), std::string::npos) << length;
    EXPECT_EQ(settings.Position, "B") << length;
    EXPECT_EQ(settings.BeaconText, "C") << length;
  }
}

// Run in a child that ends itself after a while, and whose memory is
// bounded, since a reading that waits for a writer, or for the end of an
// endless device, would hang the tests or take the machine's memory. The
// answer names how many lines were read and how far the child's peak memory
// grew while it read.
std::string ReadInChild() {
  return RunInChild([] {
    ::alarm(30);
    const rlimit memory{rlim_t{2} << 30, rlim_t{2} << 30};
    ::setrlimit(RLIMIT_AS, &memory);
    ResetPeakMemory();
    const long before = PeakMemoryKiB();
    TSettings settings = StoredLayoutValues();
    const std::size_t lines = settings.Read(TSettings::kFileName);
    const bool kept = Values(settings) == Values(StoredLayoutValues());
    const long grown = PeakMemoryKiB() - before;
    return std::to_string(lines) + " lines" + (kept ? ", values kept" : ", values changed") +
           (grown < 4096 ? ", little memory" : ", " + std::to_string(grown) + " KiB more memory");
  });
}

// Only a plain file is read: a pipe would wait for a writer, a device may
// never end. What is no plain file loads nothing, as a missing one does.
TEST_F(SettingsFileTest, WhatIsNoPlainFileLoadsNothing) {
  struct Case {
    const char* what;
    void (*make)();
  };
  const Case cases[] = {
      {"no file", [] {}},
      {"a directory", [] { ASSERT_EQ(0, ::mkdir(TSettings::kFileName, 0777)); }},
      {"a link that leads nowhere", [] { ASSERT_EQ(0, ::symlink("gone.ini", TSettings::kFileName)); }},
      {"a pipe nobody writes", [] { ASSERT_EQ(0, ::mkfifo(TSettings::kFileName, 0666)); }},
      {"a link to /dev/zero", [] { ASSERT_EQ(0, ::symlink("/dev/zero", TSettings::kFileName)); }},
  };
  for (const Case& c : cases) {
    EmptyFolder(".");
    c.make();
    EXPECT_EQ(ReadInChild(), "0 lines, values kept, little memory") << c.what;
  }
}

// 100 MB without a line end: one line, kept as far as an entry holds it.
TEST_F(SettingsFileTest, AHugeFileWithoutALineEndTakesLittleMemory) {
  const std::string block(1 << 20, 'x');
  {
    const int fd = ::open(TSettings::kFileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(::write(fd, block.data(), block.size()), 1 << 20);
    ::close(fd);
  }
  EXPECT_EQ(ReadInChild(), "8 lines, values changed, little memory");
}

TEST_F(SettingsFileTest, AFileTheUserMayNotReadLoadsNothing) {
  SKIP_WITHOUT_ROOT_POWERS();
  WriteFile(TSettings::kFileName, "A\nB\n", 0200);
  const std::string answer = AsNobody([] {
    TSettings settings = StoredLayoutValues();
    const std::size_t lines = settings.Read(TSettings::kFileName);
    return std::to_string(lines) + (Values(settings) == Values(StoredLayoutValues()) ? " kept" : " changed");
  });
  EXPECT_EQ(answer, "0 kept");
}

}  // namespace
