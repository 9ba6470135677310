#include "cli/table_printer.h"
#include "core/text.h"

#include <algorithm>

namespace morvela {

void TextTable::AddColumn(std::string title, Align align) {
  titles_.push_back(std::move(title));
  aligns_.push_back(align);
}

void TextTable::AddRow(std::vector<std::string> cells) {
  cells.resize(titles_.size());
  rows_.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out) const {
  std::vector<size_t> width(titles_.size());
  for (size_t c = 0; c < titles_.size(); ++c) {
    width[c] = Utf8Length(titles_[c]);
    for (const auto& r : rows_) width[c] = std::max(width[c], Utf8Length(r[c]));
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string s;
    for (size_t c = 0; c < cells.size(); ++c) {
      std::string pad(width[c] - Utf8Length(cells[c]), ' ');
      if (c) s += "  ";
      s += aligns_[c] == Align::kRight ? pad + cells[c] : cells[c] + pad;
    }
    while (!s.empty() && s.back() == ' ') s.pop_back();
    out << s << "\n";
  };
  line(titles_);
  std::string rule;
  for (size_t c = 0; c < width.size(); ++c) {
    if (c) rule += "  ";
    rule += std::string(width[c], '-');
  }
  out << rule << "\n";
  for (const auto& r : rows_) line(r);
}

}  // namespace morvela
