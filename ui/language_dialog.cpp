#include "ui/language_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "i18n/leagues.h"
#include "ui/pictures.h"
#include "ui/placement.h"

namespace morvela {

LanguageDialog::LanguageDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fJazyk"));
  setWindowTitle(QString::fromUtf8(TfJazyk::kCaption.data(), TfJazyk::kCaption.size()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 16, 18, 16);
  layout->setSpacing(4);
  for (std::string_view heading : TfJazyk::kHeadings) {
    auto* label = new QLabel(QString::fromUtf8(heading.data(), heading.size()), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
  layout->addSpacing(12);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  for (const TfJazyk::Button& b : TfJazyk::kButtons) {
    auto* button = new QPushButton(QIcon(FlagPixmap(League(b.flag_league).flag)),
                                   QString::fromUtf8(b.caption.data(), b.caption.size()), this);
    button->setIconSize(QSize(kFlagWidth, kFlagHeight));
    button->setMinimumHeight(kFlagHeight + 14);
    button->setAutoDefault(false);
    const int language = b.language;
    connect(button, &QPushButton::clicked, this, [this, language] {
      model_.Choose(language);
      accept();
    });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

int LanguageDialog::Choose() {
  model_.Open();
  // Over the main window once it is on screen, else in the middle of the screen (the first
  // start asks before the main window appears).
  CentreOver(*this, parentWidget(), size());
  exec();
  if (model_.IsOpen()) model_.Close();
  return model_.Index();
}

}  // namespace morvela
