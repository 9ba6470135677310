// Aligned text tables for the terminal.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/text.h"

namespace morvela {

class TextTable {
 public:
  enum class Align { kLeft, kRight };
  void AddColumn(std::string title, Align align = Align::kLeft);
  void AddRow(std::vector<std::string> cells);
  // Columns padded to their widest cell (counted in characters, not bytes), two blanks apart,
  // with a rule under the titles.
  void Print(std::ostream& out) const;

 private:
  std::vector<std::string> titles_;
  std::vector<Align> aligns_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace morvela
