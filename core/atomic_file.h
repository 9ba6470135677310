// Replacing a file so that no crash can leave it half-written: the new content is built beside
// the target under a name unique to this process, then renamed over the target. Readers see the
// old file or the new one, never a mixture.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace morvela {

// A name beside `path` that no other process uses at the same time ("Morvela.mdb.new-4711").
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path);

// Removes what killed writers left beside `path`: the files TemporaryNameBeside names, with
// their -wal and -shm companions. Only for a caller that holds the folder's writer lock
// (core/folder_lock.h), so that nobody else can be building one right now.
void RemoveStaleTemporaryFiles(const std::filesystem::path& path);

// Removes a database file with its -wal, -shm and -journal companions; missing ones are fine.
void RemoveWithCompanions(const std::filesystem::path& file);

// Permission bits of a file WriteFileAtomically creates (the process's umask still applies).
inline constexpr unsigned kSharedFileMode = 0666;
// Only the owner may read and write: for files that hold credentials, such as the settings file.
inline constexpr unsigned kPrivateFileMode = 0600;

// Writes `content` beside `path`, syncs it, renames it over `path` and syncs the folder. False
// when the file could not be written or renamed; the temporary file is gone either way. The file
// gets `mode` whether it is new or replaces one with other bits: the temporary file is created
// afresh with them, so the content is never readable with wider ones, not even for an instant.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         unsigned mode = kSharedFileMode);

// Builds a database file beside `path` with `build` (which receives the temporary file's path
// and must have closed every connection to it when it returns), then renames it over `path`,
// dropping the old file's -wal and -shm companions. The built file is synced before the rename,
// so `build` may write it without syncs of its own. The temporary file and its companions are
// removed on every failure path; `build`'s exception passes through, a failed rename throws
// FileError.
void ReplaceFileAtomically(const std::filesystem::path& path,
                           const std::function<void(const std::string& temp)>& build);

}  // namespace morvela
