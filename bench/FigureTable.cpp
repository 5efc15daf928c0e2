#include "FigureTable.h"

#include <algorithm>
#include <array>

namespace {

// Columns are counted in characters: "≤" and "×" take one, not their bytes.
std::size_t Width(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Line(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += " | ";
    line += cells[i];
    if (i + 1 < cells.size()) line += std::string(widths[i] - Width(cells[i]), ' ');
  }
  return line + "\n";
}

}  // namespace

void TFigureTable::Row(std::string figure, std::string korva, std::string baseline,
                       std::string goal, std::string result) {
  rows_.push_back({std::move(figure), std::move(korva), std::move(baseline), std::move(goal),
                   std::move(result)});
}

void TFigureTable::Note(std::string line) { notes_.push_back(std::move(line)); }

std::string TFigureTable::Text() const {
  const std::vector<std::string> heading{"figure", "KORVA", "baseline (same run)", "goal", "result"};
  std::vector<std::size_t> widths(heading.size());
  for (std::size_t i = 0; i < heading.size(); ++i) widths[i] = Width(heading[i]);
  for (const auto& row : rows_)
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i]));
  std::string text = Line(heading, widths);
  std::vector<std::string> rule;
  for (std::size_t width : widths) rule.push_back(std::string(width, '-'));
  text += Line(rule, widths);
  for (const auto& row : rows_) text += Line(row, widths);
  if (!notes_.empty()) text += "\n";
  for (const std::string& note : notes_) text += note + "\n";
  return text;
}
