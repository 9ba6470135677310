// The string cipher with which the program keeps some texts enciphered (the program version
// mark in the database, passwords, addresses among its constants): AES-128 in CBC mode with the
// program's fixed key and initialisation vector, zero padding, and Base64 (RFC 4648, with "=")
// for the cipher bytes. Values enciphered with other key material decipher to nonsense or fail.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "core/error.h"

namespace morvela {

// A text that must be deciphered could not be. The front end shows it as an error and ends the
// program.
class CipherError : public InputError {
 public:
  using InputError::InputError;
};

// Enciphers a text: zero-padded to a multiple of 16 bytes (the empty text to one block of
// zeros), encrypted, Base64-encoded. A text of 16 bytes gives 24 characters, of 17 bytes 44.
std::string EncipherText(std::string_view plain);

// Deciphers a text made by EncipherText. The result loses its leading and trailing characters
// with codes up to 32 (blanks, control characters and the zero padding). The empty text gives
// the empty text. A text that is not Base64 of whole cipher blocks fails: with soft set the
// result is the text "false", otherwise CipherError is thrown.
std::string DecipherText(std::string_view enciphered, bool soft);

}  // namespace morvela
