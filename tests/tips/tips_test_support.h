// What the tip-run and tips-list tests share: a program over a fixture database, fixtures whose
// list search gives chosen percentages, odds rows with chosen cell texts, and TIPY readers.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/helpers.h"
#include "fake_ui.h"
#include "fixture_db.h"
#include "program/program.h"
#include "tips/tip_runs.h"

namespace morvela::test {

// Outcome counts of the past matches a fixture's search finds.
struct History {
  int home = 0, draw = 0, away = 0;
};

// Histories whose search gives the named percentages and tips (10 matches each).
inline constexpr History k70Home{7, 2, 1};      // 70/20/10: "  1" 70
inline constexpr History k60Home{6, 2, 2};      // 60/20/20: "  1" 60
inline constexpr History k80Home{8, 1, 1};      // 80/10/10: "  1" 80
inline constexpr History k90HomeDraw{5, 4, 1};  // 50/40/10: " 10" 90
inline constexpr History k80DrawHome{3, 5, 2};  // 30/50/20: " 01" 80
inline constexpr History kThreeWay{4, 3, 3};    // 40/30/30: "102" 100
inline constexpr History k50_30_20{5, 3, 2};    // 50/30/20: "  1" 50

class TipsDb {
 public:
  TipsDb(const std::string& today, int language = kEnglish) : program_(ui, wait) {
    Program& p = program_;
    p.folder = db_.Folder();
    p.dm.ADOConnection1.SetConnectionString(MakeConnectionString(db_.Folder(), ""));
    p.dm.ADOConnection1.Open();
    p.today = *ParseIsoDate(today);
    p.today_text = FormatDateText(p.today);
    p.messages.NastavJazyk(language);
  }

  Program& program() { return program_; }
  FixtureDb& db() { return db_; }

  // The league's active competition (created on first use).
  int Competition(int league) {
    auto [it, added] = competitions_.try_emplace(league, 0);
    if (added) it->second = db_.AddCompetition(league);
    return it->second;
  }

  // A fixture of the league on `date` at difference `diff` (full time and first half), with the
  // past matches of `history` at exactly that difference. Differences of 1100 or more make both
  // search passes look at one fixed window (the league pass +-89, the all-leagues pass +-55), so
  // fixtures 1000 apart never see each other's history. Teams are "<name> H" and "<name> A".
  int Fixture(int league, const std::string& date, int diff, History history,
              const std::string& name = "", std::optional<int> under = std::nullopt) {
    const int comp = Competition(league);
    const std::string n = name.empty() ? "T" + std::to_string(++teams_) : name;
    const int home = db_.AddTeam(league, n + " H");
    const int away = db_.AddTeam(league, n + " A");
    auto past = [&](int count, int h, int a) {
      for (int i = 0; i < count; ++i) {
        MatchSpec m{.competition = comp, .date = "2009-08-01", .home = home, .away = away};
        m.home_goals = m.ht_home_goals = h;
        m.away_goals = m.ht_away_goals = a;
        m.elo_diff = m.ht_elo_diff = diff;
        db_.AddMatch(m);
      }
    };
    past(history.home, 1, 0);
    past(history.draw, 0, 0);
    past(history.away, 0, 1);
    MatchSpec f{.competition = comp, .date = date, .home = home, .away = away};
    f.elo_diff = f.ht_elo_diff = diff;
    f.under = under;
    return db_.AddMatch(f);
  }

  // A KURZY row for the fixture with the given cells, each an SQL literal ("1.85", "\"abc\"").
  void Odds(int fixture, const std::map<std::string, std::string>& cells) {
    std::string cols = "ID", vals = std::to_string(fixture);
    for (const auto& [c, v] : cells) {
      cols += "," + c;
      vals += "," + v;
    }
    db_.conn().Execute("INSERT INTO KURZY (" + cols + ") VALUES (" + vals + ")");
  }

  FakeUi ui;
  NullWaitIndicator wait;

 private:
  FixtureDb db_;
  Program program_;
  std::map<int, int> competitions_;
  int teams_ = 0;
};

// Counts the list showings the runs ask for.
class RecordingView : public TipsListView {
 public:
  void ShowTipsList(Program& p) override {
    ++shown;
    kind_at_show = p.tip_run.TipRunKind;
  }
  int shown = 0;
  TipRun kind_at_show = TipRun::kNone;
};

// A stored TIPY row as text, for comparing whole rows; NULL reads as "NULL".
struct StoredTip {
  int64_t id;
  std::string tip;
  std::string tip1, tipx, tip2, perc;
  std::string kurz;
  int64_t profit;
  bool operator==(const StoredTip&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const StoredTip& t) {
  return os << "{id " << t.id << " '" << t.tip << "' " << t.tip1 << "/" << t.tipx << "/" << t.tip2
            << " perc " << t.perc << " kurz " << t.kurz << " profit " << t.profit << "}";
}

inline std::vector<StoredTip> StoredTips(Connection& conn, const std::string& order = "ID") {
  Query q(conn);
  q.Open("SELECT * FROM TIPY ORDER BY " + order);
  auto text = [&q](const char* c) {
    Field f = q.FieldByName(c);
    return f.IsNull() ? std::string("NULL") : f.AsString();
  };
  std::vector<StoredTip> out;
  for (; !q.Eof(); q.Next()) {
    out.push_back({q.FieldByName("ID").AsInteger(), q.FieldByName("TIP").AsString(), text("TIP1"),
                   text("TIPX"), text("TIP2"), text("PERC"), text("KURZ"),
                   q.FieldByName("PROFIT").AsInteger()});
  }
  return out;
}

}  // namespace morvela::test
