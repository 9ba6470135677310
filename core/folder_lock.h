// One writer at a time in a program folder: an exclusive lock on the file ".morvela.lock" in the
// folder, held by an open descriptor, so the system releases it when the process ends however it
// ends (a killed import never leaves a stale lock behind).
//
// Every write to a program folder takes it: import, replay, install, odds merge, result edits,
// settings. Within one process the lock is shared: a writer that already holds it (the install
// that replays, the browser's edit inside the desktop program's own install) takes it again at
// once instead of waiting for itself.
#pragma once

#include <chrono>
#include <string>

namespace morvela {

class FolderLock {
 public:
  // Takes the lock on `folder` (with or without a trailing slash) for the command `holder`
  // ("import"), whose name goes into the lock file for others to read. When another process
  // holds it, waits when `wait` is set, else returns at once without the lock (Held() false).
  // Throws FileError when the lock file cannot be created.
  FolderLock(const std::string& folder, bool wait, const std::string& holder);
  // The same, waiting at most `patience` for another process to let go.
  FolderLock(const std::string& folder, std::chrono::milliseconds patience,
             const std::string& holder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return held_; }

  // The command that holds (or last held) the lock on `folder`, "another command" when unknown.
  static std::string Holder(const std::string& folder);

  // "another import is running in /home/me/morvela/; try again when it has finished"
  static std::string BusyMessage(const std::string& folder);

 private:
  std::string path_;
  bool held_ = false;
};

// How long a short write (a result edit, the settings, the odds merge) waits for another writer
// of the folder before it gives up and says who is writing.
inline constexpr std::chrono::milliseconds kWriterPatience{10'000};

}  // namespace morvela
