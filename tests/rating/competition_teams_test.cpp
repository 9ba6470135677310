#include "rating/competition_teams.h"

#include <gtest/gtest.h>

namespace morvela {
namespace {

TEST(ResolveTeamTest, IdsAndNamesWithoutRegardToCase) {
  const std::vector<TeamItem> teams = {
      {11, "Aberdeen"}, {12, "Celtic"},        {13, "Dundee"},           {14, "Dundee United"},
      {15, "Rangers"},  {16, "Österreich FC"}, {17, "Slovan Bratislava"}};
  struct Case {
    const char* text;
    int64_t id;  // 0: an error
  };
  const Case cases[] = {
      {"12", 12},             // an id of the season
      {"99", 0},              // an id of no team of the season
      {"celtic", 12},         // the whole name, any case
      {"DUNDEE", 13},         // a whole name wins over the names it is part of
      {"dundee u", 14},       // part of one name only
      {"ee", 0},              // part of several names
      {"östERREICH fc", 16},  // Latin-1 letters fold too
      {"ÖSTERREICH", 16},
      {"Hibernian", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    const TeamLookup r = ResolveTeam(teams, c.text);
    if (c.id == 0) {
      EXPECT_FALSE(r.team) << c.text;
      // The error lists the season's teams with their ids.
      EXPECT_NE(r.error.find("Aberdeen (11), Celtic (12)"), std::string::npos) << r.error;
    } else {
      ASSERT_TRUE(r.team) << c.text << ": " << r.error;
      EXPECT_EQ(r.team->id, c.id) << c.text;
    }
  }
}

}  // namespace
}  // namespace morvela
