// The language chooser `TfJazyk` on screen: four headings and four flag buttons, one per
// language, shown modally by start-up while no language is stored.
#pragma once

#include <QDialog>

#include "i18n/language_chooser.h"

namespace morvela {

class LanguageDialog : public QDialog {
  Q_OBJECT

 public:
  explicit LanguageDialog(QWidget* parent = nullptr);

  // Shows the chooser modally; the chosen language index 1..4, or 0 when it was closed without
  // a choice.
  int Choose();

 private:
  TfJazyk model_;
};

}  // namespace morvela
