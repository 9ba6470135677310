// The gallery: every window and dialog of the desktop program opened in turn over one program
// folder, in one language, the way a user opens it (its own buttons pressed), and handed to a
// visitor while it is on screen. `morvela --gallery DIR` saves each as a picture; the test that
// no text is cut checks each one.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"

class QWidget;

namespace morvela {

// One window of the gallery: a file-friendly name ("match_ft", "tables_elo", "settings_2"),
// the window laid out and shown, and how long it took to open, in milliseconds (the clicks
// and the drawing until the window system settled).
struct GalleryWindow {
  QString name;
  QWidget* window = nullptr;
  qint64 open_ms = 0;
};
using GalleryVisitor = std::function<void(const GalleryWindow&)>;

// Opens every window of the program over the folder `home` (which must hold a database with
// played and coming matches, such as the demo database) on `today`, in `language`, and calls
// `visit` with each. The windows close again after the visit. False, with the reason in
// `problem`, when the program cannot start over that folder.
bool WalkGallery(const std::string& home, std::optional<Date> today, int language,
                 const GalleryVisitor& visit, std::string& problem);

// The texts of `window` that its controls do not show whole: labels, buttons, check boxes and
// radio buttons narrower or lower than their size hint or reaching out of the window, tabs
// narrower than their text needs, column titles narrower than their text, chart axis titles
// longer than their axis. One line per text: "<kind> '<text>' needs N px, has M".
std::vector<std::string> CutTexts(QWidget& window);

// `morvela --gallery DIR`: the gallery in each of `languages` saved as DIR/<lang>/<name>.png,
// with every window's open time and every cut text on stdout. Returns the exit status.
int RunGallery(const std::string& home, std::optional<Date> today,
               const std::vector<int>& languages, const QString& dir);

}  // namespace morvela
