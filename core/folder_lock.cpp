#include "core/folder_lock.h"
#include "core/error.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace morvela {

namespace {

constexpr size_t kHolderWidth = 32;

std::string LockPath(const std::string& folder) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + ".morvela.lock";
}

// The locks this process holds, by lock file: the descriptor and how many holders share it.
// flock locks belong to an open file description, so a second open in the same process would
// wait for the first; the table hands the held lock to nested writers instead.
struct HeldLock {
  int fd = -1;
  int holders = 0;
};
std::mutex& TableMutex() {
  static std::mutex m;
  return m;
}
std::map<std::string, HeldLock>& Table() {
  static std::map<std::string, HeldLock> t;
  return t;
}

// One attempt at the lock; the descriptor on success, -1 when another process holds it.
int TryLock(const std::string& path, bool block) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    throw FileError("Cannot create the lock file '" + path + "': " + std::strerror(errno));
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | (block ? 0 : LOCK_NB));
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder, bool wait, const std::string& holder)
    : FolderLock(folder,
                 wait ? std::chrono::milliseconds::max() : std::chrono::milliseconds::zero(),
                 holder) {}

FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds patience,
                       const std::string& holder)
    : path_(LockPath(folder)) {
  {
    std::lock_guard<std::mutex> guard(TableMutex());
    auto it = Table().find(path_);
    if (it != Table().end()) {
      ++it->second.holders;
      held_ = true;
      return;
    }
  }
  int fd = -1;
  if (patience == std::chrono::milliseconds::max()) {
    fd = TryLock(path_, true);
  } else {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while ((fd = TryLock(path_, false)) < 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (fd < 0) return;
  // Only a hint for the message of whoever is refused; the lock itself is the flock. Written as
  // one fixed-width record in place, so a reader never finds the file empty or half-written.
  std::string record = holder.substr(0, kHolderWidth);
  record.resize(kHolderWidth, ' ');
  [[maybe_unused]] const ssize_t written = ::pwrite(fd, record.data(), record.size(), 0);
  std::lock_guard<std::mutex> guard(TableMutex());
  Table()[path_] = HeldLock{fd, 1};
  held_ = true;
}

std::string FolderLock::Holder(const std::string& folder) {
  const int fd = ::open(LockPath(folder).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "another command";
  char buffer[64];
  const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
  ::close(fd);
  std::string holder(buffer, n > 0 ? static_cast<size_t>(n) : 0);
  while (!holder.empty() && holder.back() == ' ') holder.pop_back();
  return holder.empty() ? "another command" : holder;
}

FolderLock::~FolderLock() {
  if (!held_) return;
  std::lock_guard<std::mutex> guard(TableMutex());
  auto it = Table().find(path_);
  if (it == Table().end() || --it->second.holders > 0) return;
  ::close(it->second.fd);
  Table().erase(it);
}

std::string FolderLock::BusyMessage(const std::string& folder) {
  std::string holder = Holder(folder);
  if (holder != "another command") holder = "another " + holder;
  return holder + " is running in " + folder + "; try again when it has finished";
}

}  // namespace morvela
