// The language chooser `TfJazyk`: the modal window that start-up shows while no language is
// stored. It speaks all four languages at once, since none has been chosen yet.
#pragma once

#include <array>
#include <string_view>

namespace morvela {

class TfJazyk {
 public:
  struct Button {
    std::string_view caption;  // in its own language: "English", "Deutsch", ...
    int language;              // language index the button chooses
    int flag_league;           // league whose flag the button shows
  };

  static constexpr std::string_view kCaption = "  Language / Sprache / Jazyk / Lingua";
  // The four centred headings, top to bottom, in the order of the buttons.
  static constexpr std::array<std::string_view, 4> kHeadings = {
      "Choose your language", "Wählen Sie Ihre Sprache", "Vyberte si jazyk",
      "Scegli la tua lingua"};
  static constexpr std::array<Button, 4> kButtons = {
      {{"English", 1, 4}, {"Deutsch", 2, 6}, {"Slovenský", 3, 15}, {"Italiano", 4, 7}}};

  // Prepares a showing: nothing chosen, window open.
  void Open();

  // A language button: sets the index (1..4) and the chosen flag and closes the window.
  // Throws std::out_of_range for any other index, which no button gives.
  void Choose(int index);

  // Closing the window without a button leaves the index at 0 and the flag cleared.
  void Close() { open_ = false; }

  bool IsOpen() const { return open_; }
  int Index() const { return index_; }
  bool Chosen() const { return chosen_; }

 private:
  int index_ = 0;
  bool chosen_ = false;
  bool open_ = false;
};

}  // namespace morvela
