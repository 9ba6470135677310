#include "tips/calibration_store.h"

#include <cstdio>
#include <map>
#include <tuple>

#include "builder/schema.h"
#include "core/rounding.h"

namespace morvela {

namespace {

std::string Quoted(const Date& d) {
  return "\"" + FormatIsoDate(d) + "\"";
}

bool HasTable(Connection& conn, const std::string& name) {
  Query q(conn);
  q.Open("SELECT name FROM sqlite_master WHERE type=\"table\" AND name=\"" + name + "\"");
  return !q.Eof();
}

bool HasCalibrationTable(Connection& conn) {
  return HasTable(conn, "TIP_CALIBRATION");
}

constexpr const char* kBlendTable =
    "CREATE TABLE IF NOT EXISTS BLEND_WEIGHTS (RESULT_MODE SMALLINT NOT NULL, SEASON_START "
    "TEXT(10) NOT NULL, W_MARKET DOUBLE NOT NULL, W_MODEL DOUBLE NOT NULL, W_TIPS DOUBLE NOT "
    "NULL, TRAINING INTEGER NOT NULL, MARGIN TEXT(20) NOT NULL, PRIMARY KEY (RESULT_MODE, "
    "SEASON_START))";

// Weights written in full precision, so that a stored blend pools exactly as the backtest's.
std::string Exact(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

}  // namespace

std::vector<CalibrationRow> CalibrationRows(const std::vector<BacktestMatch>& matches) {
  struct Span {
    Date first{}, last{};
  };
  std::map<int64_t, Span> spans;
  std::map<std::tuple<int64_t, int, int>, CalibrationRow> rows;  // competition, kind, bucket
  for (const BacktestMatch& m : matches) {
    auto [span, added] = spans.try_emplace(m.competition, Span{m.date, m.date});
    if (!added) {
      if (m.date < span->second.first) span->second.first = m.date;
      if (span->second.last < m.date) span->second.last = m.date;
    }
    const std::optional<CalibrationKind> kind = CalibrationKindOf(KindOfTip(m.tip));
    if (!kind) continue;
    const int bucket = FineBucket(m.tip_percent);
    CalibrationRow& r = rows[{m.competition, static_cast<int>(*kind), bucket}];
    r.league = m.league;
    r.competition = m.competition;
    r.kind = *kind;
    r.bucket = bucket;
    ++r.tips;
    r.won += m.won ? 1 : 0;
  }
  std::vector<CalibrationRow> out;
  for (auto& [key, r] : rows) {
    r.first_day = spans[r.competition].first;
    r.last_day = spans[r.competition].last;
    out.push_back(r);
  }
  return out;
}

int StoreCalibration(Connection& conn, ResultMode mode, const std::vector<BacktestMatch>& matches) {
  EnsureBuilderTables(conn);
  const std::string m = std::to_string(ModeIndex(mode));
  std::map<int64_t, bool> competitions;
  for (const BacktestMatch& match : matches) competitions[match.competition] = true;
  const std::vector<CalibrationRow> rows = CalibrationRows(matches);
  InTransaction(conn, [&] {
    for (const auto& [competition, unused] : competitions)
      conn.Execute("DELETE FROM TIP_CALIBRATION WHERE RESULT_MODE=" + m +
                   " AND ID_SUTAZ=" + std::to_string(competition));
    for (const CalibrationRow& r : rows) {
      conn.Execute(
          "INSERT INTO TIP_CALIBRATION (RESULT_MODE,ID_LIGA,ID_SUTAZ,KIND,BUCKET,TIPS,WON,"
          "FIRST_DAY,LAST_DAY) VALUES (" +
          m + "," + std::to_string(r.league) + "," + std::to_string(r.competition) + "," +
          std::to_string(static_cast<int>(r.kind)) + "," + std::to_string(r.bucket) + "," +
          std::to_string(r.tips) + "," + std::to_string(r.won) + "," + Quoted(r.first_day) + "," +
          Quoted(r.last_day) + ")");
    }
  });
  return static_cast<int>(competitions.size());
}

int PastRecord::Percent() const {
  return tips ? static_cast<int>(RoundRatioHalfEven(int64_t{won} * 100, tips)) : 0;
}

std::optional<PastRecord> PastHitRate(Connection& conn, ResultMode mode, int league,
                                      CalibrationKind kind, int percent, const Date& day) {
  if (!HasCalibrationTable(conn)) return std::nullopt;
  Query q(conn);
  q.Open(
      "SELECT SUM(TIPS) AS N,SUM(WON) AS W,MIN(FIRST_DAY) AS F,MAX(LAST_DAY) AS L FROM "
      "TIP_CALIBRATION WHERE RESULT_MODE=" +
      std::to_string(ModeIndex(mode)) + " AND ID_LIGA=" + std::to_string(league) +
      " AND KIND=" + std::to_string(static_cast<int>(kind)) +
      " AND BUCKET=" + std::to_string(FineBucket(percent)) + " AND LAST_DAY<" + Quoted(day));
  if (q.Eof() || q.FieldByName("N").IsNull() || q.FieldByName("N").AsInteger() == 0)
    return std::nullopt;
  PastRecord r;
  r.tips = static_cast<int>(q.FieldByName("N").AsInteger());
  r.won = static_cast<int>(q.FieldByName("W").AsInteger());
  r.first_day = ParseIsoDate(q.FieldByName("F").AsString()).value_or(Date{});
  r.last_day = ParseIsoDate(q.FieldByName("L").AsString()).value_or(Date{});
  return r;
}

bool HasCalibration(Connection& conn, ResultMode mode) {
  if (!HasCalibrationTable(conn)) return false;
  Query q(conn);
  q.Open("SELECT COUNT(*) AS N FROM TIP_CALIBRATION WHERE RESULT_MODE=" +
         std::to_string(ModeIndex(mode)));
  return q.FieldByName("N").AsInteger() > 0;
}

int StoreBlendWeights(Connection& conn, ResultMode mode, MarginMethod margin,
                      const std::vector<SeasonBlend>& blends) {
  conn.ExecuteNative(kBlendTable);
  const std::string m = std::to_string(ModeIndex(mode));
  InTransaction(conn, [&] {
    for (const SeasonBlend& b : blends) {
      conn.Execute("DELETE FROM BLEND_WEIGHTS WHERE RESULT_MODE=" + m +
                   " AND SEASON_START=" + Quoted(b.season_start));
      conn.Execute(
          "INSERT INTO BLEND_WEIGHTS (RESULT_MODE,SEASON_START,W_MARKET,W_MODEL,W_TIPS,TRAINING,"
          "MARGIN) VALUES (" +
          m + "," + Quoted(b.season_start) + "," + Exact(b.weights[0]) + "," + Exact(b.weights[1]) +
          "," + Exact(b.weights[2]) + "," + std::to_string(b.training_matches) + ",\"" +
          std::string(MarginMethodName(margin)) + "\")");
    }
  });
  return static_cast<int>(blends.size());
}

std::optional<StoredBlend> BlendWeightsFor(Connection& conn, ResultMode mode,
                                           const Date& season_start) {
  if (!HasTable(conn, "BLEND_WEIGHTS")) return std::nullopt;
  Query q(conn);
  q.Open("SELECT * FROM BLEND_WEIGHTS WHERE RESULT_MODE=" + std::to_string(ModeIndex(mode)) +
         " AND SEASON_START<=" + Quoted(season_start) +
         " AND TRAINING>=" + std::to_string(kMinBlendTraining) + " ORDER BY SEASON_START DESC");
  if (q.Eof()) return std::nullopt;
  const std::optional<MarginMethod> margin =
      MarginMethodFromName(q.FieldByName("MARGIN").AsString());
  const std::optional<Date> start = ParseIsoDate(q.FieldByName("SEASON_START").AsString());
  if (!margin || !start) return std::nullopt;
  StoredBlend b;
  b.season_start = *start;
  b.weights = {q.FieldByName("W_MARKET").AsFloat(), q.FieldByName("W_MODEL").AsFloat(),
               q.FieldByName("W_TIPS").AsFloat()};
  b.training_matches = static_cast<int>(q.FieldByName("TRAINING").AsInteger());
  b.margin = *margin;
  return b;
}

}  // namespace morvela
