#pragma once
// The benchmark's one table: a row a figure, KORVA's value beside the
// baseline's from the same run, the goal and how the value meets it.

#include <string>
#include <vector>

class TFigureTable {
 public:
  void Row(std::string figure, std::string korva, std::string baseline, std::string goal,
           std::string result);
  void Note(std::string line);  // printed under the table
  std::string Text() const;

 private:
  std::vector<std::vector<std::string>> rows_;
  std::vector<std::string> notes_;
};
