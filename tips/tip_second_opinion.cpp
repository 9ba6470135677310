#include "tips/tip_second_opinion.h"

#include "core/rounding.h"

namespace morvela {

std::optional<int> TipPercentOf(const std::vector<double>& p, ResultMode mode,
                                std::string_view tip) {
  const std::string_view letters = mode == ResultMode::kUnderOver ? "<>" : "102";
  if (p.size() != letters.size()) return std::nullopt;
  double sum = 0;
  bool any = false;
  for (char c : tip) {
    if (c == ' ') continue;
    const size_t i = letters.find(c);
    if (i == std::string_view::npos) return std::nullopt;
    sum += p[i];
    any = true;
  }
  if (!any) return std::nullopt;
  return static_cast<int>(RoundHalfEven(sum * 100));
}

TipSecondOpinions::TipSecondOpinions(Connection& conn, ResultMode mode)
    : conn_(conn), mode_(mode), forecaster_(conn) {}

TipSecondOpinions::Figures TipSecondOpinions::Of(int64_t match_id, std::string_view tip) {
  Figures f;
  Query q(conn_);
  q.Open("SELECT ID_SUTAZ, HOME, AWAY, DATUM FROM VYSLEDKY WHERE ID=" + std::to_string(match_id));
  if (q.Eof()) return f;
  const std::optional<Date> day = q.FieldByName("DATUM").AsDate();
  if (day) {
    if (auto m = forecaster_.Forecast(q.FieldByName("ID_SUTAZ").AsInteger(),
                                      q.FieldByName("HOME").AsInteger(),
                                      q.FieldByName("AWAY").AsInteger(), *day))
      f.model = m->InMode(mode_);
  }
  f.market = MarketProbabilities(conn_, match_id, mode_, kDefaultMarginMethod);
  if (f.model) f.model_percent = TipPercentOf(*f.model, mode_, tip);
  if (f.market) f.market_percent = TipPercentOf(*f.market, mode_, tip);
  return f;
}

}  // namespace morvela
