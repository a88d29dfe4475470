// SPDX-License-Identifier: MIT
#include "tests/app/window_systems.hpp"

#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testcard::testing {
namespace {

namespace fs = std::filesystem;

std::string MakeRuntimeDirectory() {
  char dir[] = "/tmp/testcard-desktop-XXXXXX";
  if (mkdtemp(dir) == nullptr) throw std::runtime_error("cannot make a runtime directory");
  return dir;
}

// Runs a compositor and waits until `ready` holds.
std::unique_ptr<ChildProcess> StartServer(const std::vector<std::string>& argv,
                                          const std::vector<std::string>& environment,
                                          const std::function<bool()>& ready) {
  auto server = std::make_unique<ChildProcess>(argv, environment);
  WaitUntil([&] { return ready() || !server->Running(); },
            [&] { return argv[0] + " did not start in 20 s:\n" + server->Output(); });
  if (!ready()) throw std::runtime_error(argv[0] + " did not start:\n" + server->Output());
  return server;
}

}  // namespace

SwayDesktop::SwayDesktop(const std::vector<SwayOutput>& outputs, bool bar) {
  // X11 sockets of their own, in the file system and abstract, so that
  // XWayland meets no other X server; the lock files stay in the shared /tmp,
  // where X servers look for a free display number. Only /tmp/.X11-unix is
  // hidden: the program under test may live anywhere, /tmp included. Only
  // root may; others run sway as themselves.
  if (geteuid() == 0) {
    if (fs::create_directory("/tmp/.X11-unix")) fs::permissions("/tmp/.X11-unix", fs::perms(01777));
    if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", "/tmp/.X11-unix", "tmpfs", 0, "mode=1777") != 0) {
      throw std::runtime_error(
          std::string("cannot make private namespaces for sway (unshare, mount: ") +
          std::strerror(errno) + "); a container needs CAP_SYS_ADMIN");
    }
  }
  runtimeDir_ = MakeRuntimeDirectory();
  std::ofstream config(runtimeDir_ + "/config");
  int left = 0;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    config << "output HEADLESS-" << i + 1 << " resolution " << outputs[i].width << "x"
           << outputs[i].height << " position " << left << " 0 scale " << outputs[i].scale << "\n";
    left += static_cast<int>(outputs[i].width / outputs[i].scale);
  }
  const std::string ready = runtimeDir_ + "/ready";
  config << "xwayland enable\n"
         << (bar ? "bar {\n  swaybar_command swaybar\n}\n" : "")
         << "exec_always echo \"WAYLAND_DISPLAY=$WAYLAND_DISPLAY\" >" << ready << "\n";
  config.close();
  // sway refuses to run as root.
  if (const passwd* nobody = getpwnam("nobody"); geteuid() == 0) {
    if (nobody == nullptr || chown(runtimeDir_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
      throw std::runtime_error("cannot run sway as the user nobody");
    }
    user_ = {"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
             "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"};
  }
  environment_ = {"XDG_RUNTIME_DIR=" + runtimeDir_, "SWAYSOCK=" + runtimeDir_ + "/sway.sock"};
  std::vector<std::string> swayEnvironment = environment_;
  swayEnvironment.insert(
      swayEnvironment.end(),
      {"PATH=/usr/bin:/bin", "HOME=" + runtimeDir_, "WLR_BACKENDS=headless", "WLR_RENDERER=pixman",
       "WLR_LIBINPUT_NO_DEVICES=1", "WLR_HEADLESS_OUTPUTS=" + std::to_string(outputs.size())});
  const std::vector<std::string> others = EnvironmentWithoutDisplay();
  environment_.insert(environment_.end(), others.begin(), others.end());
  std::string variable;
  const auto readVariable = [&] { return !!std::getline(std::ifstream(ready), variable); };
  server_ = StartServer(AsSessionUser({"/usr/bin/sway", "-c", runtimeDir_ + "/config"}),
                        swayEnvironment, readVariable);
  environment_.push_back(variable);
  // XWayland listens a moment later; from then on sway's children see DISPLAY.
  WaitUntil(
      [&] {
        RunToEnd({"/usr/bin/swaymsg", "exec echo DISPLAY=$DISPLAY >" + ready}, environment_);
        return readVariable() && variable.rfind("DISPLAY=:", 0) == 0;
      },
      [] { return "sway started no XWayland"; });
  environment_.push_back(variable);
  Command("focus output HEADLESS-" + std::to_string(outputs.size()),
          static_cast<int>(outputs.size()));
  // A keyboard that is there all along, as a user's is: a program sees no
  // keys from a keyboard that came and went before it knew of it.
  keyboard_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"/usr/bin/wtype", "-s", "3600000"}, environment_);
}

SwayDesktop::~SwayDesktop() {
  keyboard_.reset();
  server_.reset();
  fs::remove_all(runtimeDir_);
}

std::vector<std::string> SwayDesktop::AsSessionUser(std::vector<std::string> argv) const {
  argv.insert(argv.begin(), user_.begin(), user_.end());
  return argv;
}

// grim writes a binary PPM with 8-bit samples.
Screenshot SwayDesktop::Capture(const std::vector<int>& rows) const {
  std::istringstream in(
      RunToEnd({"/usr/bin/grim", "-o", captured_, "-t", "ppm", "-"}, environment_));
  std::string magic;
  int height = 0, maximum = 0;
  Screenshot shot;
  in >> magic >> shot.width >> height >> maximum;
  in.get();
  if (magic != "P6" || maximum != 255) throw std::runtime_error("grim wrote no picture");
  std::string rgb(std::size_t(shot.width) * 3, '\0');
  for (int y = 0; y < height && in.read(rgb.data(), std::streamsize(rgb.size())); ++y) {
    if (!rows.empty() && std::find(rows.begin(), rows.end(), y) == rows.end()) continue;
    shot.rows.push_back(y);
    for (std::size_t x = 0; x < rgb.size(); x += 3)
      shot.pixels.push_back(std::uint8_t(rgb[x]) | std::uint8_t(rgb[x + 1]) << 8 |
                            std::uint8_t(rgb[x + 2]) << 16);
  }
  return shot;
}

void SwayDesktop::Press(const std::string& key) const {
  RunToEnd({"/usr/bin/wtype", "-k", key}, environment_);
}

void SwayDesktop::Command(const std::string& commands, int output) {
  RunToEnd({"/usr/bin/swaymsg", commands}, environment_);
  captured_ = "HEADLESS-" + std::to_string(output);
}

// Keys reach weston's window without a focus of its own: with no window
// manager, X gives them to the window under the pointer, which it fills.
WestonDesktop::WestonDesktop(int width, int height, int scale)
    : XSession({width, height}), runtimeDir_(MakeRuntimeDirectory()) {
  std::vector<std::string> environment = Environment();
  environment.pop_back();  // its own socket, not yet there
  // Its sizes are the output's in logical pixels.
  server_ = StartServer(
      {"/usr/bin/weston", "--backend=x11-backend.so", "--use-pixman",
       "--width=" + std::to_string(width / scale), "--height=" + std::to_string(height / scale),
       "--scale=" + std::to_string(scale), "--socket=wayland-test", "--idle-time=0"},
      environment, [this] { return fs::exists(runtimeDir_ + "/wayland-test"); });
}

WestonDesktop::~WestonDesktop() {
  server_.reset();
  fs::remove_all(runtimeDir_);
}

std::vector<std::string> WestonDesktop::Environment() const {
  std::vector<std::string> environment = XSession::Environment();
  environment.insert(environment.end(),
                     {"XDG_RUNTIME_DIR=" + runtimeDir_, "WAYLAND_DISPLAY=wayland-test"});
  return environment;
}

}  // namespace testcard::testing
