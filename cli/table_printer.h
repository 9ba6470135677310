// Aligned text tables for the terminal.
#pragma once

#include <ostream>
#include <string>
#include <vector>

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

// Number of characters of a UTF-8 text.
size_t Utf8Length(const std::string& s);

}  // namespace morvela
