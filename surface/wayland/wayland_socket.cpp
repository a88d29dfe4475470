// SPDX-License-Identifier: MIT
#include "surface/wayland/wayland_socket.hpp"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace testcard {
namespace {

bool IsSocket(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

bool WaylandSocketReachable() {
  const std::string display = Variable("WAYLAND_DISPLAY");
  if (!display.empty() && display.front() == '/') return IsSocket(display);
  const std::string runtime = Variable("XDG_RUNTIME_DIR");
  if (runtime.empty()) return false;
  return IsSocket(runtime + "/" + (display.empty() ? "wayland-0" : display));
}

}  // namespace testcard
