#include "analysis/second_opinion.h"

#include "core/database.h"
#include "core/rounding.h"
#include "i18n/message_ids.h"
#include "i18n/messages.h"

namespace morvela {

namespace {

template <size_t N>
std::vector<double> AsVector(const std::array<double, N>& a) {
  return {a.begin(), a.end()};
}

std::optional<int64_t> NextFixture(Connection& conn, int64_t competition, int64_t home,
                                   int64_t away) {
  Query q(conn);
  q.Open("SELECT TOP 1 ID FROM VYSLEDKY WHERE (ID_SUTAZ=" + std::to_string(competition) +
         " AND HOME=" + std::to_string(home) + " AND AWAY=" + std::to_string(away) +
         " AND VYSLEDOK IS NULL) ORDER BY DATUM");
  if (q.Eof()) return std::nullopt;
  return q.FieldByName("ID").AsInteger();
}

}  // namespace

SecondOpinion FindSecondOpinion(Connection& conn, int64_t competition, int64_t home, int64_t away,
                                const Date& day, std::optional<int64_t> match_id) {
  SecondOpinion s;
  GoalForecaster forecaster(conn);
  s.model = forecaster.Forecast(competition, home, away, day);
  if (!match_id) match_id = NextFixture(conn, competition, home, away);
  if (match_id) {
    s.market_outcomes =
        MarketProbabilities(conn, *match_id, ResultMode::kFullTime, kDefaultMarginMethod);
    s.market_under_over =
        MarketProbabilities(conn, *match_id, ResultMode::kUnderOver, kDefaultMarginMethod);
  }
  return s;
}

std::string PercentTriple(const std::vector<double>& p) {
  std::string s;
  for (double v : p) s += (s.empty() ? "" : "-") + std::to_string(RoundHalfEven(v * 100));
  return s;
}

std::string SecondOpinionModelLine(const Messages& m, const SecondOpinion& s) {
  const std::string none = m.Msg(msg::kNotAvailable);
  if (!s.model) return m.Filled(msg::kSecondOpinionModel, {none, none, none});
  std::string scores;
  for (const ScoreMatrix::Score& sc : s.model->likely_scores)
    scores += (scores.empty() ? "" : ", ") + std::to_string(sc.home) + ":" +
              std::to_string(sc.away) + " (" + std::to_string(RoundHalfEven(sc.probability * 100)) +
              " %)";
  return m.Filled(msg::kSecondOpinionModel, {PercentTriple(AsVector(s.model->full_time)),
                                             PercentTriple(AsVector(s.model->under_over)), scores});
}

std::string SecondOpinionMarketLine(const Messages& m, const SecondOpinion& s) {
  const std::string none = m.Msg(msg::kNotAvailable);
  return m.Filled(msg::kSecondOpinionMarket,
                  {s.market_outcomes ? PercentTriple(*s.market_outcomes) : none,
                   s.market_under_over ? PercentTriple(*s.market_under_over) : none});
}

std::string InPlayModelLine(const Messages& m, const SecondOpinion& s, int home_goals,
                            int away_goals) {
  if (!s.model) {
    const std::string none = m.Msg(msg::kNotAvailable);
    return m.Filled(msg::kSecondOpinionInPlay, {none, none});
  }
  return m.Filled(
      msg::kSecondOpinionInPlay,
      {PercentTriple(AsVector(s.model->FullTimeFromHalfTime(home_goals, away_goals))),
       PercentTriple(AsVector(s.model->UnderOverFromHalfTime(home_goals, away_goals)))});
}

}  // namespace morvela
