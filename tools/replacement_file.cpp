// SPDX-License-Identifier: MIT
#include "tools/replacement_file.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>

#include "tools/png_writer.hpp"

namespace testcard {
namespace {

// The named temporary file the signal handler removes. A handler receives
// nothing but the signal number, so where the file is has to be in static
// storage; it is set only while such a file exists, with signals blocked.
struct PendingRemoval {
  volatile std::sig_atomic_t armed;
  int folder;
  char name[32];
};
PendingRemoval pendingRemoval;

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ};

extern "C" void RemoveAndEnd(int signal) {
  if (pendingRemoval.armed != 0) unlinkat(pendingRemoval.folder, pendingRemoval.name, 0);
  // The action was reset to the default on entry: once this handler
  // returns, the signal ends the process as it would have without us.
  raise(signal);
}

void InstallRemovalHandlers() {
  for (const int signal : kEndingSignals) {
    struct sigaction old {};
    sigaction(signal, nullptr, &old);
    if (old.sa_handler == SIG_IGN) continue;  // an ignored signal stays ignored
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

// Blocks every signal for its lifetime, so that a step of several calls is
// done whole or not begun.
class SignalsBlocked {
 public:
  SignalsBlocked() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &saved_);
  }
  SignalsBlocked(const SignalsBlocked&) = delete;
  SignalsBlocked& operator=(const SignalsBlocked&) = delete;
  ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

 private:
  sigset_t saved_;
};

std::string HiddenName() {
  std::random_device random;
  const char digits[] = "0123456789abcdef";
  std::string name = ".testcard-";
  for (int i = 0; i < 8; ++i)
    name.push_back(digits[random() % 16]);
  return name;
}

void ArmRemoval(int folder, const std::string& name) {
  pendingRemoval.folder = folder;
  std::memcpy(pendingRemoval.name, name.c_str(), name.size() + 1);
  pendingRemoval.armed = 1;
}

// Gives a name in `folder` to the unnamed file `descriptor`.
int LinkUnnamed(int descriptor, int folder, const char* name) {
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
  if (linkat(AT_FDCWD, self.c_str(), folder, name, AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno != ENOENT) return -1;
  // Without /proc, AT_EMPTY_PATH does the same (it needs privileges).
  return linkat(descriptor, "", folder, name, AT_EMPTY_PATH);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& path, const std::string& given, Naming naming)
    : given_(given) {
  try {
    Open(path, naming);
  } catch (...) {
    Release();
    throw;
  }
}

void ReplacementFile::Open(const std::string& path, Naming naming) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  name_ = slash == std::string::npos ? path : path.substr(slash + 1);
  folder_ = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) RaiseWriteFailure(given_, errno);
  struct stat old {};
  const bool replacing = fstatat(folder_, name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (replacing && faccessat(folder_, name_.c_str(), W_OK, AT_EACCESS) != 0)
    RaiseWriteFailure(given_, errno);
  if (naming == Naming::kUnnamedWherePossible) {
    descriptor_ = openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (descriptor_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      RaiseWriteFailure(given_, errno);
    }
  }
  if (descriptor_ < 0) CreateNamed();
  if (replacing) {
    if (old.st_uid != geteuid() || old.st_gid != getegid()) {
      [[maybe_unused]] const int owned = fchown(descriptor_, old.st_uid, old.st_gid);
    }
    if (fchmod(descriptor_, old.st_mode & 07777) != 0) RaiseWriteFailure(given_, errno);
  }
}

void ReplacementFile::CreateNamed() {
  InstallRemovalHandlers();
  const SignalsBlocked blocked;
  do {
    temporary_ = HiddenName();
    descriptor_ =
        openat(folder_, temporary_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  } while (descriptor_ < 0 && errno == EEXIST);
  if (descriptor_ < 0) {
    temporary_.clear();
    RaiseWriteFailure(given_, errno);
  }
  ArmRemoval(folder_, temporary_);
}

void ReplacementFile::Commit() {
  if (fsync(descriptor_) != 0) RaiseWriteFailure(given_, errno);
  InstallRemovalHandlers();
  const SignalsBlocked blocked;
  // An unnamed file is linked under a hidden name first: linkat cannot
  // replace an existing file, rename can.
  while (temporary_.empty()) {
    temporary_ = HiddenName();
    if (LinkUnnamed(descriptor_, folder_, temporary_.c_str()) == 0) {
      ArmRemoval(folder_, temporary_);
      break;
    }
    temporary_.clear();
    if (errno != EEXIST) RaiseWriteFailure(given_, errno);
  }
  if (renameat(folder_, temporary_.c_str(), folder_, name_.c_str()) != 0)
    RaiseWriteFailure(given_, errno);
  temporary_.clear();
  pendingRemoval.armed = 0;
}

ReplacementFile::~ReplacementFile() {
  Release();
}

void ReplacementFile::Release() {
  if (!temporary_.empty()) {
    const SignalsBlocked blocked;
    unlinkat(folder_, temporary_.c_str(), 0);
    pendingRemoval.armed = 0;
  }
  if (descriptor_ >= 0) close(descriptor_);
  if (folder_ >= 0) close(folder_);
  descriptor_ = folder_ = -1;
}

}  // namespace testcard
