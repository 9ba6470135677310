// The program object: everything that lives while the program runs, owned in one place and
// passed by reference, so that tests can build as many independent programs as they need.
#pragma once

#include <string>

#include "core/data_module.h"
#include "core/date.h"
#include "core/user_interface.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"
#include "program/prediction_state.h"
#include "program/selection.h"
#include "program/settings.h"

namespace morvela {

inline constexpr const char* kProgramVersion = "4.8";
inline constexpr const char* kProgramTitle = "Morvela";

// The program's web page (Slovak, English, German), used when NASTAVENIE holds no address.
inline constexpr const char* kDefaultWebAddress = "https://www.morvela.net/";
inline constexpr const char* kDefaultWebAddressEn = "https://www.morvela.net/en/";
inline constexpr const char* kDefaultWebAddressDe = "https://www.morvela.net/de/";

// The tip runs of the main window, as the tips list tells them apart.
enum class TipRun : uint8_t { kNone = 0, kToday = 1, kWeek = 2, kLeague = 3, kValue = 4 };

// Which run filled TIPY last, and the today run's best tip percentage.
struct TipRunState {
  TipRun TipRunKind = TipRun::kNone;
  uint8_t BestTipPercent = 0;
};

// The two files that make a folder a program folder.
inline constexpr const char* kDatabaseFileName = "Morvela.mdb";
inline constexpr const char* kSettingsFileName = "Nastavenie.ini";

struct Program {
  Program(UserInterface& ui_, WaitIndicator& wait_) : ui(ui_), wait(wait_) {}

  UserInterface& ui;
  WaitIndicator& wait;

  std::string folder;   // the program folder, with a trailing separator
  std::string caption;  // the main window's caption
  Settings settings;
  Messages messages;  // speaks the language of this run (Messages::Language)
  Tdm dm;
  Selection selection;
  PredictionState prediction;
  TipRunState tip_run;
  bool WindowRaised = false;
  bool compulsory_update = false;
  Date today{};
  std::string today_text;  // today as dd.mm.yyyy, the reference date of the analysis windows
  std::string db_date;     // DAT_DB of NASTAVENIE as stored (enciphered)

  std::string SettingsPath() const { return folder + kSettingsFileName; }
  std::string DatabasePath() const { return folder + kDatabaseFileName; }
  std::string ExportFolder() const { return folder + "Export/"; }
};

}  // namespace morvela
