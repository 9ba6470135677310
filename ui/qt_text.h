// Model text into Qt: the window models hold UTF-8 std::string, the views show QString.
#pragma once

#include <QString>
#include <string>

namespace morvela {

inline QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace morvela
