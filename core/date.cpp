#include "core/date.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <limits>

namespace morvela {

std::optional<int> ParseDigits(std::string_view s, size_t min_len, size_t max_len) {
  if (s.size() < min_len || s.size() > max_len) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    const int digit = c - '0';
    if (v > (std::numeric_limits<int>::max() - digit) / 10) return std::nullopt;
    v = v * 10 + digit;
  }
  return v;
}

std::optional<Date> MakeDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  Date d{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
         std::chrono::day{static_cast<unsigned>(day)}};
  if (!d.ok()) return std::nullopt;
  return d;
}

int DaysBetween(const Date& a, const Date& b) {
  return static_cast<int>((std::chrono::sys_days{b} - std::chrono::sys_days{a}).count());
}

Date AddDays(const Date& d, int days) {
  return Date{std::chrono::sys_days{d} + std::chrono::days{days}};
}

int WeekdayMondayFirst(const Date& d) {
  unsigned iso = std::chrono::weekday{std::chrono::sys_days{d}}.iso_encoding();  // 1 = Monday
  return static_cast<int>(iso) - 1;
}

std::string FormatIsoDate(const Date& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(d.year()),
                static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
  return buf;
}

std::optional<Date> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto y = ParseDigits(text.substr(0, 4), 4, 4);
  auto m = ParseDigits(text.substr(5, 2), 2, 2);
  auto d = ParseDigits(text.substr(8, 2), 2, 2);
  if (!y || !m || !d) return std::nullopt;
  return MakeDate(*y, *m, *d);
}

std::optional<Date> ParseShortDate(std::string_view text) {
  size_t p1 = text.find('.');
  if (p1 == std::string_view::npos) return std::nullopt;
  size_t p2 = text.find('.', p1 + 1);
  if (p2 == std::string_view::npos) return std::nullopt;
  auto d = ParseDigits(text.substr(0, p1), 1, 2);
  auto m = ParseDigits(text.substr(p1 + 1, p2 - p1 - 1), 1, 2);
  auto y = ParseDigits(text.substr(p2 + 1), 4, 4);
  if (!y || !m || !d) return std::nullopt;
  return MakeDate(*y, *m, *d);
}

Date SystemToday() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return *MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace morvela
