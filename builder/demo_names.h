// Invented club names for the demo database: a place name put together from syllables of the
// country's language ("Linden" + "au") inside one of the country's club name patterns
// ("FC {}", "{} Thistle", "Dinamo {}", "{}spor"). The names are made up; none is meant to be a
// real club.
#pragma once

#include <set>
#include <string>

#include "builder/demo_random.h"

namespace morvela {

// Hands out club names for one league, never the same name twice.
class ClubNamer {
 public:
  // `league` is a league id 1..20; throws std::out_of_range for any other id.
  explicit ClubNamer(int league);

  // A name not handed out before by this namer, of at most 50 characters. Prefers a place
  // that no earlier club of the league is named after, as most towns have one club in the
  // top flight; after many names a place may come again with another pattern (a city derby).
  std::string Next(DemoRandom& rng);

 private:
  int league_;
  std::set<std::string> names_;
  std::set<std::string> places_;
};

}  // namespace morvela
