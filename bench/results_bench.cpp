// The results browser on the largest active season of a database built from the real match
// data: opening the browser (the list, the row nearest today), what the grid reads to draw
// every row, a title click, a team's latest matches and a pairing's meetings, and an edit of
// one result followed by closing the browser (the season replay). Prints the median times.
//
// Usage: results_bench [DATABASE] [RUNS]   (default: $MORVELA_HOME/Morvela.mdb, 20 runs)
// The benchmark works on a copy, so the database itself is not changed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/match_history.h"
#include "bench_support.h"
#include "program/program.h"
#include "program/selection.h"
#include "results/results_browser.h"

using namespace morvela;

namespace {

// Changes the final score of the browser's current row by one home goal, then presses OK.
class OneGoalMore : public ResultEditorView {
 public:
  void ShowResultEditor(TForm4& e) override {
    e.home_goals += 1;
    e.Ok();
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::string source = bench::DatabaseArgument(argc, argv);
  const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
  if (source.empty() || runs < 1) {
    std::fprintf(stderr, "usage: results_bench DATABASE [RUNS] (a database built by import)\n");
    return 2;
  }
  const std::string folder = bench::ScratchCopy(source, "morvela-results-bench");
  bench::SilentUi ui;
  NullWaitIndicator wait;
  Program p(ui, wait);
  bench::OpenProgram(p, folder);

  if (bench::ChooseLargestSeason(p, /*active_only=*/true) < 0) {
    std::fprintf(stderr, "the database has no active season\n");
    return 1;
  }

  TForm3 b(p);
  b.PrepareOwnList();
  const double open = bench::MedianSeconds(runs, [&] { b.FormShow(); });
  const int rows = b.RowCount();
  std::printf("league %s, active season: %d rows; median of %d runs\n", p.selection.league.c_str(),
              rows, runs);
  std::printf("open the browser (list + row nearest today)  %8.2f ms\n", open * 1e3);
  const double draw = bench::MedianSeconds(runs, [&] {
    size_t chars = 0;
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < 4; ++c) chars += b.CellText(r, c).size();
      chars += b.RowNotCounted(r);
    }
    if (chars == 0) std::fprintf(stderr, "empty grid\n");
  });
  std::printf("read every cell of the grid                  %8.2f ms\n", draw * 1e3);
  const double title = bench::MedianSeconds(runs, [&] { b.TitleClick(1); });
  std::printf("title click (sort by home team)              %8.2f ms\n", title * 1e3);

  b.FormShow();
  const TeamItem home{b.program().dm.Work1.FieldByName("HOME").AsInteger(), "home"};
  const TeamItem away{b.program().dm.Work1.FieldByName("AWAY").AsInteger(), "away"};
  TForm3 list(p);
  const double latest = bench::MedianSeconds(
      runs, [&] { FillHistoryList(p, list, {.kind = HistoryKind::kLatestMatches, .team = home}); });
  std::printf("latest matches of a team (%3d rows)          %8.2f ms\n", list.RowCount(),
              latest * 1e3);
  const double h2h = bench::MedianSeconds(runs, [&] {
    FillHistoryList(p, list, {.kind = HistoryKind::kHeadToHead, .team = home, .other = away});
  });
  std::printf("head-to-head over all seasons (%3d rows)     %8.2f ms\n", list.RowCount(),
              h2h * 1e3);

  // One edit and the replay on closing, timed once each (the replay rewrites the season).
  const double edit = bench::MedianSeconds(1, [&] {
    b.FormShow();
    OneGoalMore editor;
    b.Edit(editor);
  });
  std::printf("edit one result                              %8.2f ms\n", edit * 1e3);
  bool replayed = false;
  const double close = bench::MedianSeconds(1, [&] { replayed = b.Close(); });
  std::printf("close with the season replay (%s)          %8.2f ms\n", replayed ? "ran" : "none",
              close * 1e3);
  return replayed ? 0 : 1;
}
