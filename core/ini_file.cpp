#include "core/ini_file.h"

#include "core/atomic_file.h"
#include "core/helpers.h"
#include "core/text.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <utility>

namespace morvela {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The name of a "[Name]" line; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimSpacesAndTabs(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimSpacesAndTabs(line.substr(1, close - 1));
}

// Key and value of a "key=value" line; nullopt for comments and lines without "=".
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
  std::string_view trimmed = TrimSpacesAndTabs(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  size_t eq = trimmed.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return std::pair{TrimSpacesAndTabs(trimmed.substr(0, eq)),
                   TrimSpacesAndTabs(trimmed.substr(eq + 1))};
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    read_failed_ = static_cast<bool>(ec);
    return;
  }
  std::ifstream in(path_, std::ios::binary);
  if (!in || std::filesystem::is_directory(path_, ec)) {
    read_failed_ = true;
    return;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    read_failed_ = true;
    return;
  }
  std::string_view rest = text;
  if (rest.starts_with(kByteOrderMark)) {
    bom_ = true;
    rest.remove_prefix(kByteOrderMark.size());
  }
  size_t first_break = rest.find('\n');
  crlf_ = first_break != std::string_view::npos && first_break > 0 && rest[first_break - 1] == '\r';
  while (!rest.empty()) {
    size_t br = rest.find('\n');
    std::string_view line = rest.substr(0, br);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines_.emplace_back(line);
    rest.remove_prefix(br == std::string_view::npos ? rest.size() : br + 1);
  }
}

std::optional<size_t> IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = SectionName(lines_[i]);
    if (name && EqualsIgnoringAsciiCase(*name, section)) return i;
  }
  return std::nullopt;
}

std::optional<size_t> IniFile::FindKey(std::string_view section, std::string_view key) const {
  auto header = FindSection(section);
  if (!header) return std::nullopt;
  for (size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
    auto kv = KeyValue(lines_[i]);
    if (kv && EqualsIgnoringAsciiCase(kv->first, key)) return i;
  }
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  auto line = FindKey(section, key);
  if (!line) return std::string(def);
  return std::string(KeyValue(lines_[*line])->second);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  return ParseWholeInt(ReadString(section, key, "")).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  std::string text = ReadString(section, key, "");
  if (EqualsIgnoringAsciiCase(text, "true")) return true;
  if (EqualsIgnoringAsciiCase(text, "false")) return false;
  auto number = ParseWholeInt(text);
  return number ? *number != 0 : def;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (auto line = FindKey(section, key)) {
    std::string spelled(KeyValue(lines_[*line])->first);
    lines_[*line] = spelled + "=" + std::string(value);
    return;
  }
  std::string entry = std::string(key) + "=" + std::string(value);
  auto header = FindSection(section);
  if (!header) {
    if (!lines_.empty() && !TrimSpacesAndTabs(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(entry));
    return;
  }
  size_t insert_at = *header + 1;
  for (size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
    if (!TrimSpacesAndTabs(lines_[i]).empty()) insert_at = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(entry));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool IniFile::Save(unsigned mode) const {
  std::string content(bom_ ? kByteOrderMark : "");
  std::string_view eol = crlf_ ? "\r\n" : "\n";
  for (const auto& line : lines_) {
    content += line;
    content += eol;
  }
  return WriteFileAtomically(path_, content, mode);
}

}  // namespace morvela
