// The backtest report's charts read by a real XML parser: each SVG cut out of the page is
// well-formed, and the calibration chart holds one point per non-empty bucket.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>
#include <string>

#include "tips/backtest_html.h"

namespace morvela {
namespace {

struct SvgCount {
  bool well_formed = false;
  std::string error;
  int points = 0;  // circles of class "point"
  int banks = 0;   // polylines of class "bank"
};

SvgCount Parse(const std::string& svg) {
  SvgCount c;
  QXmlStreamReader xml(QString::fromStdString(svg));
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QString cls = xml.attributes().value("class").toString();
    if (xml.name() == QStringLiteral("circle") && cls == "point") ++c.points;
    if (xml.name() == QStringLiteral("polyline") && cls == "bank") ++c.banks;
  }
  c.well_formed = !xml.hasError();
  c.error = xml.errorString().toStdString();
  return c;
}

BacktestMatch Match(const char* day, const char* tip, int percent, bool won, double odds) {
  BacktestMatch m;
  m.date = *ParseIsoDate(day);
  m.league = 1;
  m.tip = tip;
  m.tip_percent = percent;
  m.won = won;
  m.odds = odds;
  m.bets = {{tip, percent, odds, percent - 50, won}};
  m.percents = {50, 30, 20};  // what the league table scores
  m.naive = {0.45, 0.27, 0.28};
  return m;
}

TEST(BacktestReportSvgTest, ChartsAreWellFormedWithOnePointPerNonEmptyBucket) {
  struct Case {
    const char* name;
    std::vector<BacktestMatch> matches;
    int buckets;
    int banks;  // the two curves whenever any bet was settled
  };
  const Case cases[] = {
      {"no match", {}, 0, 0},
      {"three-way only", {Match("2024-01-06", "102", 100, true, 1.1)}, 0, 2},
      // Singles in 60-64 (twice) and 70-74, a double chance in 75-79, an under in 55-59.
      {"three kinds",
       {Match("2024-01-06", "  1", 61, true, 1.7), Match("2024-01-06", "  1", 64, false, 1.9),
        Match("2024-02-03", "  2", 72, true, 1.5), Match("2024-03-09", " 10", 78, true, 1.2),
        Match("2024-07-13", " < ", 57, false, 1.8)},
       4,
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const BacktestReport r = BuildBacktestReport(c.matches, ValueFilter{5});
    const SvgCount calibration = Parse(CalibrationSvg(r));
    EXPECT_TRUE(calibration.well_formed) << calibration.error;
    EXPECT_EQ(calibration.points, c.buckets);
    const SvgCount bank = Parse(BankSvg(r, ValueFilter{5}));
    EXPECT_TRUE(bank.well_formed) << bank.error;
    EXPECT_EQ(bank.banks, c.banks);

    // The page holds both charts as they are, and a league name with markup stays text.
    std::vector<BacktestGroup> groups = ScoreBacktest(c.matches, ValueFilter{5});
    const std::string page =
        BacktestHtml({"<Backtest & \"test\">", "summary", {"a < b"}}, r, groups, ValueFilter{5});
    int charts = 0;
    for (size_t at = page.find("<svg"); at != std::string::npos; at = page.find("<svg", at)) {
      const size_t end = page.find("</svg>", at);
      ASSERT_NE(end, std::string::npos);
      const std::string svg = page.substr(at, end + 6 - at);
      EXPECT_TRUE(Parse(svg).well_formed) << svg;
      ++charts;
      at = end;
    }
    EXPECT_EQ(charts, 3);  // calibration, bank, and every forecaster's reliability
    EXPECT_NE(page.find("&lt;Backtest &amp; &quot;test&quot;&gt;"), std::string::npos);
    EXPECT_EQ(page.find("http"), page.find("http://www.w3.org/2000/svg"))
        << "nothing is fetched from elsewhere";
  }
}

}  // namespace
}  // namespace morvela
