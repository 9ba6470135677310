// One run of the desktop program: its command line, the program object with the Qt user
// interface and the wait indicator, the main window, the start-up and exit sequences, and the
// screenshot run that shows a window without the user and saves a picture of it.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

#include "core/date.h"
#include "core/threaded_wait_indicator.h"
#include "main_window/main_window_model.h"
#include "program/program.h"
#include "program/startup.h"
#include "ui/main_window.h"
#include "ui/qt_user_interface.h"

class QApplication;
class QWidget;

namespace morvela {

struct DesktopOptions {
  std::optional<std::string> home;  // --home DIR: the program folder
  std::optional<Date> today;        // --today YYYY-MM-DD (else MORVELA_TODAY, else the system)
  std::optional<int> language;      // --lang en|de|sk|it: this run's language
  ResultMode result_mode = ResultMode::kFullTime;  // --mode ft|1h|2h|uo: the tab after start-up
  std::optional<int> league;      // --league L: the league button pressed after start-up
  std::optional<int> tip_button;  // --tips today|week|league|value: the tip button pressed
  QString table;                  // --table standings|form|goals|elo: the tables shown
  // --results: the results browser of the --league league; with --match or --live, the
  // pairing's head-to-head list in it.
  bool results = false;
  QString screenshot;       // --screenshot FILE: save a picture and end
  QString gallery;          // --gallery DIR: pictures of every window under DIR/<lang>/ and end
  bool unattended = false;  // nobody at the screen (the gallery): as a screenshot run
  bool settings = false;    // --settings: the settings dialog opened after start-up
  // --match HOME AWAY: the tip search's match window analyses this pairing (ids or names) in
  // the --league league, or else the first league whose active season has both teams.
  std::optional<std::pair<std::string, std::string>> match;
  // --live HOME AWAY --ht H:A: the live tip window analyses this pairing at that half-time
  // score, found as for --match.
  std::optional<std::pair<std::string, std::string>> live;
  int ht_home = 0, ht_away = 0;
  // Where the program's messages and questions go instead of the toolkit's boxes: a test's
  // recording interface, which answers the questions as the test chose (a screenshot run's
  // boxes answer every question No). Not owned; it outlives the session.
  UserInterface* ui = nullptr;
};

// Parses the program's command line (arguments[0] is the program). On a wrong line returns
// nullopt with the reason in `message`; for --help returns nullopt with the help text in
// `message` and `help` set.
std::optional<DesktopOptions> ParseDesktopOptions(const QStringList& arguments, QString& message,
                                                  bool& help);

// The program's look: the Fusion style and DejaVu Sans at 9 points where it is installed.
void ApplyLookAndFeel(QApplication& app);

// Drops the offscreen platform's note that it cannot pass size hints on (it has no window
// manager to pass them to), which it repeats for every window; other toolkit messages pass.
void FilterToolkitNoise();

// The desktop program's start-up options: the folder, today and language of the command line,
// and on a first start without a database the offer to create the demo database (its answer
// comes from program.ui, the creation shows program.wait).
StartupOptions DesktopStartupOptions(const DesktopOptions& options, Program& program);

class DesktopSession {
 public:
  // Builds the program and its main window (not shown yet). A screenshot run never waits for
  // the user and starts in the language of --lang, or English.
  explicit DesktopSession(DesktopOptions options);
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  // The start-up sequence; afterwards the window speaks the program's language. False when the
  // program is to end (no database connection).
  bool Start();
  // Start-up went through all its steps: a database is open.
  bool Ready() const { return ready_; }
  // Applies the command line's start choices by pressing the window's own controls: the result
  // mode tab, the league button, the tip button.
  void ApplyStartChoices();
  // --match: loads the pairing's league when --league did not, opens "Search for tip" and
  // analyses the pairing. False, with the reason on stderr, when the teams are not found.
  bool ApplyMatchChoice();
  // The update checks once the window is on screen: the compulsory install on this thread,
  // then the version and date requests on a worker thread (MainWindow::RunStartupChecks), so
  // that the window goes on while the server answers. False when the program must end now.
  bool StartUpdateChecks();
  // The exit sequence (the window's closing runs it).
  void Exit();

  // The interactive program: shows the window, runs start-up once it is on screen and the
  // event loop until the window closes. Returns the exit status.
  int Run(QApplication& app);
  // The screenshot run: start-up, the window, the start choices, a PNG of the window on top,
  // the exit sequence. Returns the exit status.
  int RunScreenshot();

  // The window on top: a results browser, the match window, the league tables or the tips
  // list while one is open, else the main window.
  QWidget* TopWindow() const;
  // Saves a picture of TopWindow() as PNG; false when the file could not be written.
  bool SaveScreenshot(const QString& path) const;

  Program& program() { return program_; }
  TForm1& model() { return model_; }
  MainWindow& window() { return *window_; }

 private:
  DesktopOptions options_;
  QtUserInterface ui_;
  std::unique_ptr<WaitBox> box_;
  std::unique_ptr<WaitIndicator> wait_;
  Program program_;
  bool ready_ = false;  // start-up went through all its steps
  TForm1 model_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace morvela
