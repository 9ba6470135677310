#include "analysis/match_history.h"

#include "analysis/analysis_messages.h"
#include "core/data_module.h"
#include "core/database.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "predict/outcome_search.h"
#include "program/program.h"

namespace morvela {

namespace {

// The full-time score with the half-time score in parentheses when it is known. Unlike the
// browser's own list a forfeit keeps its stored half too: the lists show what the data holds.
constexpr const char* kFullTimeScore =
    "IIF(VYSLEDKY.HT_AWAY_GOAL IS NOT NULL AND VYSLEDKY.HT_HOME_GOAL IS NOT NULL,"
    "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))+\"   "
    "(\"+TRIM(STR(VYSLEDKY.HT_HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.HT_AWAY_GOAL))+\")\","
    "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))) AS SKORE";

std::string HalfScore(const ModeColumns& c) {
  return std::string("TRIM(STR(VYSLEDKY.") + c.home_goal + "))+\" : \"+TRIM(STR(VYSLEDKY." +
         c.away_goal + ")) AS SKORE";
}

bool FullTimePieces(const HistoryRequest& r) {
  return !HasOutcomes(r.mode) || r.mode == ResultMode::kFullTime ||
         r.kind == HistoryKind::kLiveHeadToHead;
}

// The outcome from the row's point of view: +1 counts normally, -1 reversed, 0 not at all.
int PointOfView(const Query& w, const HistoryRequest& r) {
  const bool latest = r.kind == HistoryKind::kLatestMatches;
  if (r.by_name) {
    const std::string_view name = TrimSpaces(r.team.name);
    if (TrimSpaces(w.FieldByName("DOMACI").AsString()) == name) return 1;
    if (!latest) return -1;
    return TrimSpaces(w.FieldByName("HOSTIA").AsString()) == name ? -1 : 0;
  }
  if (w.FieldByName("HOME").AsInteger() == r.team.id) return 1;
  if (!latest) return -1;
  return w.FieldByName("AWAY").AsInteger() == r.team.id ? -1 : 0;
}

ListCounts Count(Query& w, const HistoryRequest& r) {
  ListCounts c;
  const bool full = FullTimePieces(r);
  const char* outcome = full ? "VYSLEDOK" : ColumnsOf(r.mode).outcome;
  for (w.First(); !w.Eof(); w.Next()) {
    if (r.mode == ResultMode::kUnderOver && r.kind != HistoryKind::kLiveHeadToHead) {
      const int64_t goals =
          w.FieldByName("HOME_GOAL").AsInteger() + w.FieldByName("AWAY_GOAL").AsInteger();
      (goals < 3 ? c.under : c.over) += 1;
      continue;
    }
    const int view = PointOfView(w, r);
    // A forfeit stores no half outcome (an empty text): it counts nowhere in a half's list.
    const std::optional<int64_t> v = OutcomeValue(w.FieldByName(outcome));
    if (view == 0 || !v) continue;
    if (*v == 0) ++c.draws;
    if (*v == (view > 0 ? 1 : 2)) ++c.wins;
    if (*v == (view > 0 ? 2 : 1)) ++c.losses;
  }
  return c;
}

}  // namespace

std::string HistoryStatement(const HistoryRequest& r, int language) {
  const std::string h = std::to_string(r.team.id);
  const std::string a = std::to_string(r.other.id);
  const std::string order = " ORDER BY DATUM DESC, ID DESC";
  const std::string head = ResultsListHead(language);
  if (r.kind == HistoryKind::kLiveHeadToHead) {
    return head +
           "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))+\"   "
           "(\"+TRIM(STR(VYSLEDKY.HT_HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.HT_AWAY_GOAL))+\")\" "
           "AS SKORE,ID,HOME,AWAY,HOME_GOAL,AWAY_GOAL,HT_HOME_GOAL,HT_AWAY_GOAL,VYSLEDOK,"
           "KONTUMACIA,NERATAT FROM VYSLEDKY WHERE (VYSLEDKY.HOME=" +
           h + " AND VYSLEDKY.AWAY=" + a +
           " AND VYSLEDOK<>\"\" AND HT_VYSLEDOK<>\"\" AND HT_HOME_GOAL=" +
           std::to_string(r.ht_home) + " AND HT_AWAY_GOAL=" + std::to_string(r.ht_away) + ")" +
           order;
  }
  const bool latest = r.kind == HistoryKind::kLatestMatches;
  const std::string pairing = latest ? "(VYSLEDKY.HOME=" + h + " OR VYSLEDKY.AWAY=" + h + ")"
                                     : "VYSLEDKY.HOME=" + h + " AND VYSLEDKY.AWAY=" + a;
  const std::string active =
      latest ? " AND (SELECT ROCNIK FROM SUTAZ WHERE SUTAZ.ID=VYSLEDKY.ID_SUTAZ)=\"Active\"" : "";
  if (FullTimePieces(r)) {
    return head + kFullTimeScore +
           ",ID,HOME,AWAY,HOME_GOAL,AWAY_GOAL,HT_HOME_GOAL,HT_AWAY_GOAL,VYSLEDOK,KONTUMACIA,"
           "NERATAT" +
           (latest ? ",ID_SUTAZ" : "") + " FROM VYSLEDKY WHERE (" + pairing +
           " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL" + active + ")" + order;
  }
  const ModeColumns& c = ColumnsOf(r.mode);
  return head + HalfScore(c) + ",ID,HOME,AWAY,KONTUMACIA," + c.outcome +
         (latest ? ",ID_SUTAZ" : "") + ",NERATAT FROM VYSLEDKY WHERE (" + pairing + " AND " +
         c.home_goal + " IS NOT NULL AND " + c.away_goal + " IS NOT NULL" + active + ")" + order;
}

ListCounts FillHistoryList(Program& p, TForm3& browser, const HistoryRequest& r) {
  browser.external_list = true;
  // The history lists come newest first; the date column's sort arrow says so.
  browser.sort = ResultsSort::kDate;
  browser.direction = SortDirection::kDescending;
  Query& w = p.dm.Work1;
  w.Close();
  w.Open(HistoryStatement(r, p.messages.Language()));
  p.dm.Work1Uprav();
  const ListCounts counts = Count(w, r);
  w.First();

  const Messages& m = p.messages;
  const std::string title =
      r.kind == HistoryKind::kLatestMatches
          ? m.NastavJazykPar(msg::kLatestMatchesCase, r.team.name)
          : m.NastavJazykPar(msg::kResultsOfCase, r.team.name + " - " + r.other.name);
  browser.caption = "  " + m.Msg(ModeTitle(r.mode)) + " :: " + title;
  browser.buttons = CountButtonTexts(
      p, counts, r.mode == ResultMode::kUnderOver && r.kind != HistoryKind::kLiveHeadToHead);
  browser.buttons_enabled = false;
  return counts;
}

void ShowHistoryList(Program& p, ResultsBrowserView& view, const HistoryRequest& r) {
  FillHistoryList(p, view.Browser(), r);
  view.ShowResultsBrowser();
}

}  // namespace morvela
