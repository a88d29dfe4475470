// SPDX-License-Identifier: MIT
#include "tools/output_target.hpp"

#include <fcntl.h>
#include <limits.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "tools/png_writer.hpp"

namespace testcard {
namespace {

// The kernel's own limit on links followed in one lookup.
constexpr int kMaxLinks = 40;

// The descriptor a path such as /proc/self/fd/1 stands for, when its folder
// is this process's (or this thread's) descriptor folder.
std::optional<int> OwnDescriptor(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string name = path.substr(slash + 1);
  int descriptor = -1;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), descriptor);
  if (name.empty() || error != std::errc() || end != name.data() + name.size()) return std::nullopt;
  char folder[PATH_MAX];
  if (realpath(path.substr(0, slash + 1).c_str(), folder) == nullptr) return std::nullopt;
  const std::string process = "/proc/" + std::to_string(getpid());
  const std::string thread = process + "/task/" + std::to_string(gettid()) + "/fd";
  if (folder == process + "/fd" || folder == thread) return descriptor;
  return std::nullopt;
}

}  // namespace

OutputTarget ResolveOutput(const std::string& given) {
  std::string path = given;
  for (int links = 0;; ++links) {
    if (const std::optional<int> descriptor = OwnDescriptor(path)) {
      return {OutputTarget::Kind::kDescriptor, *descriptor, path};
    }
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
      // Nothing there yet (a dangling link's target, too): a new file.
      if (errno == ENOENT) return {OutputTarget::Kind::kFile, -1, path};
      RaiseWriteFailure(given, errno);
    }
    if (S_ISREG(status.st_mode)) return {OutputTarget::Kind::kFile, -1, path};
    if (S_ISDIR(status.st_mode)) throw PngWriteError("cannot write " + given + ": it is a folder");
    if (!S_ISLNK(status.st_mode)) return {OutputTarget::Kind::kInPlace, -1, path};
    if (links == kMaxLinks) RaiseWriteFailure(given, ELOOP);
    char link[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), link, sizeof link);
    if (length < 0) RaiseWriteFailure(given, errno);
    if (static_cast<std::size_t>(length) == sizeof link) RaiseWriteFailure(given, ENAMETOOLONG);
    const std::string next(link, static_cast<std::size_t>(length));
    // A relative link is read from the folder that holds it.
    const std::size_t slash = path.rfind('/');
    path = next.starts_with('/') || slash == std::string::npos ? next
                                                               : path.substr(0, slash + 1) + next;
  }
}

int OpenInPlace(const std::string& path, const std::string& given) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) RaiseWriteFailure(given, ENAMETOOLONG);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) RaiseWriteFailure(given, errno);
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      const int error = errno;
      close(socket);
      RaiseWriteFailure(given, error);
    }
    return socket;
  }
  const int descriptor = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) RaiseWriteFailure(given, errno);
  return descriptor;
}

}  // namespace testcard
