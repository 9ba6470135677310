// The backtest report as one self-contained HTML page: inline SVG charts and plain tables, no
// script, no style sheet or font from elsewhere, so that it opens in any browser without a
// network. Each chart is a complete SVG element (with its namespace) that is well-formed XML on
// its own, so that a script can cut it out and render it to a picture.
#pragma once

#include <string>
#include <vector>

#include "tips/backtest.h"
#include "tips/backtest_report.h"

namespace morvela {

struct ReportHeading {
  std::string title;               // "Backtest 2022-07-01 to 2025-06-30, full time"
  std::string summary;             // one line under the title
  std::vector<std::string> notes;  // what the odds are, what a value bet is
};

// The calibration chart: the stated percentage (mean of the bucket) against the share that won,
// one series per tip kind with tips, one circle per non-empty five-point bucket, its area
// growing with the number of tips and the number written beside it; the diagonal is a perfect
// calibration.
std::string CalibrationSvg(const BacktestReport& report);

// The reliability chart of all forecasters of a group: for each, its stated probabilities of
// single outcomes in five-point buckets against how often those outcomes happened.
std::string ForecastersSvg(const BacktestGroup& group);

// The bank curves: the running profit in units of one unit on every priced tip and on every
// value bet, over the days of the period.
std::string BankSvg(const BacktestReport& report, const ValueFilter& value);

// The whole page: both charts, ROI by odds range and by PROFIT threshold (with the grid of
// filters and the best of them), and the per-league table of hit rates, probability scores
// (tips, the bookmaker without margin, the naive league frequencies) and ROI.
std::string BacktestHtml(const ReportHeading& heading, const BacktestReport& report,
                         const std::vector<BacktestGroup>& groups, const ValueFilter& value);

// Text with &, <, >, " and ' written as entities.
std::string XmlEscape(std::string_view text);

// "PROFIT >= 5, odds 1.50-3.00" (3.00 excluded) and the like; "every bet" for the default filter.
std::string DescribeValueFilter(const ValueFilter& value);

}  // namespace morvela
