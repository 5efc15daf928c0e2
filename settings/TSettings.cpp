#include "TSettings.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "FileReplacement.h"

namespace {

using TValue = std::string TSettings::*;

constexpr TValue kLineValues[TSettings::kLines] = {
    &TSettings::CallSign, &TSettings::Position, &TSettings::BeaconText,   &TSettings::Symbol,
    &TSettings::Path,     &TSettings::TxDelay,  &TSettings::IntervalCode, &TSettings::Threshold};

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// One line without its end. Past the end of the file every line is empty,
// which is no failure; a failed read is.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  int c;
  while ((c = getc_unlocked(file)) != EOF && c != '\n' && c != '\r') line += static_cast<char>(c);
  if (c == '\r') {
    c = getc_unlocked(file);
    if (c != '\n' && c != EOF) ungetc(c, file);
  }
  return !std::ferror(file);
}

}  // namespace

std::string& TSettings::Line(std::size_t index) { return this->*kLineValues[index]; }
const std::string& TSettings::Line(std::size_t index) const { return this->*kLineValues[index]; }

// Even running out of memory on a huge line ends the reading quietly.
std::size_t TSettings::Read(const std::string& path) {
  std::size_t lines = 0;
  try {
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "re"));
    if (!file) return 0;
    std::string line;
    while (lines < kLines && ReadLine(file.get(), line)) Line(lines++).swap(line);
  } catch (const std::exception&) {
  }
  return lines;
}

bool TSettings::Write(const std::string& path) const {
  try {
    std::string text;
    for (std::size_t index = 0; index < kLines; ++index) text += Line(index) + '\n';
    return ReplaceFileContent(path, text);
  } catch (const std::exception&) {
    return false;
  }
}
