// SPDX-License-Identifier: MIT
#include "tests/app/wayland_session.hpp"

#include <X11/Xlib.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testcard::testing {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// Polls `done` for up to 20 s; throws `failure()` if it never holds.
void WaitUntil(const std::function<bool()>& done, const std::function<std::string()>& failure) {
  const auto deadline = Clock::now() + milliseconds(20000);
  while (!done()) {
    if (Clock::now() > deadline) throw std::runtime_error(failure());
    std::this_thread::sleep_for(milliseconds(20));
  }
}

// Runs a program to its end and returns what it wrote; throws if it fails.
std::string Run(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  ChildProcess child(argv, env);
  if (child.WaitForExit(milliseconds(20000)) != 0) {
    throw std::runtime_error(argv[0] + " failed:\n" + child.Output());
  }
  return child.Output();
}

// A /tmp of its own (with the X11 sockets and lock files) and abstract
// sockets of its own, so that XWayland meets no other X server. Only root
// may; others run sway as themselves.
void PrivateNamespaces() {
  if (geteuid() != 0) return;
  if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 ||
      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount("tmpfs", "/tmp", "tmpfs", 0, "mode=1777") != 0) {
    throw std::runtime_error(
        std::string("cannot make private namespaces for sway (unshare, mount: ") +
        std::strerror(errno) + "); a container needs CAP_SYS_ADMIN");
  }
  fs::create_directory("/tmp/.X11-unix");
  fs::permissions("/tmp/.X11-unix", fs::perms(01777));
}

// A binary PPM with 8-bit samples, as grim writes it.
Canvas ReadPpm(const std::string& data) {
  std::istringstream in(data);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  in >> magic >> width >> height >> maximum;
  in.get();
  if (magic != "P6" || maximum != 255 || width <= 0 || height <= 0) {
    throw std::runtime_error("grim wrote no picture:\n" + data.substr(0, 200));
  }
  Canvas picture(width, height);
  std::string row(std::size_t(width) * 3, '\0');
  const auto colourAt = [&](int x) {
    const auto* rgb = reinterpret_cast<const unsigned char*>(&row[std::size_t(x) * 3]);
    return Colour(rgb[0] | rgb[1] << 8 | rgb[2] << 16);
  };
  for (int y = 0; y < height; ++y) {
    in.read(row.data(), std::streamsize(row.size()));
    // A canvas takes lines only: one per run of a colour.
    for (int x = 0, start = 0; x < width; start = x) {
      const Colour colour = colourAt(x);
      while (++x < width && colourAt(x) == colour) {
      }
      picture.Line(start, y, x, y, colour);
    }
  }
  return picture;
}

}  // namespace

Desktop::Desktop(bool isolated) {
  if (isolated) PrivateNamespaces();
  char dir[] = "/tmp/testcard-desktop-XXXXXX";
  if (mkdtemp(dir) == nullptr) throw std::runtime_error("cannot make a runtime directory");
  runtimeDir_ = dir;
}

Desktop::~Desktop() {
  server_.reset();
  fs::remove_all(runtimeDir_);
}

std::vector<std::string> Desktop::AsSessionUser(std::vector<std::string> argv) const {
  argv.insert(argv.begin(), user_.begin(), user_.end());
  return argv;
}

void Desktop::Start(const std::vector<std::string>& argv,
                    const std::vector<std::string>& environment,
                    const std::function<bool()>& ready) {
  server_ = std::make_unique<ChildProcess>(AsSessionUser(argv), environment);
  WaitUntil([&] { return ready() || !server_->Running(); },
            [&] { return argv[0] + " did not start in 20 s:\n" + server_->Output(); });
  if (!ready()) throw std::runtime_error(argv[0] + " did not start:\n" + server_->Output());
}

SwayDesktop::SwayDesktop(const std::vector<SwayOutput>& outputs, bool bar) : Desktop(true) {
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
  Start({"/usr/bin/sway", "-c", runtimeDir_ + "/config"}, swayEnvironment, readVariable);
  environment_.push_back(variable);
  // XWayland listens a moment later; from then on sway's children see DISPLAY.
  WaitUntil(
      [&] {
        Run({"/usr/bin/swaymsg", "exec echo DISPLAY=$DISPLAY >" + ready}, environment_);
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

Canvas SwayDesktop::Capture() const {
  return ReadPpm(Run({"/usr/bin/grim", "-o", captured_, "-t", "ppm", "-"}, environment_));
}

void SwayDesktop::Press(const std::string& key) const {
  Run({"/usr/bin/wtype", "-k", key}, environment_);
}

void SwayDesktop::Command(const std::string& commands, int output) {
  Run({"/usr/bin/swaymsg", commands}, environment_);
  captured_ = "HEADLESS-" + std::to_string(output);
}

WestonDesktop::WestonDesktop(int width, int height, int scale)
    : Desktop(false), screen_({width, height}) {
  environment_ = screen_.Environment();
  environment_.push_back("XDG_RUNTIME_DIR=" + runtimeDir_);
  // Its sizes are the output's in logical pixels.
  Start({"/usr/bin/weston", "--backend=x11-backend.so", "--use-pixman",
         "--width=" + std::to_string(width / scale), "--height=" + std::to_string(height / scale),
         "--scale=" + std::to_string(scale), "--socket=wayland-test", "--idle-time=0"},
        environment_, [this] { return fs::exists(runtimeDir_ + "/wayland-test"); });
  // Keys reach weston's window without a focus of its own: with no window
  // manager, X gives them to the window under the pointer, which it fills.
  environment_.push_back("WAYLAND_DISPLAY=wayland-test");
}

void WestonDesktop::Press(const std::string& key) const {
  screen_.Press({}, screen_.Keycode(key));
}

}  // namespace testcard::testing
