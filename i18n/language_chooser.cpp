#include "i18n/language_chooser.h"

#include <stdexcept>
#include <string>

namespace morvela {

void TfJazyk::Open() {
  index_ = 0;
  chosen_ = false;
  open_ = true;
}

void TfJazyk::Choose(int index) {
  if (index < 1 || index > static_cast<int>(kButtons.size())) {
    throw std::out_of_range("language index " + std::to_string(index) + " is not 1..4");
  }
  index_ = index;
  chosen_ = true;
  open_ = false;
}

}  // namespace morvela
