// SPDX-License-Identifier: MIT
#include "tests/app/window_systems.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace testcard::testing {
namespace {

Display* X(void* display) {
  return static_cast<Display*>(display);
}

std::vector<char*> CStrings(const std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (const std::string& s : strings)
    result.push_back(const_cast<char*>(s.c_str()));
  result.push_back(nullptr);
  return result;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment) {
  char name[] = "/tmp/testcard-output-XXXXXX";
  const int output = mkostemp(name, O_CLOEXEC);
  if (output < 0) throw std::runtime_error("cannot make a file for the program's output");
  outputFile_ = name;
  std::vector<char*> arguments = CStrings(argv), variables = CStrings(environment);
  pid_ = fork();
  if (pid_ == 0) {
    setpgid(0, 0);  // a group of its own, ended as one
    dup2(output, STDOUT_FILENO);
    dup2(output, STDERR_FILENO);
    execvpe(arguments[0], arguments.data(), variables.data());
    std::fprintf(stderr, "cannot run %s (is it installed?)\n", arguments[0]);
    _exit(127);
  }
  close(output);
  if (pid_ < 0) throw std::runtime_error("cannot start " + argv[0]);
  setpgid(pid_, pid_);  // already, before this returns
}

// Ends the program and everything it started (SDL shows its message box
// from a process of its own): SIGTERM to the group, SIGKILL two seconds on.
ChildProcess::~ChildProcess() {
  if (!status_ && kill(-pid_, SIGTERM) == 0) WaitForExit(milliseconds(2000));
  kill(-pid_, SIGKILL);  // what is left of the group
  if (!status_) waitpid(pid_, nullptr, 0);
  std::filesystem::remove(outputFile_);
}

std::optional<int> ChildProcess::WaitForExit(milliseconds timeout) {
  for (const auto deadline = Clock::now() + timeout; !status_;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    } else if (Clock::now() > deadline) {
      break;
    } else {
      std::this_thread::sleep_for(milliseconds(5));
    }
  }
  return status_;
}

std::string ChildProcess::Output() const {
  return (std::ostringstream() << std::ifstream(outputFile_).rdbuf()).str();
}

std::vector<std::string> EnvironmentWithoutDisplay() {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    if (!variable.starts_with("DISPLAY=") && !variable.starts_with("WAYLAND_DISPLAY="))
      result.push_back(variable);
  }
  return result;
}

std::string RunToEnd(const std::vector<std::string>& argv,
                     const std::vector<std::string>& environment) {
  ChildProcess program(argv, environment);
  if (program.WaitForExit(milliseconds(20000)) != 0) {
    throw std::runtime_error(argv[0] + " failed:\n" + program.Output());
  }
  return program.Output();
}

void WaitUntil(const std::function<bool()>& done, const std::function<std::string()>& failure) {
  for (const auto deadline = Clock::now() + milliseconds(20000); !done();) {
    if (Clock::now() > deadline) throw std::runtime_error(failure());
    std::this_thread::sleep_for(milliseconds(20));
  }
}

std::string WaitUntilShowing(const WindowSystem& screen, const Canvas& expected,
                             milliseconds timeout, const std::vector<int>& rows) {
  for (const auto deadline = Clock::now() + timeout;;) {
    const Screenshot shot = screen.Capture(rows);
    std::size_t differing = 0;
    std::ostringstream first;
    for (std::size_t i = 0; i < shot.pixels.size(); ++i) {
      const int x = int(i % std::size_t(shot.width)), y = shot.rows[i / std::size_t(shot.width)];
      const bool inside = x < expected.Width() && y < expected.Height();
      const std::uint32_t want = screen.DeviceValue(inside ? expected.Pixel(x, y) : Colour(0));
      if (shot.pixels[i] != want && differing++ == 0) {
        first << "at (" << x << ", " << y << ") 0x" << std::hex << shot.pixels[i] << " where 0x"
              << want << " was expected";
      }
    }
    if (differing == 0 && !shot.pixels.empty()) return "";
    if (Clock::now() > deadline) {
      return std::to_string(differing) + " pixels differ of " + std::to_string(shot.pixels.size()) +
             ", first " + first.str();
    }
    std::this_thread::sleep_for(milliseconds(20));
  }
}

XSession::XSession(const XSetup& setup) : setup_(setup) {
  const std::string screen = std::to_string(setup.width) + "x" + std::to_string(setup.height) +
                             "x" + std::to_string(setup.depth);
  // Xvfb picks a free display number and prints it on a line of its own.
  server_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-br",
                                           "-nolisten", "tcp"},
                  EnvironmentWithoutDisplay());
  // Its messages share the file: the number is the one line of digits alone.
  const auto displayNumber = [](const std::string& said) {
    std::istringstream lines(said);
    for (std::string line; std::getline(lines, line) && !lines.eof();) {
      if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) return line;
    }
    return std::string();
  };
  std::string said;
  WaitUntil(
      [&] {
        said = server_->Output();
        return !displayNumber(said).empty() || !server_->Running();
      },
      [&] { return "Xvfb did not start:\n" + said; });
  if (const std::string number = displayNumber(said); !number.empty())
    display_ = XOpenDisplay((name_ = ":" + number).c_str());
  int event = 0, error = 0, major = 0, minor = 0;
  if (display_ == nullptr || !XTestQueryExtension(X(display_), &event, &error, &major, &minor)) {
    throw std::runtime_error("Xvfb did not start with a screen of " + screen +
                             " and XTest (is the xvfb package installed?)\n" + said);
  }
  if (setup.dockHeight > 0) {
    windowManager_.emplace(std::vector<std::string>{"openbox"}, Environment());
    WaitUntil(  // a window manager announces itself on the root window
        [&] {
          return RunToEnd({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, Environment())
                     .find("window id") != std::string::npos;
        },
        [&] { return "openbox did not start:\n" + windowManager_->Output(); });
    // A panel along the top edge, as desktops have: a dock window that
    // reserves its strip of the screen for itself.
    Display* display = X(display_);
    const Window dock =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, unsigned(setup.width),
                            unsigned(setup.dockHeight), 0, 0, 0x00FF00);
    const auto set = [&](const char* name, Atom type, const void* values, int count) {
      XChangeProperty(display, dock, XInternAtom(display, name, False), type, 32, PropModeReplace,
                      static_cast<const unsigned char*>(values), count);
    };
    const Atom dockType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    set("_NET_WM_WINDOW_TYPE", XA_ATOM, &dockType, 1);
    const long strut[12] = {0, 0, setup.dockHeight, 0, 0, 0, 0, 0, 0, setup.width - 1, 0, 0};
    set("_NET_WM_STRUT_PARTIAL", XA_CARDINAL, strut, 12);
    XMapWindow(display, dock);
    XSync(display, False);
  }
}

XSession::~XSession() {
  windowManager_.reset();
  if (display_ != nullptr) XCloseDisplay(X(display_));
}

std::vector<std::string> XSession::Environment() const {
  std::vector<std::string> environment = EnvironmentWithoutDisplay();
  environment.push_back("DISPLAY=" + name_);
  return environment;
}

Screenshot XSession::Capture(const std::vector<int>& rows) const {
  Screenshot shot{setup_.width, rows, {}};
  for (int y = 0; rows.empty() && y < setup_.height; ++y)
    shot.rows.push_back(y);
  for (const int y : shot.rows) {
    XImage* image = XGetImage(X(display_), DefaultRootWindow(X(display_)), 0, y,
                              unsigned(setup_.width), 1, AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    for (int x = 0; x < setup_.width; ++x)
      shot.pixels.push_back(std::uint32_t(XGetPixel(image, x, 0)));
    XDestroyImage(image);
  }
  return shot;
}

// 8 bits a channel as they are, 10 bits as v × 1023 / 255 rounded, fewer
// bits as SDL converts them (the top bits of each value).
std::uint32_t XSession::DeviceValue(Colour colour) const {
  const Visual* visual = DefaultVisual(X(display_), DefaultScreen(X(display_)));
  std::uint32_t value = 0;
  int channel = 0;
  for (const unsigned long mask : {visual->red_mask, visual->green_mask, visual->blue_mask}) {
    const int shift = std::countr_zero(mask);
    const unsigned long top = mask >> shift, v = colour >> (8 * channel++) & 0xFF;
    value |= std::uint32_t((top > 255 ? (v * top + 127) / 255 : v * (top + 1) / 256) << shift);
  }
  return value;
}

unsigned XSession::Keycode(const std::string& keysym) const {
  const KeySym sym = XStringToKeysym(keysym.c_str());
  const unsigned code = sym == NoSymbol ? 0 : XKeysymToKeycode(X(display_), sym);
  if (code == 0) throw std::runtime_error("no key types " + keysym);
  return code;
}

void XSession::Press(const std::vector<unsigned>& held, unsigned key) const {
  for (const unsigned code : held)
    XTestFakeKeyEvent(X(display_), code, True, CurrentTime);
  XTestFakeKeyEvent(X(display_), key, True, CurrentTime);
  XTestFakeKeyEvent(X(display_), key, False, CurrentTime);
  for (auto code = held.rbegin(); code != held.rend(); ++code)
    XTestFakeKeyEvent(X(display_), *code, False, CurrentTime);
  XSync(X(display_), False);
}

unsigned long XSession::Cover(Colour colour) const {
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;  // no window manager moves it
  attributes.background_pixel = DeviceValue(colour);
  const Window cover =
      XCreateWindow(X(display_), DefaultRootWindow(X(display_)), 0, 0, unsigned(setup_.width),
                    unsigned(setup_.height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(X(display_), cover);
  XSync(X(display_), False);
  return cover;
}

void XSession::DestroyWindow(unsigned long window) const {
  XDestroyWindow(X(display_), window);
  XSync(X(display_), False);
}

}  // namespace testcard::testing
