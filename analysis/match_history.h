// The match history lists: the past matches behind the figures of the match tip window and the
// live tip window — the meetings of the two teams and each team's latest matches of the current
// seasons. A list is shown in the results browser used as a read-only viewer: the browser keeps
// the prepared list instead of loading the competition's results, and its three action buttons
// are disabled and carry the wins, draws and losses (unders and overs in the under/over mode)
// from the point of view of the team concerned.
#pragma once

#include <cstdint>
#include <string>

#include "core/result_mode.h"
#include "rating/competition_teams.h"
#include "results/results_browser.h"

namespace morvela {

struct Program;

enum class HistoryKind : uint8_t {
  kHeadToHead,      // `team` at home against `other`, any season
  kLatestMatches,   // every match of `team` in the leagues' active seasons
  kLiveHeadToHead,  // the head-to-head meetings with the entered half-time score
};

// Which list, for whom and how its rows are counted.
struct HistoryRequest {
  HistoryKind kind = HistoryKind::kHeadToHead;
  ResultMode mode = ResultMode::kFullTime;
  TeamItem team;   // the team whose point of view the counts take (the home team of a pairing)
  TeamItem other;  // the away team of a head-to-head list
  // The live tip window tells a row's teams by their names (its choosers' texts), the match
  // tip window by their ids.
  bool by_name = false;
  int ht_home = 0, ht_away = 0;  // kLiveHeadToHead: the entered half-time score

  bool operator==(const HistoryRequest&) const = default;
};

// The statement of a list, with the team names in the name column of `language`.
std::string HistoryStatement(const HistoryRequest& request, int language);

// Fills the browser with the list: its rows in Work1 (newest first), the external-list flag, the
// sort state, the caption and the three disabled count buttons. Returns the counts. Database
// errors pass through (the browser is then not to be shown).
ListCounts FillHistoryList(Program& program, TForm3& browser, const HistoryRequest& request);

// Fills the view's browser with the list and shows it.
void ShowHistoryList(Program& program, ResultsBrowserView& view, const HistoryRequest& request);

// Where a match analysis window sends its history buttons.
class HistoryListLinks {
 public:
  virtual ~HistoryListLinks() = default;
  virtual void ShowHistoryList(const HistoryRequest& request) = 0;
};

}  // namespace morvela
