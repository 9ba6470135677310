#include "rating/competition_teams.h"

#include "core/helpers.h"
#include "i18n/messages.h"

namespace morvela {

namespace {

// Lower case for ASCII and for the Latin-1 letters of the program's languages as UTF-8
// (U+00C0..U+00DE except U+00D7, and the Latin Extended-A pairs such as Č/č, Š/š).
std::string Folded(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c + 32);
    } else if (c == 0xC3 && i + 1 < s.size()) {
      auto n = static_cast<unsigned char>(s[i + 1]);
      if (n >= 0x80 && n <= 0x9E && n != 0x97) n = static_cast<unsigned char>(n + 0x20);
      out += static_cast<char>(c);
      out += static_cast<char>(n);
      ++i;
    } else if ((c == 0xC4 || c == 0xC5) && i + 1 < s.size()) {
      // Latin Extended-A: upper case at the even code point, lower case at the odd one
      // (with a few exceptions that do not occur in team names).
      auto n = static_cast<unsigned char>(s[i + 1]);
      if ((n & 1) == 0) n = static_cast<unsigned char>(n + 1);
      out += static_cast<char>(c);
      out += static_cast<char>(n);
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Listing(const std::vector<TeamItem>& teams) {
  std::string s;
  for (const TeamItem& t : teams)
    s += (s.empty() ? "" : ", ") + t.name + " (" + std::to_string(t.id) + ")";
  return s.empty() ? "none" : s;
}

}  // namespace

namespace {

std::vector<TeamItem> ReadTeams(Connection& conn, const std::string& sql, const std::string& n) {
  Query q(conn);
  q.Open(sql);
  std::vector<TeamItem> teams;
  for (; !q.Eof(); q.Next())
    teams.push_back({q.FieldByName("ID").AsInteger(), q.FieldByName(n).AsString()});
  return teams;
}

}  // namespace

std::vector<TeamItem> CompetitionTeams(Connection& conn, const std::string& competition,
                                       int language) {
  const std::string n = NameColumn(language);
  return ReadTeams(conn,
                   "SELECT MUZSTVA.ID,MUZSTVA." + n +
                       " FROM SUTAZ_MUZSTVA,MUZSTVA WHERE (SUTAZ_MUZSTVA.ID_SUTAZ=" + competition +
                       " AND MUZSTVA.ID=SUTAZ_MUZSTVA.ID_MUZSTVO) ORDER BY " + n + " ASC",
                   n);
}

std::vector<TeamItem> LeagueTeams(Connection& conn, const std::string& league, int language) {
  const std::string n = NameColumn(language);
  return ReadTeams(conn,
                   "SELECT MUZSTVA.ID,MUZSTVA." + n + " FROM MUZSTVA WHERE (MUZSTVA.ID_LIGA=" +
                       league + ") ORDER BY MUZSTVA." + n + " ASC",
                   n);
}

TeamLookup ResolveTeam(const std::vector<TeamItem>& teams, std::string_view text) {
  TeamLookup r;
  if (std::optional<int> id = ParseWholeInt(text)) {
    for (const TeamItem& t : teams)
      if (t.id == *id) {
        r.team = t;
        return r;
      }
    r.error = "no team with id " + std::string(text) +
              " plays in this season; its teams: " + Listing(teams);
    return r;
  }
  const std::string wanted = Folded(text);
  std::vector<const TeamItem*> exact, partial;
  for (const TeamItem& t : teams) {
    const std::string name = Folded(t.name);
    if (name == wanted) exact.push_back(&t);
    if (!wanted.empty() && name.find(wanted) != std::string::npos) partial.push_back(&t);
  }
  const std::vector<const TeamItem*>& found = exact.empty() ? partial : exact;
  if (found.size() == 1) {
    r.team = *found.front();
    return r;
  }
  r.error = std::string(found.empty() ? "no team of this season is called '"
                                      : "more than one team of this season fits '") +
            std::string(text) + "'; its teams: " + Listing(teams);
  return r;
}

}  // namespace morvela
