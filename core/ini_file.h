// A small INI file reader and writer: "[Section]" lines, "key=value" lines beneath them, and
// anything else (comments, blank lines) kept as it is. Sections and keys are looked up without
// regard to ASCII case; the first match wins. Rewriting the file keeps every other line, the
// order of lines, the file's line endings (CR LF or LF) and a leading UTF-8 byte order mark.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace morvela {

class IniFile {
 public:
  // Reads the file. A missing file gives an empty INI whose Save creates the file; a file that
  // exists but cannot be read also gives an empty INI, with ReadFailed set.
  explicit IniFile(std::filesystem::path path);

  // True when the file exists but could not be read: saving would overwrite content that was
  // never seen, so writers should give up.
  bool ReadFailed() const { return read_failed_; }

  // The value of a key with surrounding blanks removed; def when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // A whole decimal number within the int range; def when missing, garbage or out of range.
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  // "true"/"false" in any case, or an integer (non-zero is true); def otherwise.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // Sets a key in memory: an existing key line is rewritten in place (keeping the key's
  // spelling), a new key goes after the last non-blank line of its section, and a new section is
  // appended at the end after a blank line. The value must not contain line breaks.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);  // as 1 or 0

  // Writes the file atomically: the content goes to a temporary file beside it, is flushed to
  // the disk and then renamed over the file, so a crash leaves either the old or the new file.
  // Returns false when any step fails (the temporary file is then removed). The file gets the
  // permission bits `mode` (core/atomic_file.h), also when it existed with others.
  bool Save(unsigned mode = kSharedFileMode) const;

 private:
  std::optional<size_t> FindSection(std::string_view section) const;  // its header line
  std::optional<size_t> FindKey(std::string_view section, std::string_view key) const;

  std::filesystem::path path_;
  std::vector<std::string> lines_;  // without line endings
  bool crlf_ = false;
  bool bom_ = false;
  bool read_failed_ = false;
};

}  // namespace morvela
