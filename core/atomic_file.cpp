#include "core/atomic_file.h"
#include "core/error.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace morvela {

namespace {

namespace fs = std::filesystem;

// Closes a POSIX file descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// O_EXCL: a file left under this name by a killed writer would keep its own mode through
// O_TRUNC; the caller removes it first, so the file written here always has `mode`.
bool WriteDurably(const fs::path& path, std::string_view content, unsigned mode) {
  FileDescriptor fd(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode)));
  return fd.Get() >= 0 && WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0;
}

// Makes a rename durable; a folder that cannot be synced does not undo the rename.
void SyncFolderOf(const fs::path& path) {
  const fs::path folder = path.has_parent_path() ? path.parent_path() : ".";
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
}

}  // namespace

void RemoveWithCompanions(const fs::path& file) {
  std::error_code ec;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    fs::path p = file;
    p += suffix;
    fs::remove(p, ec);
  }
}

fs::path TemporaryNameBeside(const fs::path& path) {
  static std::atomic<unsigned> counter{0};
  fs::path temp = path;
  temp += ".new-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  return temp;
}

void RemoveStaleTemporaryFiles(const fs::path& path) {
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string prefix = path.filename().string() + ".new-";
  std::error_code ec;
  std::vector<fs::path> stale;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.path().filename().string().rfind(prefix, 0) == 0) stale.push_back(entry.path());
  for (const fs::path& p : stale) fs::remove(p, ec);
}

bool WriteFileAtomically(const fs::path& path, std::string_view content, unsigned mode) {
  const fs::path temp = TemporaryNameBeside(path);
  std::error_code ec;
  fs::remove(temp, ec);
  bool written = WriteDurably(temp, content, mode);
  if (written) {
    fs::rename(temp, path, ec);
    written = !ec;
  }
  if (!written) {
    fs::remove(temp, ec);
    return false;
  }
  SyncFolderOf(path);
  return true;
}

void ReplaceFileAtomically(const fs::path& path,
                           const std::function<void(const std::string& temp)>& build) {
  const fs::path temp = TemporaryNameBeside(path);
  RemoveWithCompanions(temp);
  try {
    build(temp.string());
  } catch (...) {
    RemoveWithCompanions(temp);
    throw;
  }
  // The new file was checkpointed and closed by `build`; it reaches the disk before its name
  // does, whatever the build's own synchronous setting was. Companions of the old file would
  // be read as belonging to the new one.
  {
    FileDescriptor built(::open(temp.c_str(), O_RDONLY | O_CLOEXEC));
    if (built.Get() < 0 || ::fsync(built.Get()) != 0) {
      const std::string why = std::strerror(errno);
      RemoveWithCompanions(temp);
      throw FileError("Cannot write '" + path.string() + "': " + why);
    }
  }
  std::error_code ec;
  for (const char* suffix : {"-wal", "-shm"}) {
    fs::path p = path;
    p += suffix;
    fs::remove(p, ec);
  }
  fs::rename(temp, path, ec);
  if (ec) {
    const std::string why = ec.message();
    RemoveWithCompanions(temp);
    throw FileError("Cannot write '" + path.string() + "': " + why);
  }
  SyncFolderOf(path);
}

}  // namespace morvela
