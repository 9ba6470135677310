// The data module: the program's one database connection, its command object, its three
// reusable cursors, the second connection for odds files, and the results list's display rule.
#pragma once

#include <string>

#include "core/database.h"

namespace morvela {

struct Tdm {
  Connection ADOConnection1;
  Command Command1{ADOConnection1};
  Query Work1{ADOConnection1};  // also feeds the results list
  Query Work2{ADOConnection1};
  Query Work3{ADOConnection1};  // also feeds the tips list
  Connection ConnectOdds;
  Query Q1{ConnectOdds};

  // Work1's SKORE column shows " K" behind a forfeit's score.
  void Work1Uprav();
};

}  // namespace morvela
