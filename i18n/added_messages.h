// Texts the program added after the fixed message table: notices, reasons and captions of the
// features that came later. They share the table's numbering (entry numbers from
// kMessageCount up) so that `Messages::Msg` reaches both alike, and every entry has all four
// languages.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace morvela {

struct AddedMessage {
  int id;
  // English, German, Slovak, Italian.
  std::array<std::string_view, 4> text;
};

// Every added entry, ordered by number.
std::span<const AddedMessage> AddedMessages();

}  // namespace morvela
