// Calendar dates as the program uses them: whole days, no time of day.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace morvela {

using Date = std::chrono::year_month_day;

// Date from year, month, day; nullopt when the date does not exist.
std::optional<Date> MakeDate(int year, int month, int day);

// The number written by the digits of s alone (no sign, no blanks), when s has between
// min_len and max_len of them; nullopt otherwise, and when the number is beyond the int range.
std::optional<int> ParseDigits(std::string_view s, size_t min_len, size_t max_len);

// Days from a to b (b - a).
int DaysBetween(const Date& a, const Date& b);

Date AddDays(const Date& d, int days);

// 0 = Monday ... 6 = Sunday.
int WeekdayMondayFirst(const Date& d);

// "2011-03-07", the form dates are stored in the database.
std::string FormatIsoDate(const Date& d);

// Parses "YYYY-MM-DD" (exactly that layout); nullopt otherwise.
std::optional<Date> ParseIsoDate(std::string_view text);

// Parses the short date format "dd.mm.yyyy" (one- or two-digit day and month, four-digit year);
// nullopt otherwise.
std::optional<Date> ParseShortDate(std::string_view text);

// The system's current date.
Date SystemToday();

}  // namespace morvela
