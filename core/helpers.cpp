#include "core/helpers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/rounding.h"

namespace morvela {

namespace {

// Step one of ParseDateText: day.month.year with plain integers in each part.
std::optional<Date> ParseDayMonthYear(std::string_view text) {
  size_t p1 = text.find('.');
  if (p1 == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(p1 + 1);
  size_t p2 = rest.find('.');
  if (p2 == std::string_view::npos) return std::nullopt;
  auto day = ParseWholeInt(text.substr(0, p1));
  auto month = ParseWholeInt(rest.substr(0, p2));
  auto year = ParseWholeInt(rest.substr(p2 + 1));
  if (!day || !month || !year || *year < 1 || *year > 9999) return std::nullopt;
  return MakeDate(*year, *month, *day);
}

// The user's date format: the short date format, or the locale's year-first form.
std::optional<Date> ParseUserDateFormat(std::string_view text) {
  if (auto d = ParseShortDate(text)) return d;
  return ParseIsoDate(text);
}

}  // namespace

std::optional<int> ParseWholeInt(std::string_view s) {
  int v = 0;
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, v);
  if (ec != std::errc{} || p != end) return std::nullopt;
  return v;
}

Date ParseDateText(std::string_view text) {
  if (auto d = ParseDayMonthYear(text)) return *d;
  if (auto d = ParseUserDateFormat(text)) return *d;
  return SystemToday();
}

std::string FormatDateText(const Date& d) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02u.%02u.%04d", static_cast<unsigned>(d.day()),
                static_cast<unsigned>(d.month()), static_cast<int>(d.year()));
  return buf;
}

std::string FormatSqlDate(const Date& d) {
  return "#" + FormatIsoDate(d) + "#";
}

std::string FormatNumber2(double value) {
  if (!std::isfinite(value)) value = 0;
  // Large enough for the integer digits of the largest double plus the decimals.
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.2f", std::fabs(value));
  std::string plain = buf;
  size_t point = plain.find('.');
  std::string out;
  if (value < 0 && plain != "0.00") out += '-';
  for (size_t i = 0; i < point; ++i) {
    if (i > 0 && (point - i) % 3 == 0) out += ' ';
    out += plain[i];
  }
  out += ',';
  out += plain.substr(point + 1);
  return out;
}

std::string FormatOdds(double value) {
  if (!std::isfinite(value)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.5e", value);
  std::string text = FormatNumber2(std::strtod(buf, nullptr));
  return text == "0,00" ? "0" : text;
}

int ImpliedPercent(double odds) {
  if (!std::isfinite(odds) || odds <= 0) return 0;
  // Odds are quoted in hundredths: divide in integers so that 100 / 1.60 is exactly 62.5 and
  // ties round to even instead of whichever side the binary value of 1.60 happens to fall.
  double hundredths = odds * 100;
  if (hundredths < 1e15) {
    double whole = std::round(hundredths);
    if (whole >= 1 && std::fabs(hundredths - whole) < 1e-6) {
      return static_cast<int>(RoundRatioHalfEven(10000, static_cast<int64_t>(whole)));
    }
  }
  double percent = 100 / odds;
  if (!(percent < static_cast<double>(INT_MAX))) return 0;
  return static_cast<int>(RoundHalfEven(percent));
}

std::string QuoteSqlText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string FormatSqlNumber(double value) {
  if (!std::isfinite(value) || value == 0) return "0";  // also turns -0 into 0
  // Fixed notation of the smallest subnormal needs about 330 characters.
  char buf[400];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  if (ec != std::errc{}) return "0";
  return std::string(buf, end);
}

std::optional<double> ParseDecimalText(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::string normal(text);
  std::replace(normal.begin(), normal.end(), ',', '.');
  double v = 0;
  const char* end = normal.data() + normal.size();
  auto [p, ec] = std::from_chars(normal.data(), end, v);
  if (ec != std::errc{} || p != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace morvela
