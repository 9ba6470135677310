// The settings dialog on the offscreen platform: the settings button opens it filled from the
// program, Enter in the days field moves to OK, OK saves and Back leaves the file alone.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <fstream>
#include <iterator>

#include "fixture_db.h"
#include "program/settings.h"
#include "ui/settings_dialog.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

using test::Settle;

TEST(SettingsDialogUiTest, OpensFilledSavesWithOkAndBackChangesNothing) {
  test::FixtureDb db;
  const std::string ini = db.Folder() + "Nastavenie.ini";
  Settings stored;
  stored.Dni = 12;
  stored.Lang = kGerman;
  stored.W7 = false;
  ASSERT_TRUE(WriteSettings(ini, stored));
  DesktopOptions o;
  o.settings = true;
  auto s = test::OpenSession(db.Folder(), kGerman, "settings-dialog.png", o);
  ASSERT_TRUE(s);
  s->ApplyStartChoices();
  Settle();
  SettingsDialog* d = s->window().SettingsWindow();
  ASSERT_TRUE(d && d->isVisible());
  EXPECT_EQ(s->TopWindow(), d);
  EXPECT_EQ(d->windowTitle(), "  Einstellungen des Programms");
  QTabWidget* tabs = d->Tabs();
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(0), "Tipps");
  EXPECT_EQ(tabs->tabText(3), "Version");
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(d->DaysField()->value(), 12);
  EXPECT_EQ(d->DaysField()->minimum(), 0);
  EXPECT_EQ(d->DaysField()->maximum(), 365);
  EXPECT_TRUE(d->LanguageButton(1)->isChecked());
  EXPECT_EQ(d->OkButton()->text(), "OK");
  EXPECT_EQ(d->BackButton()->text(), "Zurück");
  // The tab page is pale yellow.
  const QImage picture = test::SaveAndLoad(*s, "settings-dialog.png");
  ASSERT_FALSE(picture.isNull());
  const QPoint inside = tabs->currentWidget()->mapTo(d, QPoint(4, 4));
  EXPECT_EQ(picture.pixelColor(inside * picture.devicePixelRatio()), QColor(255, 255, 216));

  // Enter in the days field moves the focus to OK and saves nothing.
  d->activateWindow();
  d->DaysField()->setFocus();
  d->DaysField()->setValue(30);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(d->DaysField(), &enter);
  Settle();
  EXPECT_TRUE(d->isVisible());
  EXPECT_TRUE(d->OkButton()->hasFocus() || d->focusWidget() == d->OkButton());
  EXPECT_EQ(ReadSettings(ini).Dni, 12);

  d->DatabaseCheck()->setCurrentIndex(1);
  d->OkButton()->click();
  Settle();
  EXPECT_FALSE(d->isVisible());
  Settings saved = stored;
  saved.Dni = 30;
  saved.Dbf = 1;
  EXPECT_EQ(ReadSettings(ini), saved);

  // Opened again it shows what was saved; Back keeps the file byte for byte.
  s->window().findChild<QToolButton*>(QStringLiteral("TBSettings"))->click();
  Settle();
  ASSERT_TRUE(d->isVisible());
  EXPECT_EQ(d->DaysField()->value(), 30);
  EXPECT_EQ(d->DatabaseCheck()->currentIndex(), 1);
  const std::string before = test::ReadBytes(ini);
  d->DaysField()->setValue(200);
  d->LanguageButton(3)->setChecked(true);
  d->BackButton()->click();
  Settle();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(test::ReadBytes(ini), before);
}

TEST(SettingsDialogUiTest, RestartDropsTheLanguageOfThisRunOnly) {
  const QStringList run = {"/opt/morvela", "--home",  "/h",         "--lang",   "de",
                           "--lang=it",    "--today", "2025-10-15", "--league", "lang"};
  EXPECT_EQ(RestartArguments(run),
            (QStringList{"--home", "/h", "--today", "2025-10-15", "--league", "lang"}));
  EXPECT_TRUE(RestartArguments({"/opt/morvela"}).isEmpty());
}

}  // namespace
}  // namespace morvela
