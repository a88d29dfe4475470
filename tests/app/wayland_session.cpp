// SPDX-License-Identifier: MIT
#include "tests/app/wayland_session.hpp"

#include <X11/keysym.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testcard::testing {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

constexpr milliseconds kStarts(20000);

// Runs a program to its end and returns what it wrote; throws when it fails.
std::string Run(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  ChildProcess child(argv, env);
  const std::optional<int> status = child.WaitForExit(kStarts);
  if (status != 0) throw std::runtime_error(argv[0] + " failed:\n" + child.Output());
  return child.Output();
}

// Waits for `path` to hold a line, which the compositor writes once it runs.
std::string AwaitLine(const fs::path& path, ChildProcess& server, const std::string& name) {
  const auto deadline = Clock::now() + kStarts;
  std::string line;
  while (!std::getline(std::ifstream(path) >> std::ws, line)) {
    if (!server.Running() || Clock::now() > deadline) {
      throw std::runtime_error(name + " did not start (is it installed?):\n" + server.Output());
    }
    std::this_thread::sleep_for(milliseconds(20));
  }
  return line;
}

// A private /tmp (and with it the X11 socket directory and lock files)
// and private abstract sockets, so that XWayland cannot meet any other X
// server. Only root may; others run sway as themselves.
void PrivateNamespaces() {
  if (geteuid() != 0) return;
  if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 ||
      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount("tmpfs", "/tmp", "tmpfs", 0, "mode=1777") != 0) {
    throw std::runtime_error("cannot make private namespaces for sway (unshare, mount)");
  }
}

// sway refuses to run as root.
std::vector<std::string> AsUnprivileged(std::vector<std::string> argv, const fs::path& home) {
  if (geteuid() != 0) return argv;
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr) throw std::runtime_error("no user \"nobody\" to run sway as");
  if (chown(home.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
    throw std::runtime_error("cannot give " + home.string() + " to nobody");
  }
  argv.insert(argv.begin(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                             "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"});
  return argv;
}

// A PPM (P6, 8 bits) as grim writes it.
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
  std::vector<unsigned char> row(std::size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    in.read(reinterpret_cast<char*>(row.data()), std::streamsize(row.size()));
    for (int x = 0; x < width; ++x) {  // one line per pixel: the canvas takes lines only
      const unsigned char* rgb = &row[std::size_t(x) * 3];
      picture.Line(x, y, x + 1, y, Colour(rgb[0] | rgb[1] << 8 | rgb[2] << 16));
    }
  }
  return picture;
}

}  // namespace

SwayDesktop::SwayDesktop(const std::vector<SwayOutput>& outputs, bool bar) {
  PrivateNamespaces();
  char dir[] = "/tmp/testcard-sway-XXXXXX";
  if (mkdtemp(dir) == nullptr) throw std::runtime_error("cannot make a runtime directory");
  runtimeDir_ = dir;
  fs::create_directory("/tmp/.X11-unix");
  fs::permissions("/tmp/.X11-unix", fs::perms(01777));
  std::ofstream config(runtimeDir_ + "/config");
  int left = 0;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    config << "output HEADLESS-" << i + 1 << " resolution " << outputs[i].width << "x"
           << outputs[i].height << " position " << left << " 0 scale " << outputs[i].scale << "\n";
    left += static_cast<int>(outputs[i].width / outputs[i].scale);
  }
  captured_ = "HEADLESS-" + std::to_string(outputs.size());
  config << "xwayland enable\n"
         << (bar ? "bar {\n  position top\n  swaybar_command swaybar\n}\n" : "")
         << "exec_always echo \"$WAYLAND_DISPLAY $DISPLAY\" >" << runtimeDir_ << "/ready\n";
  config.close();
  const std::vector<std::string> environment = {
      "PATH=/usr/bin:/bin",
      "HOME=" + runtimeDir_,
      "XDG_RUNTIME_DIR=" + runtimeDir_,
      "WLR_BACKENDS=headless",
      "WLR_RENDERER=pixman",
      "WLR_LIBINPUT_NO_DEVICES=1",
      "WLR_HEADLESS_OUTPUTS=" + std::to_string(outputs.size())};
  sway_ = std::make_unique<ChildProcess>(
      AsUnprivileged({"/usr/bin/sway", "-c", runtimeDir_ + "/config"}, runtimeDir_), environment);
  std::istringstream names(AwaitLine(runtimeDir_ + "/ready", *sway_, "sway"));
  std::string wayland, x11;
  names >> wayland >> x11;
  environment_ = EnvironmentWithoutDisplay();
  environment_.insert(environment_.end(),
                      {"XDG_RUNTIME_DIR=" + runtimeDir_, "WAYLAND_DISPLAY=" + wayland,
                       "DISPLAY=" + x11, "SWAYSOCK=" + runtimeDir_ + "/sway.sock"});
  for (const auto& entry : fs::directory_iterator(runtimeDir_)) {
    if (entry.path().filename().string().rfind("sway-ipc.", 0) == 0) {
      environment_.back() = "SWAYSOCK=" + entry.path().string();
    }
  }
  Command("focus output " + captured_, static_cast<int>(outputs.size()));
  // A keyboard that is there all along, as a user's is: programs see keys
  // only from keyboards they knew when the keys came.
  keyboard_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"/usr/bin/wtype", "-s", "3600000"}, environment_);
  const auto deadline = Clock::now() + kStarts;
  while (Run({"/usr/bin/swaymsg", "-t", "get_inputs"}, environment_).find("keyboard") ==
         std::string::npos) {
    if (Clock::now() > deadline) throw std::runtime_error("wtype's keyboard never came");
    std::this_thread::sleep_for(milliseconds(20));
  }
}

SwayDesktop::~SwayDesktop() {
  keyboard_.reset();
  sway_.reset();
  fs::remove_all(runtimeDir_);
}

std::vector<std::string> SwayDesktop::Environment() const {
  return environment_;
}

Canvas SwayDesktop::Capture() const {
  return ReadPpm(Run({"/usr/bin/grim", "-o", captured_, "-t", "ppm", "-"}, environment_));
}

void SwayDesktop::Press(Key key) const {
  static const char* const kArguments[][2] = {
      {"-k", "Left"}, {"a", ""}, {"-k", "Return"}, {"x", ""}};
  std::vector<std::string> argv = {"/usr/bin/wtype"};
  for (const char* argument : kArguments[static_cast<int>(key)]) {
    if (*argument != '\0') argv.push_back(argument);
  }
  Run(argv, environment_);
}

void SwayDesktop::Command(const std::string& command, int capturedOutput) {
  Run({"/usr/bin/swaymsg", command}, environment_);
  captured_ = "HEADLESS-" + std::to_string(capturedOutput);
}

WestonDesktop::WestonDesktop(int width, int height, int scale) : screen_(width, height) {
  char dir[] = "/tmp/testcard-weston-XXXXXX";
  if (mkdtemp(dir) == nullptr) throw std::runtime_error("cannot make a runtime directory");
  runtimeDir_ = dir;
  std::vector<std::string> environment = EnvironmentWithoutDisplay();
  environment.insert(environment.end(),
                     {"DISPLAY=" + screen_.Name(), "XDG_RUNTIME_DIR=" + runtimeDir_});
  // The backend's sizes are the output's in logical pixels.
  weston_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{
          "/usr/bin/weston", "--backend=x11-backend.so", "--use-pixman",
          "--width=" + std::to_string(width / scale), "--height=" + std::to_string(height / scale),
          "--scale=" + std::to_string(scale), "--socket=wayland-test", "--idle-time=0"},
      environment);
  const auto deadline = Clock::now() + kStarts;
  while (!fs::exists(runtimeDir_ + "/wayland-test") ||
         !screen_.FindWindow("Weston Compositor - screen0")) {
    if (!weston_->Running() || Clock::now() > deadline) {
      throw std::runtime_error("weston did not start (is it installed?):\n" + weston_->Output());
    }
    std::this_thread::sleep_for(milliseconds(20));
  }
  screen_.Focus(screen_.FindWindow("Weston Compositor - screen0")->id);
}

WestonDesktop::~WestonDesktop() {
  weston_.reset();
  fs::remove_all(runtimeDir_);
}

std::vector<std::string> WestonDesktop::Environment() const {
  std::vector<std::string> environment = EnvironmentWithoutDisplay();
  environment.insert(environment.end(),
                     {"DISPLAY=" + screen_.Name(), "XDG_RUNTIME_DIR=" + runtimeDir_,
                      "WAYLAND_DISPLAY=wayland-test"});
  return environment;
}

void WestonDesktop::Press(Key key) const {
  static constexpr unsigned long kKeysyms[] = {XK_Left, XK_a, XK_Return, XK_x};
  screen_.PressKey(kKeysyms[static_cast<int>(key)]);
}

}  // namespace testcard::testing
