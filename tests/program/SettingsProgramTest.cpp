// korva.ini at its edges, with the real program: a line break pasted into
// an entry, and a korva.ini that is a pipe, a device or a huge file.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "BlackBox.h"
#include "PeakMemory.h"

using namespace blackbox;

namespace {

constexpr TMillis kPatience(10000);

const std::vector<std::string> kValues = {"CALL-1", "POS-2", "TEXT 3", "/", "PATH,5", "25", "5", "1"};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string SettingsIn(const TKorvaProcess& korva) {
  std::ifstream file(korva.WorkDir() + "/korva.ini", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void CloseAndExpectExitZero(TKorvaProcess& korva) {
  korva.SendCloseRequest();
  const std::optional<int> status = korva.WaitForExit(kPatience);
  ASSERT_TRUE(status.has_value()) << "still running after the close request";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

// "AB⏎CD" from another program's copy, pasted over an entry's whole text:
// the entry keeps "AB" (as far as its maximum length allows), the file
// keeps eight lines, and a restart and a close leave them as they were.
TEST(SettingsProgram, APastedLineBreakEndsTheEntrysTextAndNoOtherValueMoves) {
  struct Case {
    const char* entry;
    std::string kept;
  };
  const Case cases[] = {{"Edit1", "AB"}, {"Edit2", "AB"}, {"Edit3", "AB"},
                        {"Edit4", "A"},  {"Edit5", "AB"}, {"Edit6", "AB"}};
  for (std::size_t line = 0; line < 6; ++line) {
    const Case& c = cases[line];
    TKorvaOptions options;
    options.settings = Joined(kValues);
    TKorvaProcess korva(options);
    ASSERT_TRUE(korva.SetClipboard("AB\nCD")) << c.entry;
    korva.Start();
    ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
    korva.ClickControl(c.entry);
    korva.PressKey("ctrl+a ctrl+v");
    CloseAndExpectExitZero(korva);
    std::vector<std::string> expected = kValues;
    expected[line] = c.kept;
    EXPECT_EQ(SettingsIn(korva), Joined(expected)) << c.entry;

    korva.Start();
    ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
    CloseAndExpectExitZero(korva);
    EXPECT_EQ(SettingsIn(korva), Joined(expected)) << c.entry << ", after a restart";
  }
}

// Starts korva once the case has made its korva.ini, and returns its peak
// memory in KiB once the window shows (the file is read before that);
// nothing, and korva ended, if no window showed.
std::optional<long> PeakMemoryOfAStart(TKorvaProcess& korva) {
  korva.Start();
  if (!korva.WaitForWindow()) {
    korva.Kill();
    return std::nullopt;
  }
  return PeakMemoryKiB(std::to_string(korva.Pid()));
}

// What is no plain file is not read, and a huge line is kept only as far
// as an entry holds it: the window shows, with about the memory of a start
// without korva.ini. At the close a pipe nobody reads is left alone, a
// device is written in place (so stays what it is), a plain file replaced.
TEST(SettingsProgram, APipeADeviceOrAHugeFileNeitherHoldsNorFloodsTheStart) {
  struct Case {
    const char* what;
    void (*make)(const std::string& path);
    void (*check)(const std::string& path);
  };
  const Case cases[] = {
      {"a pipe",
       [](const std::string& path) { ASSERT_EQ(0, ::mkfifo(path.c_str(), 0666)); },
       [](const std::string& path) {
         struct stat entry {};
         EXPECT_EQ(0, ::lstat(path.c_str(), &entry));
         EXPECT_TRUE(S_ISFIFO(entry.st_mode)) << "a pipe no more";
       }},
      {"a link to /dev/zero",
       [](const std::string& path) { ASSERT_EQ(0, ::symlink("/dev/zero", path.c_str())); },
       [](const std::string& path) {
         std::error_code error;
         EXPECT_EQ(std::filesystem::read_symlink(path, error).string(), "/dev/zero");
       }},
      {"100 MB without a line end",
       [](const std::string& path) {
         std::ofstream file(path, std::ios::binary);
         const std::string block(1 << 20, 'x');
         for (int i = 0; i < 100; ++i) file << block;
         ASSERT_TRUE(file.flush());
       },
       [](const std::string& path) {
         std::ifstream file(path, std::ios::binary);
         std::ostringstream text;
         text << file.rdbuf();
         // Line 1 as far as Edit1 held it, lines 2 to 6 empty, the interval
         // and "THRESH." as the layout has them.
         EXPECT_TRUE(text.str() == std::string(65534, 'x') + "\n\n\n\n\n\n4\n0\n")
             << text.str().size() << " bytes";
       }},
  };
  TKorvaProcess korva;
  const std::string path = korva.WorkDir() + "/korva.ini";
  const std::optional<long> withoutFile = PeakMemoryOfAStart(korva);
  ASSERT_TRUE(withoutFile.has_value()) << "no window without korva.ini: " << korva.Stderr();
  CloseAndExpectExitZero(korva);
  for (const Case& c : cases) {
    std::filesystem::remove(path);
    c.make(path);
    const std::optional<long> peak = PeakMemoryOfAStart(korva);
    if (!peak) {
      ADD_FAILURE() << c.what << ": no window";
      continue;
    }
    // An entry showing 65534 characters takes some MB of its own.
    EXPECT_LT(*peak, *withoutFile + 8 * 1024) << c.what << ": KiB, against " << *withoutFile;
    CloseAndExpectExitZero(korva);
    c.check(path);
  }
}

}  // namespace
