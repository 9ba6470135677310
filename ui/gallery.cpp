#include "ui/gallery.h"

#include <QAbstractAxis>
#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QValueAxis>

#include <iostream>
#include <memory>

#include "core/threaded_wait_indicator.h"
#include "i18n/leagues.h"
#include "i18n/message_ids.h"
#include "i18n/messages.h"
#include "ui/desktop_session.h"
#include "ui/language_dialog.h"
#include "ui/placement.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"

namespace morvela {

namespace {

constexpr const char* kLanguageCodes[] = {"en", "de", "sk", "it"};

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// The wait box as the X11 box paints it (the same layout, face and font), drawn by the toolkit:
// the gallery runs without an X display, where the real box stays inert.
class WaitBoxPreview : public QWidget {
 public:
  explicit WaitBoxPreview(const std::string& message) {
    setObjectName(QStringLiteral("WaitBox"));
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setPixelSize(kWaitFontPoints + 1);
    font_.setBold(kWaitFontBold);
    const QFontMetrics metrics(font_);
    picture_ = LayOutWaitBox(
        message, metrics.height(),
        [&metrics](const std::string& line) { return metrics.horizontalAdvance(Q(line)); }, 0, 0);
    setFixedSize(picture_.width, picture_.height);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(picture_.colour.r, picture_.colour.g, picture_.colour.b));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(font_);
    const int ascent = QFontMetrics(font_).ascent();
    for (const WaitBoxPicture::Line& line : picture_.lines)
      painter.drawText(line.x, line.y + ascent, Q(line.text));
  }

 private:
  QFont font_;
  WaitBoxPicture picture_;
};

// Walks the windows of one running session.
class Walk {
 public:
  Walk(DesktopSession& session, const GalleryVisitor& visit) : s_(session), visit_(visit) {}

  void Run() {
    MainWindow& main = s_.window();
    Shot(QStringLiteral("main_start"), [&] { return &main; });
    if (!PressLeague()) {
      std::cerr << "gallery: no league can be loaded\n";
      return;
    }
    Shot(QStringLiteral("main"), [&] { return &main; });

    const std::pair<const char*, int> tip_runs[] = {{"tips_today", kTipForTodayButton},
                                                    {"tips_week", kTipsForTheWeekButton},
                                                    {"tips_league", kTippingALeagueButton},
                                                    {"tips_value", kValueTipsButton}};
    for (const auto& run : tip_runs) {
      Shot(QLatin1String(run.first), [&]() -> QWidget* {
        Press(run.second);
        return main.TipsWindow();
      });
      if (main.TipsWindow()) main.TipsWindow()->close();
    }

    Match(QStringLiteral("match_ft"));
    Tables(/*under_over=*/false);
    Shot(QStringLiteral("results"), [&]() -> QWidget* {
      Press(kResultsButton);
      return main.ResultsWindow();
    });
    if (ResultsBrowserWindow* results = main.ResultsWindow()) {
      Shot(QStringLiteral("results_editor"), [&]() -> QWidget* {
        results->Button(1)->click();
        return results->Editor();
      });
      if (results->Editor()) results->Editor()->close();
      results->close();
    }
    Live();

    SetMode(ResultMode::kUnderOver);
    Match(QStringLiteral("match_uo"));
    Tables(/*under_over=*/true);
    SetMode(ResultMode::kFullTime);

    Settings();
    Dialogs();
  }

 private:
  // Opens a window with `open`, lets it settle and hands it to the visitor.
  void Shot(const QString& name, const std::function<QWidget*()>& open) {
    QElapsedTimer timer;
    timer.start();
    QWidget* w = open();
    Settle();
    const qint64 ms = timer.elapsed();
    if (!w || !w->isVisible()) {
      std::cerr << "gallery: " << name.toStdString() << " did not open\n";
      return;
    }
    visit_({name, w, ms});
  }

  void Press(int function) {
    auto* b = s_.window().findChild<QPushButton*>(QStringLiteral("Button%1").arg(function));
    if (b && b->isEnabled() && b->isVisible()) b->click();
  }

  // The first league (by id) whose current season is in the database.
  bool PressLeague() {
    for (int league = 1; league <= kLeagueCount; ++league) {
      const std::string_view name = League(league).button;
      auto* b = s_.window().findChild<QPushButton*>(
          QString::fromLatin1(name.data(), static_cast<int>(name.size())));
      if (!b || !b->isEnabled()) continue;
      b->click();
      Settle();
      if (!s_.program().selection.competition.empty()) return true;
    }
    return false;
  }

  void SetMode(ResultMode mode) {
    if (auto* tabs = s_.window().findChild<QTabBar*>(QStringLiteral("TabControl1")))
      tabs->setCurrentIndex(static_cast<int>(ModeIndex(mode)));
    Settle();
  }

  // The first two teams of the choosers, analysed.
  static bool AnalyseFirstPair(QWidget* w, const std::function<void(qlonglong, qlonglong)>& ok) {
    auto* home = w->findChild<QComboBox*>(QStringLiteral("HomeTeam"));
    auto* away = w->findChild<QComboBox*>(QStringLiteral("AwayTeam"));
    if (!home || !away || home->count() < 2) return false;
    ok(home->itemData(0).toLongLong(), away->itemData(1).toLongLong());
    return true;
  }

  void Match(const QString& name) {
    MatchTipWindow* match = s_.window().MatchWindow();
    Shot(name + QStringLiteral("_choice"), [&] {
      Press(kSearchForTipButton);
      return match;
    });
    Shot(name, [&]() -> QWidget* {
      AnalyseFirstPair(match, [match](qlonglong h, qlonglong a) { match->ChooseAndAnalyse(h, a); });
      return match;
    });
    match->close();
  }

  void Live() {
    LiveTipWindow* live = s_.window().LiveWindow();
    Shot(QStringLiteral("live"), [&]() -> QWidget* {
      Press(kLiveTipButton);
      AnalyseFirstPair(live,
                       [live](qlonglong h, qlonglong a) { live->ChooseAndAnalyse(h, a, 1, 0); });
      const double odds[kLiveOddsCount] = {1.45, 4.20, 7.50, 1.12, 2.60, 1.30};
      for (int i = 0; i < kLiveOddsCount; ++i) {
        if (live->OddsEntry(i)->isEnabled()) live->OddsEntry(i)->setValue(odds[i]);
      }
      return live;
    });
    live->close();
    live->Finish();
  }

  void Tables(bool under_over) {
    MainWindow& main = s_.window();
    if (under_over) {
      Shot(QStringLiteral("tables_goals"), [&]() -> QWidget* {
        Press(kTablesButton);
        return main.TablesWindow();
      });
      if (main.TablesWindow()) main.TablesWindow()->close();
      return;
    }
    Shot(QStringLiteral("tables_form"), [&]() -> QWidget* {
      Press(kFormButton);
      return main.TablesWindow();
    });
    if (main.TablesWindow()) main.TablesWindow()->close();
    Shot(QStringLiteral("tables"), [&]() -> QWidget* {
      Press(kTablesButton);
      return main.TablesWindow();
    });
    LeagueTablesWindow* tables = main.TablesWindow();
    if (!tables) return;
    const char* views[] = {"tables_home", "tables_away",     "tables_together",
                           "tables_elo",  "tables_elo_home", "tables_elo_away"};
    for (int n = 1; n <= 6; ++n) {
      if (!tables->Button(n)->isVisible() || !tables->Button(n)->isEnabled()) continue;
      Shot(QLatin1String(views[n - 1]), [&]() -> QWidget* {
        tables->Button(n)->click();
        return tables;
      });
    }
    tables->close();
  }

  void Settings() {
    MainWindow& main = s_.window();
    auto* button = main.findChild<QToolButton*>(QStringLiteral("TBSettings"));
    if (!button) return;
    button->click();
    Settle();
    SettingsDialog* settings = main.SettingsWindow();
    if (!settings || !settings->isVisible()) return;
    for (int t = 0; t < settings->Tabs()->count(); ++t) {
      Shot(QStringLiteral("settings_%1").arg(t + 1), [&] {
        settings->Tabs()->setCurrentIndex(t);
        return settings;
      });
    }
    settings->close();
  }

  // The dialogs the program shows through its user interface, built as it builds them.
  void Dialogs() {
    MainWindow& main = s_.window();
    const Messages& m = s_.program().messages;
    auto dialog = [&](const QString& name, std::unique_ptr<QWidget> w) {
      Shot(name, [&] {
        KeepInsideScreenOnShow(*w);
        w->show();
        return w.get();
      });
    };
    {
      auto chooser = std::make_unique<LanguageDialog>(&main);
      dialog(QStringLiteral("language"), std::move(chooser));
    }
    dialog(QStringLiteral("demo_offer"),
           MakeQuestionBox(&m, m.Msg(msg::kOfferDemoDatabase), &main));
    // The wait box as the first start's demo creation shows it, halfway.
    dialog(QStringLiteral("wait"),
           std::make_unique<WaitBoxPreview>(m.Msg(msg::kPleaseWait) + "\r" +
                                            m.Filled(msg::kDemoProgress, {"10", "22"})));
    dialog(QStringLiteral("update_database"),
           MakeQuestionBox(&m, m.NastavJazykPar(msg::kNewDatabaseCase, "2010-06-01"), &main));
    dialog(QStringLiteral("update_odds"),
           MakeQuestionBox(&m, m.Msg(msg::kDatabaseIsCurrent) + "\r\n" + m.Msg(msg::kAskUpdateOdds),
                           &main));
  }

  DesktopSession& s_;
  const GalleryVisitor& visit_;
};

QString Shown(const QString& text) {
  QString t = text;
  t.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return t.size() > 60 ? t.left(57) + QStringLiteral("...") : t;
}

std::string CutLine(const char* kind, const QString& text, int needs, int has) {
  return std::string(kind) + " '" + Shown(text).toStdString() + "' needs " + std::to_string(needs) +
         " px, has " + std::to_string(has);
}

}  // namespace

bool WalkGallery(const std::string& home, std::optional<Date> today, int language,
                 const GalleryVisitor& visit, std::string& problem) {
  DesktopOptions o;
  o.home = home;
  o.today = today;
  o.language = language;
  o.unattended = true;
  DesktopSession session(o);
  if (!session.Start() || !session.Ready()) {
    problem = "the program cannot start over " + home;
    return false;
  }
  session.window().show();
  Settle();
  Walk(session, visit).Run();
  Guarded(session.program().ui, [&session] { session.Exit(); });
  return true;
}

std::vector<std::string> CutTexts(QWidget& window) {
  std::vector<std::string> cut;
  const QRect inside = window.rect();
  auto reaches_out = [&](QWidget* w) {
    const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
    return !inside.contains(r);
  };
  auto shown = [&](QWidget* w) { return w->isVisibleTo(&window) && w->isVisible(); };

  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (!shown(label) || label->text().isEmpty() || !label->pixmap().isNull()) continue;
    // A label inside a message box or chart is the toolkit's own; those lay themselves out.
    const QSize hint = label->sizeHint();
    if (label->wordWrap()) {
      if (label->heightForWidth(label->width()) > label->height())
        cut.push_back(CutLine("label", label->text(), label->heightForWidth(label->width()),
                              label->height()));
      continue;
    }
    if (hint.width() > label->width())
      cut.push_back(CutLine("label", label->text(), hint.width(), label->width()));
    else if (label->fontMetrics().height() > label->height())
      cut.push_back(
          CutLine("label height", label->text(), label->fontMetrics().height(), label->height()));
    else if (reaches_out(label))
      cut.push_back(CutLine("label outside", label->text(), hint.width(), label->width()));
  }
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (!shown(button) || button->text().isEmpty()) continue;
    if (qobject_cast<QToolButton*>(button)) continue;  // icons; the tab bar's scroll buttons
    const QSize hint = button->sizeHint();
    if (hint.width() > button->width())
      cut.push_back(CutLine("button", button->text(), hint.width(), button->width()));
    else if (reaches_out(button))
      cut.push_back(CutLine("button outside", button->text(), hint.width(), button->width()));
  }
  for (QTabBar* bar : window.findChildren<QTabBar*>()) {
    if (!shown(bar)) continue;
    for (int t = 0; t < bar->count(); ++t) {
      const QString text = bar->tabText(t);
      const int needs = bar->fontMetrics().horizontalAdvance(text);
      const int has = bar->tabRect(t).width();
      if (needs > has || !bar->rect().contains(bar->tabRect(t)))
        cut.push_back(CutLine("tab", text, needs, has));
    }
  }
  for (QTableView* grid : window.findChildren<QTableView*>()) {
    if (!shown(grid) || !grid->model()) continue;
    QHeaderView* header = grid->horizontalHeader();
    if (!header->isVisible()) continue;
    const int viewport = header->viewport()->width();
    for (int c = 0; c < header->count(); ++c) {
      if (header->isSectionHidden(c)) continue;
      const QString text = grid->model()->headerData(c, Qt::Horizontal).toString();
      if (text.isEmpty()) continue;
      // The title's text and the section's margins on both sides.
      const int margin = grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
      const int needs = header->fontMetrics().horizontalAdvance(text) + 2 * margin;
      const int has = header->sectionSize(c);
      const int right = header->sectionViewportPosition(c) + has;
      if (needs > has)
        cut.push_back(CutLine("column title", text, needs, has));
      else if (right > viewport && grid->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
        cut.push_back(CutLine("column title outside", text, needs, has));
    }
  }
  for (QChartView* view : window.findChildren<QChartView*>()) {
    if (!shown(view) || !view->chart()) continue;
    const QRectF plot = view->chart()->plotArea();
    for (QAbstractAxis* axis : view->chart()->axes()) {
      if (!axis->isVisible() || !axis->isTitleVisible() || axis->titleText().isEmpty()) continue;
      const int needs = QFontMetrics(axis->titleFont()).horizontalAdvance(axis->titleText());
      const int has =
          static_cast<int>(axis->orientation() == Qt::Vertical ? plot.height() : plot.width());
      if (needs > has) cut.push_back(CutLine("axis title", axis->titleText(), needs, has));
    }
  }
  return cut;
}

int RunGallery(const std::string& home, std::optional<Date> today,
               const std::vector<int>& languages, const QString& dir) {
  int status = 0;
  for (int language : languages) {
    const QString code = QLatin1String(kLanguageCodes[language - 1]);
    const QString folder = QDir(dir).filePath(code);
    if (!QDir().mkpath(folder)) {
      std::cerr << "Cannot create the folder " << folder.toStdString() << "\n";
      return 1;
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    int pictures = 0;
    std::string problem;
    const bool walked = WalkGallery(
        home, today, language,
        [&](const GalleryWindow& g) {
          const QString path = QDir(folder).filePath(g.name + QStringLiteral(".png"));
          if (!g.window->grab().save(path, "PNG")) {
            std::cerr << "Cannot write the picture " << path.toStdString() << "\n";
            status = 1;
            return;
          }
          ++pictures;
          const QRect frame = g.window->frameGeometry();
          std::cout << code.toStdString() << "/" << g.name.toStdString() << ".png "
                    << g.window->width() << "x" << g.window->height() << " opened in " << g.open_ms
                    << " ms" << (screen.contains(frame) ? "" : " (off the screen)") << "\n";
          for (const std::string& line : CutTexts(*g.window))
            std::cout << "  cut: " << line << "\n";
        },
        problem);
    if (!walked) {
      std::cerr << problem << "\n";
      return 1;
    }
    std::cout << code.toStdString() << ": " << pictures << " pictures in " << folder.toStdString()
              << "\n";
  }
  return status;
}

}  // namespace morvela
