#include "ui/desktop_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPixmap>
#include <QPushButton>
#include <QStyleFactory>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <iostream>

#include "builder/demo_database.h"
#include "builder/prepare_seasons.h"
#include "i18n/leagues.h"
#include "i18n/message_ids.h"
#include "i18n/messages.h"
#include "program/front_end_options.h"
#include "program/selection.h"
#include "program/startup.h"
#include "rating/competition_teams.h"
#include "ui/x11_wait_box.h"
#include "update/server_checks.h"

namespace morvela {

namespace {

constexpr const char* kFontFamily = "DejaVu Sans";
constexpr int kFontPoints = 9;

// The tip buttons --tips presses.
std::optional<int> TipButtonOf(const QString& run) {
  if (run == QLatin1String("today")) return kTipForTodayButton;
  if (run == QLatin1String("week")) return kTipsForTheWeekButton;
  if (run == QLatin1String("league")) return kTippingALeagueButton;
  if (run == QLatin1String("value")) return kValueTipsButton;
  return std::nullopt;
}

// Lets the window system lay out and paint what the last steps changed.
void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

std::unique_ptr<WaitBox> MakeWaitBox() {
  // The box needs an X display; offscreen (tests, screenshots on a server) nothing is drawn.
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    return std::make_unique<X11WaitBox>();
  return nullptr;
}

std::unique_ptr<WaitIndicator> MakeWaitIndicator(WaitBox* box) {
  if (!box) return std::make_unique<NullWaitIndicator>();
  return std::make_unique<ThreadedWaitIndicator>(*box, [] {
    if (QWidget* w = QApplication::activeWindow()) w->raise();
  });
}

}  // namespace

std::optional<DesktopOptions> ParseDesktopOptions(const QStringList& arguments, QString& message,
                                                  bool& help) {
  help = false;
  // "--match HOME AWAY" takes two values; the parser knows options of one, so the second is
  // taken out here.
  QStringList args = arguments;
  auto take_pair = [&](const char* flag,
                       std::optional<std::pair<std::string, std::string>>& out) -> bool {
    for (qsizetype i = 1; i < args.size(); ++i) {
      if (args[i] != QLatin1String(flag)) continue;
      if (i + 2 >= args.size()) {
        message = QString::fromLatin1(flag) + QStringLiteral(" expects two teams: ") +
                  QString::fromLatin1(flag) + QStringLiteral(" HOME AWAY");
        return false;
      }
      out = std::pair{args[i + 1].toStdString(), args[i + 2].toStdString()};
      args.removeAt(i + 2);
      args.removeAt(i + 1);
      args.removeAt(i);
      break;
    }
    return true;
  };
  std::optional<std::pair<std::string, std::string>> match, live;
  if (!take_pair("--match", match) || !take_pair("--live", live)) return std::nullopt;
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Morvela: tips for the football matches of twenty European leagues."));
  const QCommandLineOption help_option = parser.addHelpOption();
  const QCommandLineOption home(QStringLiteral("home"),
                                QStringLiteral("Program folder (database, settings, Export)."),
                                QStringLiteral("DIR"));
  const QCommandLineOption today(QStringLiteral("today"),
                                 QStringLiteral("Today's date for this run."),
                                 QStringLiteral("YYYY-MM-DD"));
  const QCommandLineOption lang(QStringLiteral("lang"),
                                QStringLiteral("Language of this run: en, de, sk or it."),
                                QStringLiteral("LANG"));
  const QCommandLineOption mode(
      QStringLiteral("mode"),
      QStringLiteral("Result mode: ft (full time), 1h, 2h or uo (goals under/over 2.5)."),
      QStringLiteral("MODE"), QStringLiteral("ft"));
  const QCommandLineOption league(
      QStringLiteral("league"),
      QStringLiteral("Pick this league after start-up (country, code such as 'en', or id)."),
      QStringLiteral("LEAGUE"));
  const QCommandLineOption tips(QStringLiteral("tips"),
                                QStringLiteral("Run tips after start-up: today, week, league or "
                                               "value."),
                                QStringLiteral("RUN"));
  const QCommandLineOption screenshot(
      QStringLiteral("screenshot"),
      QStringLiteral(
          "Save a PNG picture of the window on top to FILE and end. With --match HOME "
          "AWAY the match tip window analyses that pairing (team ids or names) first; with --live "
          "HOME AWAY --ht H:A the live tip window does."),
      QStringLiteral("FILE"));
  const QCommandLineOption table(
      QStringLiteral("table"),
      QStringLiteral("Open the league tables after start-up: standings, form, goals (goals "
                     "under/over, in that mode) or elo."),
      QStringLiteral("VIEW"));
  const QCommandLineOption ht(
      QStringLiteral("ht"),
      QStringLiteral("With --live HOME AWAY: the half-time score H:A (0-9 goals each) for the live "
                     "tip window."),
      QStringLiteral("H:A"));
  const QCommandLineOption settings(QStringLiteral("settings"),
                                    QStringLiteral("Open the settings dialog after start-up."));
  const QCommandLineOption results(
      QStringLiteral("results"),
      QStringLiteral("Open the results browser of the --league league after start-up; with "
                     "--match or --live, the pairing's head-to-head list."));
  const QCommandLineOption gallery(
      QStringLiteral("gallery"),
      QStringLiteral("Save a PNG picture of every window and dialog on a 1280x800 screen as "
                     "DIR/<lang>/<window>.png, in every language or the one of --lang, and end."),
      QStringLiteral("DIR"));
  parser.addOptions(
      {home, today, lang, mode, league, tips, table, screenshot, ht, settings, results, gallery});

  if (!parser.parse(args)) {
    message = parser.errorText();
    return std::nullopt;
  }
  if (parser.isSet(help_option)) {
    help = true;
    message = parser.helpText();
    return std::nullopt;
  }
  if (!parser.positionalArguments().isEmpty()) {
    message = QStringLiteral("Unexpected argument: ") + parser.positionalArguments().first();
    return std::nullopt;
  }

  DesktopOptions o;
  if (parser.isSet(home)) o.home = parser.value(home).toStdString();
  try {
    if (parser.isSet(today)) o.today = DateOption("--today", parser.value(today).toStdString());
    if (parser.isSet(lang)) o.language = LanguageOption(parser.value(lang).toStdString());
    o.result_mode = ModeOption(parser.value(mode).toStdString());
    if (parser.isSet(league))
      o.league = LeagueOption("--league", parser.value(league).toStdString());
    if (!o.today) o.today = TodayFromEnvironment();
  } catch (const OptionError& e) {
    message = QString::fromStdString(e.what());
    return std::nullopt;
  }
  if (parser.isSet(tips)) {
    o.tip_button = TipButtonOf(parser.value(tips));
    if (!o.tip_button) {
      message =
          QStringLiteral("--tips expects today, week, league or value, got ") + parser.value(tips);
      return std::nullopt;
    }
  }
  if (parser.isSet(table)) {
    o.table = parser.value(table);
    static const QStringList kViews = {QStringLiteral("standings"), QStringLiteral("form"),
                                       QStringLiteral("goals"), QStringLiteral("elo")};
    if (!kViews.contains(o.table)) {
      message = QStringLiteral("--table expects standings, form, goals or elo, got ") + o.table;
      return std::nullopt;
    }
    if (!o.league) {
      message = QStringLiteral("--table needs --league");
      return std::nullopt;
    }
    // The goal table is the under/over mode's table; the others exist in the other modes.
    if (o.table == QLatin1String("goals")) {
      o.result_mode = ResultMode::kUnderOver;
    } else if (o.result_mode == ResultMode::kUnderOver) {
      message = QStringLiteral("--table ") + o.table + QStringLiteral(" needs --mode ft, 1h or 2h");
      return std::nullopt;
    }
  }
  o.results = parser.isSet(results);
  if (o.results && !o.league && !match && !live) {
    message = QStringLiteral("--results needs --league, --match or --live");
    return std::nullopt;
  }
  o.screenshot = parser.value(screenshot);
  o.gallery = parser.value(gallery);
  o.unattended = !o.gallery.isEmpty();
  o.settings = parser.isSet(settings);
  o.match = match;
  o.live = live;
  if (live) {
    const QString score = parser.value(ht).trimmed();
    if (score.size() != 3 || score[1] != QLatin1Char(':') || !score[0].isDigit() ||
        !score[2].isDigit() || score[0].digitValue() < 0 || score[2].digitValue() < 0) {
      message = QStringLiteral("--live needs --ht H:A with 0-9 goals each");
      return std::nullopt;
    }
    o.ht_home = score[0].digitValue();
    o.ht_away = score[2].digitValue();
  }
  return o;
}

void ApplyLookAndFeel(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
  if (QFontDatabase::families().contains(QLatin1String(kFontFamily)))
    app.setFont(QFont(QLatin1String(kFontFamily), kFontPoints));
}

void FilterToolkitNoise() {
  static const QtMessageHandler next = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (message == QLatin1String("This plugin does not support propagateSizeHints()")) return;
        if (next) {
          next(type, context, message);
        } else {
          std::cerr << qFormatLogMessage(type, context, message).toStdString() << "\n";
        }
      });
}

StartupOptions DesktopStartupOptions(const DesktopOptions& options, Program& program) {
  StartupOptions o;
  o.folder =
      ResolveProgramFolder(options.home, QCoreApplication::applicationFilePath().toStdString());
  o.today = options.today;
  o.language = options.language;
  // A new user's first start finds no database: the demo database lets them look around at
  // once, and it is built under the wait box like any long operation.
  o.create_demo_database = [&program, today = options.today](const std::string& path) {
    DemoOptions demo;
    demo.today = today.value_or(SystemToday());
    // "Please wait" and how far the creation is: it takes a while, and a box that only names
    // the step of the moment looks stuck.
    const Messages& m = program.messages;
    const std::string please_wait = m.Msg(msg::kPleaseWait);
    WaitScope shown(program.wait, 0, please_wait);
    // The creation reports each league and its two phases (the results, the season data).
    int done = 0;
    const int parts = kLeagueCount + 2;
    auto progress = [&](const std::string&) {
      done = std::min(done + 1, parts);
      program.wait.ShowWait(
          0, please_wait + "\r" +
                 m.Filled(msg::kDemoProgress, {std::to_string(done), std::to_string(parts)}));
      program.wait.HideWait();
    };
    CreateDemoDatabase(path, demo, /*overwrite=*/false, program.wait, program.messages, progress);
  };
  return o;
}

DesktopSession::DesktopSession(DesktopOptions options)
    : options_(std::move(options)),
      box_(MakeWaitBox()),
      wait_(MakeWaitIndicator(box_.get())),
      program_(options_.ui ? *options_.ui : static_cast<UserInterface&>(ui_), *wait_),
      model_(program_) {
  const bool screenshot = options_.unattended || !options_.screenshot.isEmpty();
  if (screenshot && !options_.language) options_.language = kEnglish;
  ui_.SetInteractive(!screenshot);
  ui_.SetMessages(&program_.messages);
  window_ = std::make_unique<MainWindow>(model_, program_, /*modal_tips=*/!screenshot);
  ui_.SetParentWindow(window_.get());
}

DesktopSession::~DesktopSession() {
  // The window goes before the program and the model it draws.
  window_.reset();
}

bool DesktopSession::Start() {
  StartupResult result = StartupResult::kEndProgram;
  Guarded(program_.ui, [&] {
    result = RunStartup(program_, DesktopStartupOptions(options_, program_));
    // Seasons an interrupted import left unreplayed are finished before the first tip.
    if (result == StartupResult::kReady) ReplayPendingAtStartup(program_);
  });
  ready_ = result == StartupResult::kReady;
  model_.ApplyLanguage();
  model_.NoLeagueState();
  window_->Refresh();
  return result != StartupResult::kEndProgram;
}

void DesktopSession::ApplyStartChoices() {
  auto press = [this](const QString& name) {
    auto* button = window_->findChild<QPushButton*>(name);
    if (button && button->isEnabled() && button->isVisible()) {
      button->click();
    } else {
      std::cerr << "The button " << name.toStdString() << " cannot be pressed now\n";
    }
  };
  if (auto* tabs = window_->findChild<QTabBar*>(QStringLiteral("TabControl1")))
    tabs->setCurrentIndex(static_cast<int>(ModeIndex(options_.result_mode)));
  if (options_.league) {
    const std::string_view name = League(*options_.league).button;
    press(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
  }
  if (options_.tip_button) press(QStringLiteral("Button%1").arg(*options_.tip_button));
  if (!options_.table.isEmpty()) {
    const bool form = options_.table == QLatin1String("form");
    press(QStringLiteral("Button%1").arg(form ? kFormButton : kTablesButton));
    if (options_.table == QLatin1String("elo")) {
      if (LeagueTablesWindow* tables = window_->TablesWindow()) tables->Button(4)->click();
    }
  }
  if (options_.settings) {
    if (auto* button = window_->findChild<QToolButton*>(QStringLiteral("TBSettings")))
      button->click();
  }
  if (options_.results && !options_.match && !options_.live)
    press(QStringLiteral("Button%1").arg(kResultsButton));
}

bool DesktopSession::StartUpdateChecks() {
  bool go_on = true;
  ServerCheckPlan plan;
  Guarded(program_.ui, [&] {
    bool compulsory = false;
    go_on = model_.Updates().CompulsoryInstall(compulsory) != InstallResult::kEndProgram;
    if (go_on) plan = model_.Updates().PlanStartupChecks(compulsory);
  });
  window_->Refresh();
  if (!go_on) return false;
  window_->RunStartupChecks(plan, [] { QCoreApplication::exit(1); });
  return true;
}

void DesktopSession::Exit() {
  RunExit(program_, /*pause=*/true);
}

int DesktopSession::Run(QApplication& app) {
  // Start-up runs before the window appears: the first start asks for the language and offers
  // the demo database, and behind those questions the window would stand with buttons that
  // lead nowhere yet.
  if (!Start()) return 1;
  window_->SetFirstShowHandler([this] {
    ApplyStartChoices();
    // The update checks run once the window is on screen and its start-up is done.
    if (!ready_) return;
    QTimer::singleShot(0, window_.get(), [this] {
      if (!StartUpdateChecks()) QCoreApplication::exit(1);
    });
  });
  window_->SetCloseHandler([this] { Exit(); });
  window_->show();
  return app.exec();
}

bool DesktopSession::ApplyMatchChoice() {
  if (!options_.match && !options_.live) return true;
  const bool live = options_.live.has_value();
  const char* flag = live ? "--live" : "--match";
  const auto& [home_text, away_text] = live ? *options_.live : *options_.match;
  std::optional<TeamItem> home, away;
  std::string problem = "no league's active season has both teams";
  auto find_in_season = [&]() {
    const std::vector<TeamItem> teams = CompetitionTeams(
        program_.dm.ADOConnection1, program_.selection.competition, program_.messages.Language());
    const TeamLookup h = ResolveTeam(teams, home_text);
    const TeamLookup a = ResolveTeam(teams, away_text);
    home = h.team;
    away = a.team;
    if (!h.team) problem = "home team: " + h.error;
    if (h.team && !a.team) problem = "away team: " + a.error;
    return home && away;
  };
  bool found = false;
  if (options_.league) {
    found = !program_.selection.competition.empty() && find_in_season();
  } else {
    for (int league = 1; league <= kLeagueCount && !found; ++league) {
      Guarded(program_.ui, [&] {
        program_.selection.league = std::to_string(league);
        NacitajIDsutaz(program_.dm, program_.selection, "Active");
        found = !program_.selection.competition.empty() && find_in_season();
      });
      if (found) {
        const std::string_view name = League(league).button;
        if (auto* b = window_->findChild<QPushButton*>(
                QString::fromLatin1(name.data(), static_cast<int>(name.size()))))
          b->click();
      }
    }
  }
  if (!found) {
    std::cerr << flag << ": " << problem << "\n";
    return false;
  }
  auto* search = window_->findChild<QPushButton*>(
      QStringLiteral("Button%1").arg(live ? kLiveTipButton : kSearchForTipButton));
  if (!search || !search->isEnabled()) {
    std::cerr << flag << ": its button cannot be pressed now\n";
    return false;
  }
  search->click();
  Settle();
  QWidget* analysis = live ? static_cast<QWidget*>(window_->LiveWindow())
                           : static_cast<QWidget*>(window_->MatchWindow());
  const bool analysed = live ? window_->LiveWindow()->ChooseAndAnalyse(
                                   home->id, away->id, options_.ht_home, options_.ht_away)
                             : window_->MatchWindow()->ChooseAndAnalyse(home->id, away->id);
  if (analysed && options_.results) {
    Settle();
    if (auto* show = analysis->findChild<QPushButton*>(QStringLiteral("ShowMatches")))
      show->click();
  }
  return analysed;
}

int DesktopSession::RunScreenshot() {
  if (!Start()) return 1;
  window_->show();
  Settle();
  ApplyStartChoices();
  Settle();
  if (!ApplyMatchChoice()) {
    Guarded(program_.ui, [this] { Exit(); });
    return 1;
  }
  Settle();
  const bool saved = SaveScreenshot(options_.screenshot);
  Guarded(program_.ui, [this] { Exit(); });
  if (!saved) {
    std::cerr << "Cannot write the picture " << options_.screenshot.toStdString() << "\n";
    return 1;
  }
  return 0;
}

QWidget* DesktopSession::TopWindow() const {
  SettingsDialog* settings = window_->SettingsWindow();
  if (settings && settings->isVisible()) return settings;
  for (ResultsBrowserWindow* results :
       {window_->MatchWindow()->ResultsWindow(), window_->LiveWindow()->ResultsWindow(),
        window_->ResultsWindow()}) {
    if (results && results->isVisible()) return results;
  }
  MatchTipWindow* match = window_->MatchWindow();
  if (match && match->isVisible()) return match;
  LiveTipWindow* live = window_->LiveWindow();
  if (live && live->isVisible()) return live;
  LeagueTablesWindow* tables = window_->TablesWindow();
  if (tables && tables->isVisible()) return tables;
  TipsListWindow* tips = window_->TipsWindow();
  if (tips && tips->isVisible()) return tips;
  return window_.get();
}

bool DesktopSession::SaveScreenshot(const QString& path) const {
  return TopWindow()->grab().save(path, "PNG");
}

}  // namespace morvela
