#include "tips/backtest_html.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "i18n/leagues.h"

namespace morvela {

namespace {

constexpr int kWidth = 720, kHeight = 460;
constexpr int kLeft = 64, kRight = 24, kTop = 40, kBottom = 56;
constexpr const char* kKindColours[] = {"#1f6fb4", "#c8372d", "#2c9a3c"};
constexpr const char* kKindNames[] = {"Single", "Double chance", "Under/over"};

std::string Num(double v, int decimals) {
  if (std::isnan(v)) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// A linear map from a data interval onto a pixel interval.
struct Axis {
  double from, to;        // data
  double pixel0, pixel1;  // pixels of `from` and `to`
  double operator()(double v) const {
    return pixel0 + (v - from) / (to - from) * (pixel1 - pixel0);
  }
};

std::string SvgOpen(const std::string& title) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kWidth) +
         "\" height=\"" + std::to_string(kHeight) + "\" viewBox=\"0 0 " + std::to_string(kWidth) +
         " " + std::to_string(kHeight) +
         "\" font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" "
         "fill=\"#ffffff\"/>\n<text x=\"" +
         std::to_string(kWidth / 2) + "\" y=\"22\" text-anchor=\"middle\" font-size=\"15\">" +
         XmlEscape(title) + "</text>\n";
}

std::string Text(double x, double y, const std::string& text, const char* anchor = "middle",
                 const char* extra = "") {
  return "<text x=\"" + Num(x, 1) + "\" y=\"" + Num(y, 1) + "\" text-anchor=\"" + anchor + "\"" +
         extra + ">" + XmlEscape(text) + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const char* stroke,
                 const char* extra = "") {
  return "<line x1=\"" + Num(x1, 1) + "\" y1=\"" + Num(y1, 1) + "\" x2=\"" + Num(x2, 1) +
         "\" y2=\"" + Num(y2, 1) + "\" stroke=\"" + stroke + "\"" + extra + "/>\n";
}

// Grid lines and labels every `step` of an axis, horizontal or vertical.
std::string Ticks(const Axis& a, double step, bool vertical, const Axis& other,
                  const std::string& suffix) {
  std::string s;
  for (double v = std::ceil(a.from / step) * step; v <= a.to + 1e-9; v += step) {
    const double p = a(v);
    const std::string label = Num(v, step < 1 ? 1 : 0) + suffix;
    if (vertical) {
      s += Line(p, other.pixel0, p, other.pixel1, "#e4e4e4");
      s += Text(p, other.pixel0 + 16, label);
    } else {
      s += Line(other.pixel0, p, other.pixel1, p, "#e4e4e4");
      s += Text(other.pixel0 - 6, p + 4, label, "end");
    }
  }
  return s;
}

// A step between grid lines that gives about six of them.
double NiceStep(double span) {
  const double raw = span / 6;
  const double magnitude = std::pow(10, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (raw <= m * magnitude) return m * magnitude;
  return 10 * magnitude;
}

std::string Roi(const BettingRecord& r) {
  return r.Bets() ? Num(r.Roi(), 1) : "-";
}

std::string TableCell(const std::string& text, bool right = true) {
  return std::string(right ? "<td class=\"n\">" : "<td>") + XmlEscape(text) + "</td>";
}

std::string MoneyRow(const std::string& label, const BettingRecord& r) {
  return "<tr>" + TableCell(label, false) + TableCell(std::to_string(r.Bets())) +
         TableCell(Num(r.Profit(), 2)) + TableCell(Roi(r)) +
         TableCell(std::to_string(r.LongestLosingRun())) + TableCell(Num(r.MaxDrawdown(), 2)) +
         "</tr>\n";
}

constexpr const char* kMoneyHeader =
    "<tr><th></th><th>Bets</th><th>Profit</th><th>ROI %</th><th>Longest losing run</th>"
    "<th>Max drawdown</th></tr>\n";

std::string GroupName(const BacktestGroup& g) {
  return g.league == 0 ? "All leagues" : LeagueName(g.league, 1);
}

std::string Scores(const ForecastScores& s, double (ForecastScores::*mean)() const) {
  return TableCell(Num((s.*mean)(), 4));
}

std::string LeagueTable(const std::vector<BacktestGroup>& groups) {
  std::string s =
      "<table>\n<tr><th>League</th><th>Matches</th><th>Hit %</th><th>RPS tips</th>"
      "<th>RPS bookmaker</th><th>RPS naive</th><th>Brier tips</th><th>Brier bookmaker</th>"
      "<th>Brier naive</th><th>ROI % tips</th><th>ROI % value</th></tr>\n";
  for (const BacktestGroup& g : groups) {
    HitRecord priced;
    for (const HitRecord& k : g.kinds) {
      priced.tips += k.tips;
      priced.won += k.won;
    }
    priced.tips -= g.kinds[KindIndex(TipKind::ThreeWay)].tips;
    priced.won -= g.kinds[KindIndex(TipKind::ThreeWay)].won;
    s += "<tr>" + TableCell(GroupName(g), false) + TableCell(std::to_string(g.matches)) +
         TableCell(Num(priced.HitRate() * 100, 1)) + Scores(g.tips_odds, &ForecastScores::MeanRps) +
         Scores(g.market_odds, &ForecastScores::MeanRps) +
         Scores(g.naive_odds, &ForecastScores::MeanRps) +
         Scores(g.tips_odds, &ForecastScores::MeanBrier) +
         Scores(g.market_odds, &ForecastScores::MeanBrier) +
         Scores(g.naive_odds, &ForecastScores::MeanBrier) + TableCell(Roi(g.tip_bets)) +
         TableCell(Roi(g.value_bets)) + "</tr>\n";
  }
  return s + "</table>\n";
}

std::string FilterGrid(const BacktestReport& r) {
  std::string s = "<table>\n<tr><th>PROFIT at least</th>";
  for (const OddsRange& o : ReportOddsRanges()) s += "<th>odds " + XmlEscape(o.Label()) + "</th>";
  s += "</tr>\n";
  for (const std::vector<FilterResult>& row : r.value_grid) {
    s += "<tr>" + TableCell(std::to_string(row.front().min_profit), false);
    for (const FilterResult& c : row)
      s += TableCell(c.record.Bets() ? Roi(c.record) + " (" + std::to_string(c.record.Bets()) + ")"
                                     : "");
    s += "</tr>\n";
  }
  return s + "</table>\n";
}

}  // namespace

std::string XmlEscape(std::string_view text) {
  std::string s;
  for (char c : text) {
    switch (c) {
      case '&':
        s += "&amp;";
        break;
      case '<':
        s += "&lt;";
        break;
      case '>':
        s += "&gt;";
        break;
      case '"':
        s += "&quot;";
        break;
      case '\'':
        s += "&#39;";
        break;
      default:
        s += c;
    }
  }
  return s;
}

std::string DescribeValueFilter(const ValueFilter& v) {
  std::string s;
  if (v.min_profit != ValueFilter{}.min_profit) s = "PROFIT >= " + std::to_string(v.min_profit);
  const bool low = v.odds_min > 0, high = !std::isinf(v.odds_max);
  if (low || high) {
    s += s.empty() ? "odds " : ", odds ";
    s += low && high ? Num(v.odds_min, 2) + "-" + Num(v.odds_max, 2)
         : low       ? Num(v.odds_min, 2) + " and more"
                     : "below " + Num(v.odds_max, 2);
  }
  return s.empty() ? "every bet" : s;
}

std::string CalibrationSvg(const BacktestReport& r) {
  // Both axes start at the lowest tens below every point, and at 50 at the latest.
  double low = 50;
  int most = 1;
  for (const auto& kind : r.calibration) {
    for (const HitRecord& b : kind) {
      if (!b.tips) continue;
      low = std::min({low, b.MeanPercent(), b.HitRate() * 100});
      most = std::max(most, b.tips);
    }
  }
  low = std::floor(low / 10) * 10;
  const Axis x{low, 100, kLeft, kWidth - kRight};
  const Axis y{low, 100, kHeight - kBottom, kTop};
  std::string s = SvgOpen("Stated percentage against share won");
  s += Ticks(x, 10, true, y, "");
  s += Ticks(y, 10, false, x, "");
  s += Line(x(low), y(low), x(100), y(100), "#999999", " stroke-dasharray=\"4 4\"");
  s += Text((x.pixel0 + x.pixel1) / 2, kHeight - 14, "stated percentage of the tip");
  s += Text(16, (y.pixel0 + y.pixel1) / 2, "share won %", "middle",
            (" transform=\"rotate(-90 16 " + Num((y.pixel0 + y.pixel1) / 2, 1) + ")\"").c_str());
  double legend_y = kTop + 8;
  for (int k = 0; k < kCalibrationKinds; ++k) {
    const auto& buckets = r.calibration[static_cast<size_t>(k)];
    if (std::none_of(buckets.begin(), buckets.end(), [](const HitRecord& b) { return b.tips; }))
      continue;
    std::string points;
    std::string circles;
    for (int b = 0; b < kFineBuckets; ++b) {
      const HitRecord& h = buckets[static_cast<size_t>(b)];
      if (!h.tips) continue;
      const double px = x(h.MeanPercent()), py = y(h.HitRate() * 100);
      points += Num(px, 1) + "," + Num(py, 1) + " ";
      const double radius = 2.5 + 9 * std::sqrt(static_cast<double>(h.tips) / most);
      circles += "<circle class=\"point\" data-kind=\"" +
                 std::string(CalibrationKindKey(static_cast<CalibrationKind>(k))) +
                 "\" data-bucket=\"" + std::to_string(FineBucketFrom(b)) + "-" +
                 std::to_string(FineBucketTo(b)) + "\" cx=\"" + Num(px, 1) + "\" cy=\"" +
                 Num(py, 1) + "\" r=\"" + Num(radius, 1) + "\" fill=\"" + kKindColours[k] +
                 "\" fill-opacity=\"0.55\" stroke=\"" + kKindColours[k] + "\"><title>" +
                 XmlEscape(std::string(kKindNames[k]) + " " + std::to_string(FineBucketFrom(b)) +
                           "-" + std::to_string(FineBucketTo(b)) + " %: won " +
                           std::to_string(h.won) + " of " + std::to_string(h.tips)) +
                 "</title></circle>\n";
      circles += Text(px + radius + 2, py - 2, std::to_string(h.tips), "start",
                      " font-size=\"9\" fill=\"#555555\"");
    }
    s += "<polyline fill=\"none\" stroke=\"" + std::string(kKindColours[k]) + "\" points=\"" +
         points + "\"/>\n" + circles;
    s += "<rect x=\"" + std::to_string(kLeft + 12) + "\" y=\"" + Num(legend_y - 9, 1) +
         "\" width=\"10\" height=\"10\" fill=\"" + kKindColours[k] + "\"/>\n";
    s += Text(kLeft + 28, legend_y, kKindNames[k], "start");
    legend_y += 16;
  }
  return s + "</svg>\n";
}

std::string ForecastersSvg(const BacktestGroup& g) {
  static constexpr const char* kColours[] = {"#1f6fb4", "#888888", "#e08a00", "#2c9a3c", "#8e3ba8"};
  const Axis x{0, 100, kLeft, kWidth - kRight};
  const Axis y{0, 100, kHeight - kBottom, kTop};
  std::string s = SvgOpen("Stated probability against how often it happened");
  s += Ticks(x, 10, true, y, "");
  s += Ticks(y, 10, false, x, "");
  s += Line(x(0), y(0), x(100), y(100), "#999999", " stroke-dasharray=\"4 4\"");
  s += Text((x.pixel0 + x.pixel1) / 2, kHeight - 14, "stated probability of an outcome %");
  s += Text(16, (y.pixel0 + y.pixel1) / 2, "happened %", "middle",
            (" transform=\"rotate(-90 16 " + Num((y.pixel0 + y.pixel1) / 2, 1) + ")\"").c_str());
  double legend_y = kTop + 8;
  for (size_t f = 0; f < kForecasters; ++f) {
    std::string points, dots;
    for (const ProbabilityBucket& b : g.reliability[f]) {
      // Buckets of a handful of forecasts only add noise to the lines.
      if (b.forecasts < 20) continue;
      const double px = x(b.MeanProbability() * 100), py = y(b.Frequency() * 100);
      points += Num(px, 1) + "," + Num(py, 1) + " ";
      dots += "<circle class=\"reliability\" data-forecaster=\"" +
              std::string(ForecasterKey(Forecaster(f))) + "\" cx=\"" + Num(px, 1) + "\" cy=\"" +
              Num(py, 1) + "\" r=\"2.5\" fill=\"" + kColours[f] + "\"><title>" +
              XmlEscape(std::string(ForecasterKey(Forecaster(f))) + ": stated " +
                        Num(b.MeanProbability() * 100, 1) + " %, happened " +
                        std::to_string(b.happened) + " of " + std::to_string(b.forecasts)) +
              "</title></circle>\n";
    }
    if (points.empty()) continue;
    s += "<polyline fill=\"none\" stroke-width=\"1.5\" stroke=\"" + std::string(kColours[f]) +
         "\" points=\"" + points + "\"/>\n" + dots;
    s += "<rect x=\"" + std::to_string(kLeft + 12) + "\" y=\"" + Num(legend_y - 9, 1) +
         "\" width=\"10\" height=\"10\" fill=\"" + kColours[f] + "\"/>\n";
    s += Text(kLeft + 28, legend_y,
              std::string(ForecasterKey(Forecaster(f))) + ": RPS " +
                  Num(g.forecasters[f].MeanRps(), 4) + ", log loss " +
                  Num(g.forecasters[f].MeanLogLoss(), 4),
              "start");
    legend_y += 16;
  }
  return s + "</svg>\n";
}

std::string BankSvg(const BacktestReport& r, const ValueFilter& value) {
  const std::vector<BankPoint>* curves[] = {&r.tip_bank, &r.value_bank};
  std::optional<Date> first, last;
  double low = 0, high = 0;
  for (const auto* c : curves) {
    for (const BankPoint& p : *c) {
      if (!first || p.day < *first) first = p.day;
      if (!last || *last < p.day) last = p.day;
      low = std::min(low, p.bank);
      high = std::max(high, p.bank);
    }
  }
  std::string s = SvgOpen("Bank with one unit per bet");
  if (!first) return s + Text(kWidth / 2.0, kHeight / 2.0, "no bet with odds") + "</svg>\n";
  if (high - low < 1) high = low + 1;
  const double step = NiceStep(high - low);
  low = std::floor(low / step) * step;
  high = std::ceil(high / step) * step;
  const int days = std::max(1, DaysBetween(*first, *last));
  const Axis x{0, static_cast<double>(days), kLeft, kWidth - kRight};
  const Axis y{low, high, kHeight - kBottom, kTop};
  s += Ticks(y, step, false, x, "");
  s += Line(x.pixel0, y(0), x.pixel1, y(0), "#888888");
  // A tick at the first of every January and July inside the period.
  for (int year = static_cast<int>(first->year()); year <= static_cast<int>(last->year()); ++year) {
    for (unsigned month : {1u, 7u}) {
      const Date d{std::chrono::year(year), std::chrono::month(month), std::chrono::day(1)};
      if (d < *first || *last < d) continue;
      const double px = x(DaysBetween(*first, d));
      s += Line(px, y.pixel0, px, y.pixel1, "#e4e4e4");
      s += Text(px, y.pixel0 + 16, FormatIsoDate(d).substr(0, 7));
    }
  }
  s += Text((x.pixel0 + x.pixel1) / 2, kHeight - 14,
            FormatIsoDate(*first) + " to " + FormatIsoDate(*last));
  s += Text(16, (y.pixel0 + y.pixel1) / 2, "profit in units", "middle",
            (" transform=\"rotate(-90 16 " + Num((y.pixel0 + y.pixel1) / 2, 1) + ")\"").c_str());
  const std::string labels[] = {"every priced tip: " + std::to_string(r.tip_bets.Bets()) +
                                    " bets, ROI " + Roi(r.tip_bets) + " %",
                                "value bets (" + DescribeValueFilter(value) +
                                    "): " + std::to_string(r.value_bets.Bets()) + " bets, ROI " +
                                    Roi(r.value_bets) + " %"};
  const char* colours[] = {kKindColours[0], "#e08a00"};
  for (size_t c = 0; c < 2; ++c) {
    std::string points = Num(x(0), 1) + "," + Num(y(0), 1) + " ";
    for (const BankPoint& p : *curves[c])
      points += Num(x(DaysBetween(*first, p.day)), 1) + "," + Num(y(p.bank), 1) + " ";
    s += "<polyline class=\"bank\" fill=\"none\" stroke-width=\"1.5\" stroke=\"" +
         std::string(colours[c]) + "\" points=\"" + points + "\"/>\n";
    const double ly = kTop + 8 + 16 * static_cast<double>(c);
    s += "<rect x=\"" + std::to_string(kLeft + 12) + "\" y=\"" + Num(ly - 9, 1) +
         "\" width=\"10\" height=\"10\" fill=\"" + colours[c] + "\"/>\n";
    s += Text(kLeft + 28, ly, labels[c], "start");
  }
  return s + "</svg>\n";
}

std::string BacktestHtml(const ReportHeading& h, const BacktestReport& r,
                         const std::vector<BacktestGroup>& groups, const ValueFilter& value) {
  std::ostringstream o;
  o << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>"
    << XmlEscape(h.title)
    << "</title>\n<style>\nbody{font-family:sans-serif;margin:2em;max-width:1100px}\n"
       "table{border-collapse:collapse;margin:0.5em 0 1.5em}\n"
       "td,th{border:1px solid #ccc;padding:2px 8px}\ntd.n{text-align:right}\n"
       "th{background:#f2f2f2}\n</style>\n</head>\n<body>\n<h1>"
    << XmlEscape(h.title) << "</h1>\n<p>" << XmlEscape(h.summary) << "</p>\n";
  o << "<h2>Calibration</h2>\n<p>Each circle is a five-point bucket of the stated percentage: "
       "its place is the mean stated percentage and the share of those tips that won, its size "
       "and the number beside it the number of tips. On the dashed line the percentage says "
       "exactly how often such tips win.</p>\n"
    << CalibrationSvg(r);
  o << "<table>\n<tr><th>Bucket</th>";
  for (int k = 0; k < kCalibrationKinds; ++k) o << "<th>" << kKindNames[k] << ": won / tips</th>";
  o << "</tr>\n";
  for (int b = 0; b < kFineBuckets; ++b) {
    bool any = false;
    for (const auto& kind : r.calibration) any = any || kind[static_cast<size_t>(b)].tips;
    if (!any) continue;
    o << "<tr>"
      << TableCell(std::to_string(FineBucketFrom(b)) + "-" + std::to_string(FineBucketTo(b)),
                   false);
    for (const auto& kind : r.calibration) {
      const HitRecord& c = kind[static_cast<size_t>(b)];
      o << TableCell(c.tips ? std::to_string(c.won) + " / " + std::to_string(c.tips) + " (" +
                                  Num(c.HitRate() * 100, 1) + " %)"
                            : "");
    }
    o << "</tr>\n";
  }
  o << "</table>\n";
  if (!groups.empty()) {
    o << "<h2>Forecasters</h2>\n<p>Every outcome of every match with the bookmaker's odds is "
         "one forecast of each forecaster: the tips' percentages, the naive league frequencies, "
         "the market (odds without margin), the goal model and the blend of market, model and "
         "tips. Each point is a five-point bucket of stated probabilities (20 forecasts or "
         "more) against how often those outcomes happened.</p>\n"
      << ForecastersSvg(groups[0]);
    o << "<table>\n<tr><th>League</th><th>Matches</th>";
    for (size_t f = 0; f < kForecasters; ++f)
      o << "<th>RPS " << ForecasterKey(Forecaster(f)) << "</th>";
    for (size_t f = 0; f < kForecasters; ++f)
      o << "<th>ROI % value " << ForecasterKey(Forecaster(f)) << "</th>";
    o << "</tr>\n";
    for (const BacktestGroup& g : groups) {
      o << "<tr>" << TableCell(GroupName(g), false)
        << TableCell(std::to_string(g.forecasters[0].matches));
      for (const ForecastScores& f : g.forecasters) o << TableCell(Num(f.MeanRps(), 4));
      for (const BettingRecord& b : g.value_against)
        o << TableCell(Roi(b) + " (" + std::to_string(b.Bets()) + ")");
      o << "</tr>\n";
    }
    o << "</table>\n";
  }
  o << "<h2>Bank</h2>\n" << BankSvg(r, value);
  o << "<table>\n"
    << kMoneyHeader << MoneyRow("Every priced tip", r.tip_bets)
    << MoneyRow("Value bets (" + DescribeValueFilter(value) + ")", r.value_bets) << "</table>\n";
  o << "<h2>ROI by odds</h2>\n<p>One unit on every priced tip, by its odds.</p>\n<table>\n"
    << kMoneyHeader;
  for (size_t i = 0; i < r.tips_by_odds.size(); ++i)
    o << MoneyRow("odds " + ReportOddsRanges()[i].Label(), r.tips_by_odds[i]);
  o << "</table>\n<h2>ROI by PROFIT threshold</h2>\n<p>One unit on every bet of the value-tip "
       "run whose PROFIT reaches the threshold";
  if (value.odds_min > 0 || !std::isinf(value.odds_max)) o << " (odds of the chosen filter)";
  o << ".</p>\n<table>\n" << kMoneyHeader;
  for (size_t i = 0; i < r.value_by_profit.size(); ++i)
    o << MoneyRow("PROFIT >= " + std::to_string(ReportProfitThresholds()[i]), r.value_by_profit[i]);
  o << "</table>\n<p>Every threshold against every odds range: ROI % (bets).</p>\n"
    << FilterGrid(r);
  if (r.best_filter) {
    o << "<p>Best filter with at least " << kMinFilterBets
      << " bets: PROFIT &gt;= " << r.best_filter->min_profit << ", odds "
      << XmlEscape(r.best_filter->odds.Label()) << ", ROI " << Roi(r.best_filter->record)
      << " % on " << r.best_filter->record.Bets()
      << " bets. It was picked on these same matches, so expect less on others.</p>\n";
  }
  o << "<h2>Leagues</h2>\n<p>Scores on the matches with the bookmaker's odds (lower is better): "
       "the tips' percentages, the bookmaker's probabilities without margin, the naive league "
       "frequencies before each day. Hit % counts single and double-chance (under/over) "
       "tips.</p>\n"
    << LeagueTable(groups);
  o << "<h2>Notes</h2>\n<ul>\n";
  for (const std::string& n : h.notes) o << "<li>" << XmlEscape(n) << "</li>\n";
  o << "</ul>\n</body>\n</html>\n";
  return o.str();
}

}  // namespace morvela
