#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace morvela {

namespace {

constexpr size_t kHolderWidth = 32;

std::string LockPath(const std::string& folder) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + ".morvela.lock";
}

}  // namespace

FolderLock::FolderLock(const std::string& folder, bool wait, const std::string& holder) {
  const std::string path = LockPath(folder);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    throw std::runtime_error("Cannot create the lock file '" + path + "': " + std::strerror(errno));
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
  // Only a hint for the message of whoever is refused; the lock itself is the flock. Written as
  // one fixed-width record in place, so a reader never finds the file empty or half-written.
  std::string record = holder.substr(0, kHolderWidth);
  record.resize(kHolderWidth, ' ');
  [[maybe_unused]] const ssize_t written = ::pwrite(fd, record.data(), record.size(), 0);
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
  if (fd_ >= 0) ::close(fd_);
}

std::string FolderLock::BusyMessage(const std::string& folder) {
  std::string holder = Holder(folder);
  if (holder != "another command") holder = "another " + holder;
  return holder + " is running in " + folder + "; try again when it has finished";
}

}  // namespace morvela
