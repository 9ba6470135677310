// Names of the message-table entries the program's code shows. The number is the entry's place
// in the table (i18n/messages.cpp), which stays fixed across versions; a text is reached as
// `messages.Msg(msg::kPleaseWait)`. Entries used only as data of a table (the league buttons'
// captions, hints and status lines in i18n/leagues.cpp) keep their numbers there.
#pragma once

namespace morvela::msg {

// Start-up and exit.
inline constexpr int kCannotConnect = 0;        // "Unable to connect to the database ! ..."
inline constexpr int kProgramEnding = 33;       // "The program is ending ..."
inline constexpr int kOfferDemoDatabase = 197;  // "There is no database yet. ..." (Yes/No)

// Main window.
inline constexpr int kChooseSeason = 17;
inline constexpr int kWebPageHint = 42;
inline constexpr int kSettingHint = 43;
inline constexpr int kUpdateHint = 44;
inline constexpr int kArchive = 69;
inline constexpr int kTables = 70;
inline constexpr int kResults = 71;
inline constexpr int kTipForToday = 72;
inline constexpr int kTipsForTheWeek = 73;
inline constexpr int kTippingALeague = 74;
inline constexpr int kSearchForTip = 75;
inline constexpr int kSelectALeague = 76;
inline constexpr int kOk = 100;
inline constexpr int kNotAvailable = 140;
inline constexpr int kForm = 162;
inline constexpr int kValueTips = 169;
inline constexpr int kLiveTip = 171;

// Result modes: titles ("FULL TIME", ...) and export slugs ("full-time", ...).
inline constexpr int kFullTime = 155;
inline constexpr int kFirstHalf = 156;
inline constexpr int kSecondHalf = 157;
inline constexpr int kUnderOver = 181;
inline constexpr int kFullTimeSlug = 193;
inline constexpr int kFirstHalfSlug = 194;
inline constexpr int kSecondHalfSlug = 195;
inline constexpr int kUnderOverSlug = 196;

// Tip runs and the tips list.
inline constexpr int kPleaseWait = 22;
inline constexpr int kNoMatchesToday = 23;
inline constexpr int kNoMatchesThisWeek = 24;
inline constexpr int kNoMatchesInLeague = 25;
inline constexpr int kNoMatchesOrOdds = 170;
inline constexpr int kDateTitle = 91;
inline constexpr int kHomeTitle = 92;
inline constexpr int kGuestTitle = 93;
inline constexpr int kTipTitle = 106;
inline constexpr int kLeagueTitle = 111;
inline constexpr int kOddTitle = 138;
inline constexpr int kProfitTitle = 141;  // "DIF.%"
inline constexpr int kTipForTodaySlug = 189;
inline constexpr int kTipsForTheWeekSlug = 190;
inline constexpr int kTippingALeagueSlug = 191;
inline constexpr int kValueTipsSlug = 192;

// Season replay.
inline constexpr int kCalculateRatings = 159;  // "Calculate ELO points"

// Results browser and result editor.
inline constexpr int kSearch = 18;
inline constexpr int kAdd = 19;
inline constexpr int kEdit = 20;
inline constexpr int kDelete = 21;
inline constexpr int kScoreTitle = 82;
inline constexpr int kNoResultsRecorded = 90;
inline constexpr int kSameTwoTeams = 94;
inline constexpr int kAddResult = 95;
inline constexpr int kEditResult = 96;
inline constexpr int kSearchResult = 97;
inline constexpr int kForfeit = 98;
inline constexpr int kAlsoViceVersa = 99;
inline constexpr int kBack = 101;
// The match analysis windows (match tip, live tip).
inline constexpr int kMatchInOrder = 107;
inline constexpr int kRatingAxis = 108;  // "Performance in ELO points"
inline constexpr int kGoalsAxis = 186;   // "Number of goals in match"
inline constexpr int kShowMatches = 109;
inline constexpr int kLatestMatches = 110;
inline constexpr int kBetOnMatch = 142;
inline constexpr int kTableHome = 160;
inline constexpr int kTableAway = 161;
inline constexpr int kEnterHalftimeResult = 172;
inline constexpr int kInformationBeforeMatch = 173;
inline constexpr int kTipCannotBeCalculated = 174;
inline constexpr int kEnterOdds = 175;
inline constexpr int kDifferencesPercent = 176;
inline constexpr int kHomeLabel = 102;
inline constexpr int kGuestLabel = 103;
inline constexpr int kDateLabel = 104;
inline constexpr int kResultLabel = 105;
inline constexpr int kHalftimeLabel = 158;
// "Tips like this won %1 % of %2 in %3": the past hit rate beside a tip in the tips list.
inline constexpr int kPastHitRate = 198;
inline constexpr int kNewProgramVersion = 199;     // "Version %1 is available at %2"
inline constexpr int kNewestProgramVersion = 200;  // "Version %1 is the newest version."
inline constexpr int kReplayingUnfinished = 201;   // "Replaying unfinished seasons..."

// The settings dialog.
inline constexpr int kProgramSetting = 117;
inline constexpr int kTipsTab = 118;
inline constexpr int kTippingALeagueFor = 119;
inline constexpr int kDaysAhead = 120;
inline constexpr int kShowThreeWayTips = 121;  // "Show matches of three guesses"
inline constexpr int kUpdateResultsDatabase = 122;
inline constexpr int kWhenProgramStarts = 123;
inline constexpr int kManually = 124;
inline constexpr int kVersionTab = 129;
inline constexpr int kFindNewVersion = 130;
inline constexpr int kLanguageTab = 131;
inline constexpr int kSelectProgramLanguage = 132;
inline constexpr int kEnglishLanguage = 133;
inline constexpr int kGermanLanguage = 134;
inline constexpr int kSlovakLanguage = 135;
inline constexpr int kRestartForLanguage = 136;
inline constexpr int kCheckNewProgramVersion = 139;
inline constexpr int kItalianLanguage = 188;

// Results and odds updates.
inline constexpr int kUpdatingDatabase = 27;          // "Updating the database ... "
inline constexpr int kUpdateFailed = 28;              // "Failed to update the database !"
inline constexpr int kUpdateServerUnreachable = 29;   // "Could not connect to update server !"
inline constexpr int kDatabaseIsCurrent = 30;         // "You have installed the current ..."
inline constexpr int kCompulsoryUpdate = 137;         // "For the correct operation ..."
inline constexpr int kAskUpdateOdds = 177;            // "Would you like to update odds?"
inline constexpr int kUpdatingOdds = 178;             // "Updating odds ..."
inline constexpr int kOddsUpdated = 179;              // "The update of odds was successful !"
inline constexpr int kOddsDatabaseUnreachable = 180;  // "Unable to connect to the database !"

// Parameterised texts of Messages::NastavJazykPar, by case number.
inline constexpr int kSeasonLoadedCase = 1;   // "   Season 2010/2011 loaded"
inline constexpr int kNewDatabaseCase = 2;    // "The new version of results database from " p ...
inline constexpr int kUpdateSuccessCase = 3;  // "Updating the results database from " p ...
inline constexpr int kReallyDeleteCase = 4;   // "Really delete the match " p " ?"
inline constexpr int kResultsOfCase = 5;      // "Results .: " p " :."
inline constexpr int kWinsCase = 6;
inline constexpr int kDrawsCase = 7;
inline constexpr int kLossesCase = 8;
inline constexpr int kLatestMatchesCase = 9;     // "Latest matches .: " p " :."
inline constexpr int kProgramVersionCase = 21;   // "Version: " p
inline constexpr int kDatabaseVersionCase = 22;  // "Database version: " p
inline constexpr int kUnderCase = 36;
inline constexpr int kOverCase = 37;

}  // namespace morvela::msg
