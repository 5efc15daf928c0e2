#include "TSettings.h"

#include <exception>

#include "FileReplacement.h"
#include "LinkResolution.h"
#include "TLineReader.h"

namespace {

using TValue = std::string TSettings::*;

constexpr TValue kLineValues[TSettings::kLines] = {
    &TSettings::CallSign, &TSettings::Position, &TSettings::BeaconText,   &TSettings::Symbol,
    &TSettings::Path,     &TSettings::TxDelay,  &TSettings::IntervalCode, &TSettings::Threshold};

std::string FirstLineOf(const std::string& value) { return value.substr(0, value.find_first_of("\r\n")); }

}  // namespace

std::string& TSettings::Line(std::size_t index) { return this->*kLineValues[index]; }
const std::string& TSettings::Line(std::size_t index) const { return this->*kLineValues[index]; }

// Even running out of memory ends the reading quietly.
std::size_t TSettings::Read(const std::string& path) {
  std::size_t lines = 0;
  try {
    const TFileHandle file = OpenPlainFileForReading(path);
    if (!file) return 0;
    TLineReader reader(file.Get(), kLongestValue);
    std::string line;
    while (lines < kLines && reader.Next(line)) Line(lines++).swap(line);
  } catch (const std::exception&) {
  }
  return lines;
}

bool TSettings::Write(const std::string& path) const {
  try {
    std::string text;
    for (std::size_t index = 0; index < kLines; ++index) text += FirstLineOf(Line(index)) + '\n';
    return ReplaceFileContent(path, text);
  } catch (const std::exception&) {
    return false;
  }
}
