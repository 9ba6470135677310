// One writer at a time in a program folder: an exclusive lock on the file ".morvela.lock" in the
// folder, held by an open descriptor, so the system releases it when the process ends however it
// ends (a killed import never leaves a stale lock behind).
#pragma once

#include <string>

namespace morvela {

class FolderLock {
 public:
  // Takes the lock on `folder` (with or without a trailing slash) for the command `holder`
  // ("import"), whose name goes into the lock file for others to read. When another process
  // holds it, waits when `wait` is set, else returns at once without the lock (Held() false).
  // Throws std::runtime_error when the lock file cannot be created.
  FolderLock(const std::string& folder, bool wait, const std::string& holder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return fd_ >= 0; }

  // The command that holds (or last held) the lock on `folder`, "another command" when unknown.
  static std::string Holder(const std::string& folder);

  // "another import is running in /home/me/morvela/; try again when it has finished"
  static std::string BusyMessage(const std::string& folder);

 private:
  int fd_ = -1;
};

}  // namespace morvela
