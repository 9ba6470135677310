// Names of the message-table entries the program's code shows. The number is the entry's place
// in the table (i18n/messages.cpp), which stays fixed across versions; a text is reached as
// `messages.Msg(msg::kPleaseWait)`. Entries used only as data of a table (the league buttons'
// captions, hints and status lines in i18n/leagues.cpp) keep their numbers there.
#pragma once

#include "core/result_mode.h"

namespace morvela {

// A message-table entry number. Only the names below make one (MessageId{n} where a table of
// entries is data, as in i18n/leagues.cpp), so no bare number reaches Msg.
enum class MessageId : int {};
// A case number of the parameterised texts (Messages::NastavJazykPar): a numbering of its own,
// apart from the message table's.
enum class MessageCase : int {};

}  // namespace morvela

namespace morvela::msg {

// Start-up and exit.
inline constexpr MessageId kCannotConnect{0};        // "Unable to connect to the database ! ..."
inline constexpr MessageId kProgramEnding{33};       // "The program is ending ..."
inline constexpr MessageId kOfferDemoDatabase{197};  // "There is no database yet. ..." (Yes/No)
inline constexpr MessageId kNoDatabaseFile{217};     // "Could not find file '%1'."
inline constexpr MessageId kDatabaseUnusable{225};   // the engine's reason, framed

// Main window.
inline constexpr MessageId kChooseSeason{17};
inline constexpr MessageId kWebPageHint{42};
inline constexpr MessageId kSettingHint{43};
inline constexpr MessageId kUpdateHint{44};
inline constexpr MessageId kArchive{69};
inline constexpr MessageId kTables{70};
inline constexpr MessageId kResults{71};
inline constexpr MessageId kTipForToday{72};
inline constexpr MessageId kTipsForTheWeek{73};
inline constexpr MessageId kTippingALeague{74};
inline constexpr MessageId kSearchForTip{75};
inline constexpr MessageId kSelectALeague{76};
inline constexpr MessageId kOk{100};
inline constexpr MessageId kNotAvailable{140};
inline constexpr MessageId kForm{162};
inline constexpr MessageId kValueTips{169};
inline constexpr MessageId kLiveTip{171};

// Result modes: titles ("FULL TIME", ...) and export slugs ("full-time", ...).
inline constexpr MessageId kFullTime{155};
inline constexpr MessageId kFirstHalf{156};
inline constexpr MessageId kSecondHalf{157};
inline constexpr MessageId kUnderOver{181};
inline constexpr MessageId kFullTimeSlug{193};
inline constexpr MessageId kFirstHalfSlug{194};
inline constexpr MessageId kSecondHalfSlug{195};
inline constexpr MessageId kUnderOverSlug{196};

// Tip runs and the tips list.
inline constexpr MessageId kPleaseWait{22};
inline constexpr MessageId kNoMatchesToday{23};
inline constexpr MessageId kNoMatchesThisWeek{24};
inline constexpr MessageId kNoMatchesInLeague{25};
inline constexpr MessageId kNoMatchesOrOdds{170};
inline constexpr MessageId kDateTitle{91};
inline constexpr MessageId kHomeTitle{92};
inline constexpr MessageId kGuestTitle{93};
inline constexpr MessageId kTipTitle{106};
inline constexpr MessageId kLeagueTitle{111};
inline constexpr MessageId kOddTitle{138};
inline constexpr MessageId kProfitTitle{141};  // "DIF.%"
inline constexpr MessageId kTipForTodaySlug{189};
inline constexpr MessageId kTipsForTheWeekSlug{190};
inline constexpr MessageId kTippingALeagueSlug{191};
inline constexpr MessageId kValueTipsSlug{192};

// Season replay.
inline constexpr MessageId kCalculateRatings{159};  // "Calculate ELO points"
// A season beyond the replay's working arrays: "Competition %1: " and one of the limits.
inline constexpr MessageId kReplayCompetition{211};
inline constexpr MessageId kReplayTooManyTeams{212};
inline constexpr MessageId kGoalReplayTooManyTeams{213};
inline constexpr MessageId kReplayTooManyMatches{214};
inline constexpr MessageId kReplayTooManyHomeMatches{215};
inline constexpr MessageId kReplayTooManyAwayMatches{216};

// Results browser and result editor.
inline constexpr MessageId kSearch{18};
inline constexpr MessageId kAdd{19};
inline constexpr MessageId kEdit{20};
inline constexpr MessageId kDelete{21};
inline constexpr MessageId kScoreTitle{82};
inline constexpr MessageId kNoResultsRecorded{90};
inline constexpr MessageId kSameTwoTeams{94};
inline constexpr MessageId kAddResult{95};
inline constexpr MessageId kEditResult{96};
inline constexpr MessageId kSearchResult{97};
inline constexpr MessageId kForfeit{98};
inline constexpr MessageId kAlsoViceVersa{99};
inline constexpr MessageId kBack{101};
inline constexpr MessageId kHalfTimeAboveFullTime{202};
inline constexpr MessageId kResultNotWritten{203};  // followed by the database's reason
// The league tables window.
inline constexpr MessageId kTeamTitle{77};
inline constexpr MessageId kMatchesTitle{78};
inline constexpr MessageId kWinsTitle{79};
inline constexpr MessageId kDrawsTitle{80};
inline constexpr MessageId kLossesTitle{81};
inline constexpr MessageId kPointsTitle{83};
inline constexpr MessageId kHomeSide{84};  // then Away 85, Together 86
inline constexpr MessageId kAwaySide{85};
inline constexpr MessageId kTogetherSide{86};
inline constexpr MessageId kEloTable{87};  // then ELO Home 88, ELO Away 89
inline constexpr MessageId kEloHomeTable{88};
inline constexpr MessageId kEloAwayTable{89};
inline constexpr MessageId kLast2Matches{165};  // the form window's choices
inline constexpr MessageId kLast3Matches{166};
inline constexpr MessageId kLast4Matches{167};
inline constexpr MessageId kLast5Matches{168};
inline constexpr MessageId kGoalsTitle{182};
inline constexpr MessageId kAverageTitle{183};
inline constexpr MessageId kTooManyTeamsListed{208};  // "The competition lists %1 teams; ..."
inline constexpr MessageId kTeamCountDiffers{209};    // "The competition should have %1 ..."
inline constexpr MessageId kFormHistoryFull{210};     // "%1 has more than %2 counted ..."

// The match analysis windows (match tip, live tip).
inline constexpr MessageId kMatchInOrder{107};
inline constexpr MessageId kRatingAxis{108};  // "Performance in ELO points"
inline constexpr MessageId kGoalsAxis{186};   // "Number of goals in match"
inline constexpr MessageId kShowMatches{109};
inline constexpr MessageId kLatestMatches{110};
inline constexpr MessageId kBetOnMatch{142};
inline constexpr MessageId kTableHome{160};
inline constexpr MessageId kTableAway{161};
inline constexpr MessageId kEnterHalftimeResult{172};
inline constexpr MessageId kInformationBeforeMatch{173};
inline constexpr MessageId kTipCannotBeCalculated{174};
inline constexpr MessageId kUnderTip{184};  // "UNDER"
inline constexpr MessageId kOverTip{185};   // "OVER"
inline constexpr MessageId kEnterOdds{175};
inline constexpr MessageId kDifferencesPercent{176};
inline constexpr MessageId kTooManyTeamsForAnalysis{204};    // "The season has %1 teams; ..."
inline constexpr MessageId kTooManyMatchesForAnalysis{205};  // "%1 has played more matches ..."
inline constexpr MessageId kNotATeamOfTheSeason{206};        // "%1 is not a team of the ..."
inline constexpr MessageId kHomeLabel{102};
inline constexpr MessageId kGuestLabel{103};
inline constexpr MessageId kDateLabel{104};
inline constexpr MessageId kResultLabel{105};
inline constexpr MessageId kHalftimeLabel{158};
// "Tips like this won %1 % of %2 in %3": the past hit rate beside a tip in the tips list.
inline constexpr MessageId kPastHitRate{198};
inline constexpr MessageId kNewProgramVersion{199};     // "Version %1 is available at %2"
inline constexpr MessageId kNewestProgramVersion{200};  // "Version %1 is the newest version."
inline constexpr MessageId kReplayingUnfinished{201};   // "Replaying unfinished seasons..."

// The settings dialog.
inline constexpr MessageId kSettingsNotWritten{207};  // "The settings could not be written to %1"
inline constexpr MessageId kProgramSetting{117};
inline constexpr MessageId kTipsTab{118};
inline constexpr MessageId kTippingALeagueFor{119};
inline constexpr MessageId kDaysAhead{120};
inline constexpr MessageId kShowThreeWayTips{121};  // "Show matches of three guesses"
inline constexpr MessageId kUpdateResultsDatabase{122};
inline constexpr MessageId kWhenProgramStarts{123};
inline constexpr MessageId kManually{124};
inline constexpr MessageId kVersionTab{129};
inline constexpr MessageId kFindNewVersion{130};
inline constexpr MessageId kLanguageTab{131};
inline constexpr MessageId kSelectProgramLanguage{132};
inline constexpr MessageId kEnglishLanguage{133};
inline constexpr MessageId kGermanLanguage{134};
inline constexpr MessageId kSlovakLanguage{135};
inline constexpr MessageId kRestartForLanguage{136};
inline constexpr MessageId kCheckNewProgramVersion{139};
inline constexpr MessageId kItalianLanguage{188};

// Results and odds updates.
inline constexpr MessageId kUpdatingDatabase{27};          // "Updating the database ... "
inline constexpr MessageId kUpdateFailed{28};              // "Failed to update the database !"
inline constexpr MessageId kUpdateServerUnreachable{29};   // "Could not connect to update server !"
inline constexpr MessageId kDatabaseIsCurrent{30};         // "You have installed the current ..."
inline constexpr MessageId kCompulsoryUpdate{137};         // "For the correct operation ..."
inline constexpr MessageId kAskUpdateOdds{177};            // "Would you like to update odds?"
inline constexpr MessageId kUpdatingOdds{178};             // "Updating odds ..."
inline constexpr MessageId kOddsUpdated{179};              // "The update of odds was successful !"
inline constexpr MessageId kOddsDatabaseUnreachable{180};  // "Unable to connect to the database !"
// A failed request's reason (update/network_text.cpp).
inline constexpr MessageId kNoUpdateServer{218};
inline constexpr MessageId kServerNotReached{219};  // "the server could not be reached (%1)"
inline constexpr MessageId kRequestTimeLimit{220};  // "the time limit of %1 s was reached"
inline constexpr MessageId kAnswerTooLong{221};
inline constexpr MessageId kRequestCancelled{222};
inline constexpr MessageId kServerAnswered{223};  // "the server answered %1"
inline constexpr MessageId kCannotWriteDownload{224};

// Parameterised texts of Messages::NastavJazykPar, by case number (a numbering of its own).
inline constexpr MessageCase kSeasonLoadedCase{1};  // "   Season 2010/2011 loaded"
inline constexpr MessageCase kNewDatabaseCase{
    2};  // "The new version of results database from " p ...
inline constexpr MessageCase kUpdateSuccessCase{3};  // "Updating the results database from " p ...
inline constexpr MessageCase kReallyDeleteCase{4};   // "Really delete the match " p " ?"
inline constexpr MessageCase kResultsOfCase{5};      // "Results .: " p " :."
inline constexpr MessageCase kWinsCase{6};
inline constexpr MessageCase kDrawsCase{7};
inline constexpr MessageCase kLossesCase{8};
inline constexpr MessageCase kLatestMatchesCase{9};  // "Latest matches .: " p " :."
inline constexpr MessageCase kEloCase{10};           // "ELO: " p
inline constexpr MessageCase kEloHomeCase{11};
inline constexpr MessageCase kEloAwayCase{12};
inline constexpr MessageCase kFormCase{13};
inline constexpr MessageCase kHeadToHeadCase{14};  // "Head to head matches (wins-draws-losses):  "
inline constexpr MessageCase kTipCase{15};         // "Tip: " p
inline constexpr MessageCase kTendencyCase{16};    // "The tendency (win-draw-lose) %:  "
inline constexpr MessageCase kTipOfCase{17};       // "Tip .: " p " :."
inline constexpr MessageCase kProgramVersionCase{21};   // "Version: " p
inline constexpr MessageCase kDatabaseVersionCase{22};  // "Database version: " p
inline constexpr MessageCase kOddsCase{23};             // "Odds (1-0-2-10-02-12): " p
inline constexpr MessageCase kDifferenceCase{24};       // "Difference (1,0,2,10,02,12) %: " p
inline constexpr MessageCase kFormHomeCase{25};
inline constexpr MessageCase kFormAwayCase{26};
inline constexpr MessageCase kLiveTipOfCase{27};         // "LIVE tip .: " p " :."
inline constexpr MessageCase kTipAfterHalfTimeCase{28};  // "Tip after halftime " p
inline constexpr MessageCase kAverageCase{29};
inline constexpr MessageCase kAverageHomeCase{30};
inline constexpr MessageCase kAverageAwayCase{31};
inline constexpr MessageCase kHeadToHeadUnderOverCase{32};  // "Head to head matches (under-over): "
inline constexpr MessageCase kTendencyUnderOverCase{33};    // "The tendency (under-over) %:  "
inline constexpr MessageCase kOddsUnderOverCase{34};        // "Odds (under-over): " p
inline constexpr MessageCase kDifferenceUnderOverCase{35};  // "Difference (under-over) %: " p
inline constexpr MessageCase kUnderCase{36};
inline constexpr MessageCase kOverCase{37};

// The desktop windows' polish.
inline constexpr MessageId kListSavedTo{240};   // "The list was saved to %1"
inline constexpr MessageId kDemoProgress{241};  // "Creating the demo database: %1 of %2 parts"

// Fetching from the public results site (the Update button without an update server).
inline constexpr MessageId kAskFetchPublicSource{300};  // "No update server is set. Fetch ..."
inline constexpr MessageId kFetchSummary{301};          // "Files: %1 new, ... %6 fixtures."
inline constexpr MessageId kFetchNothingNew{302};       // "Nothing new at the public ..."
inline constexpr MessageId kFetchFailed{303};           // "Fetching from the public ... failed !"
inline constexpr MessageId kFetchIntoDemoRefused{304};  // "This is the demo database ..."
inline constexpr MessageId kFetchProgress{305};         // "Fetching %1 of %2: %3"

// The second opinion: the goal model and the market beside the tips.
inline constexpr MessageId kSecondOpinionModel{350};   // "Goal model (1-0-2) %: %1 ..."
inline constexpr MessageId kSecondOpinionMarket{351};  // "Market without margin (1-0-2) %: ..."
inline constexpr MessageId kSecondOpinionInPlay{352};  // "Goal model from the half-time ..."
inline constexpr MessageId kModelPercentTitle{353};    // "Model %"
inline constexpr MessageId kMarketPercentTitle{354};   // "Market %"
inline constexpr MessageId kShowSecondOpinion{355};    // "Show Model % and Market %"

// Installation: why the program folder was chosen (morvela-cli info).
inline constexpr MessageId kFolderFromOption{400};       // "given with --home"
inline constexpr MessageId kFolderFromEnvironment{401};  // "set in MORVELA_HOME"
inline constexpr MessageId kFolderOfExecutable{402};     // "the program's own folder, ..."
inline constexpr MessageId kFolderOfUser{403};           // "the per-user data folder"

}  // namespace morvela::msg

namespace morvela {

// The title of a result mode ("FULL TIME", "1st HALF", ...).
constexpr MessageId ModeTitle(ResultMode mode) {
  constexpr MessageId kTitles[kResultModeCount] = {msg::kFullTime, msg::kFirstHalf,
                                                   msg::kSecondHalf, msg::kUnderOver};
  return kTitles[ModeIndex(mode)];
}

}  // namespace morvela
