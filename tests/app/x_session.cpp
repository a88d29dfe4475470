// SPDX-License-Identifier: MIT
#include "tests/app/x_session.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
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

Atom Intern(Display* display, const char* name) {
  return XInternAtom(display, name, False);
}

// Waits until a window manager has announced itself on the root window.
bool WindowManagerRuns(Display* display) {
  for (const auto deadline = Clock::now() + milliseconds(15000); Clock::now() < deadline;) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* value = nullptr;
    XGetWindowProperty(display, DefaultRootWindow(display),
                       Intern(display, "_NET_SUPPORTING_WM_CHECK"), 0, 1, False, XA_WINDOW, &type,
                       &format, &items, &remaining, &value);
    if (value != nullptr) XFree(value);
    if (items == 1) return true;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return false;
}

// A panel along the top edge, as desktops have: a dock window that
// reserves its strip of the screen for itself.
void MapDock(Display* display, int width, int height) {
  const Window dock = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                          unsigned(width), unsigned(height), 0, 0, 0x00FF00);
  Atom dockType = Intern(display, "_NET_WM_WINDOW_TYPE_DOCK");
  XChangeProperty(display, dock, Intern(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(&dockType), 1);
  long strut[12] = {0, 0, height, 0, 0, 0, 0, 0, 0, width - 1, 0, 0};
  XChangeProperty(display, dock, Intern(display, "_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(strut), 12);
  XChangeProperty(display, dock, Intern(display, "_NET_WM_STRUT"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(strut), 4);
  XMapWindow(display, dock);
  XSync(display, False);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment, int fd3) {
  char name[] = "/tmp/testcard-output-XXXXXX";
  const int output = mkostemp(name, O_CLOEXEC);
  if (output < 0) throw std::runtime_error("cannot make a file for the program's output");
  outputFile_ = name;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output, 1);
  posix_spawn_file_actions_adddup2(&actions, output, 2);
  if (fd3 >= 0) posix_spawn_file_actions_adddup2(&actions, fd3, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);  // its own group
  const int failed = posix_spawnp(&pid_, argv[0].c_str(), &actions, &attributes,
                                  CStrings(argv).data(), CStrings(environment).data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(output);
  if (failed != 0) {
    std::filesystem::remove(outputFile_);
    throw std::runtime_error("cannot run " + argv[0] + " (is it installed?)");
  }
}

// Ends the program and everything it started (SDL shows its message box
// from a process of its own): SIGTERM to the group, SIGKILL two seconds on.
// The leader is reaped last, so that its group id cannot pass to another.
ChildProcess::~ChildProcess() {
  if (!status_) {
    kill(-pid_, SIGTERM);
    siginfo_t info{};
    for (const auto deadline = Clock::now() + milliseconds(2000);
         waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0 &&
         Clock::now() < deadline;) {
      std::this_thread::sleep_for(milliseconds(10));
    }
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
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
  std::ifstream in(outputFile_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> EnvironmentWithoutDisplay() {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    if (variable.rfind("DISPLAY=", 0) != 0 && variable.rfind("WAYLAND_DISPLAY=", 0) != 0)
      result.push_back(variable);
  }
  return result;
}

XSession::XSession(const XSetup& setup) : setup_(setup) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
  const std::string screen = std::to_string(setup.width) + "x" + std::to_string(setup.height) +
                             "x" + std::to_string(setup.depth);
  // Xvfb picks a free display number and writes it to descriptor 3.
  server_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0", screen,
                                           "-nolisten", "tcp"},
                  EnvironmentWithoutDisplay(), pipeEnds[1]);
  close(pipeEnds[1]);
  name_ = ":";
  pollfd ready{pipeEnds[0], POLLIN, 0};
  char c = 0;
  bool told = false;
  while (!told && poll(&ready, 1, 15000) > 0 && read(pipeEnds[0], &c, 1) == 1) {
    told = c == '\n';
    if (!told) name_ += c;
  }
  close(pipeEnds[0]);
  if (told) display_ = XOpenDisplay(name_.c_str());
  int event = 0, error = 0, major = 0, minor = 0;
  if (display_ == nullptr || !XTestQueryExtension(X(display_), &event, &error, &major, &minor)) {
    throw std::runtime_error("Xvfb did not start with a screen of " + screen +
                             " and XTest (is the xvfb package installed?)\n" + server_->Output());
  }
  if (setup.dockHeight > 0) {
    windowManager_.emplace(std::vector<std::string>{"openbox"}, Environment());
    if (!WindowManagerRuns(X(display_))) {
      XCloseDisplay(X(display_));
      throw std::runtime_error("openbox did not start:\n" + windowManager_->Output());
    }
    MapDock(X(display_), setup.width, setup.dockHeight);
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

// The screen's pixel values for a canvas: 8 bits a channel as they are,
// 10 bits as v × 1023 / 255 rounded, fewer bits as SDL converts them (the
// top bits of each value).
std::vector<std::uint32_t> XSession::ScreenPixels(const Canvas& expected) const {
  Visual* visual = DefaultVisual(X(display_), DefaultScreen(X(display_)));
  std::uint32_t table[3][256];
  const unsigned long masks[3] = {visual->red_mask, visual->green_mask, visual->blue_mask};
  for (int channel = 0; channel < 3; ++channel) {
    const int shift = std::countr_zero(masks[channel]);
    const unsigned long top = masks[channel] >> shift;
    for (unsigned v = 0; v < 256; ++v) {
      const unsigned long value = top > 255 ? (v * top + 127) / 255 : v * (top + 1) / 256;
      table[channel][v] = static_cast<std::uint32_t>(value << shift);
    }
  }
  std::vector<std::uint32_t> pixels;
  for (const Colour c : expected.Pixels())
    pixels.push_back(table[0][c & 0xFF] | table[1][c >> 8 & 0xFF] | table[2][c >> 16 & 0xFF]);
  return pixels;
}

std::string XSession::Differences(const Canvas& expected, const std::vector<int>& rows) const {
  const std::vector<std::uint32_t> want = ScreenPixels(expected);
  const int width = expected.Width();
  std::size_t differing = 0;
  std::ostringstream report;
  auto compare = [&](int top, int height) {
    XImage* image = XGetImage(X(display_), DefaultRootWindow(X(display_)), 0, top, unsigned(width),
                              unsigned(height), AllPlanes, ZPixmap);
    if (image == nullptr) throw std::runtime_error("cannot read the screen");
    for (int y = top; y < top + height; ++y) {
      for (int x = 0; x < width; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y - top);
        const std::uint32_t wanted = want[std::size_t(y) * std::size_t(width) + std::size_t(x)];
        if (pixel != wanted && differing++ == 0) {
          report << "at (" << x << ", " << y << ") 0x" << std::hex << pixel << " where 0x" << wanted
                 << " was expected";
        }
      }
    }
    XDestroyImage(image);
  };
  if (rows.empty()) compare(0, expected.Height());
  for (const int y : rows)
    compare(y, 1);
  return differing == 0 ? "" : std::to_string(differing) + " pixels differ, first " + report.str();
}

std::string XSession::WaitUntilShowing(const Canvas& expected, milliseconds timeout,
                                       const std::vector<int>& rows) const {
  for (const auto deadline = Clock::now() + timeout;;) {
    std::string differences = Differences(expected, rows);
    if (differences.empty() || Clock::now() > deadline) return differences;
    std::this_thread::sleep_for(milliseconds(20));
  }
}

Canvas XSession::Capture() const {
  XImage* image = XGetImage(X(display_), DefaultRootWindow(X(display_)), 0, 0,
                            unsigned(setup_.width), unsigned(setup_.height), AllPlanes, ZPixmap);
  if (image == nullptr) throw std::runtime_error("cannot read the screen");
  Canvas screen(setup_.width, setup_.height, 0);
  const auto colourAt = [&](int x, int y) {  // 0x00RRGGBB at depth 24
    const unsigned long pixel = XGetPixel(image, x, y);
    return Colour((pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16);
  };
  for (int y = 0; y < setup_.height; ++y) {
    // A canvas takes lines only: one per run of a colour.
    for (int x = 0, start = 0; x < setup_.width; start = x) {
      const Colour colour = colourAt(x, y);
      while (++x < setup_.width && colourAt(x, y) == colour) {
      }
      screen.Line(start, y, x, y, colour);
    }
  }
  XDestroyImage(image);
  return screen;
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

std::string XSession::Run(const std::vector<std::string>& argv) const {
  ChildProcess program(argv, Environment());
  if (program.WaitForExit(milliseconds(10000)) != 0) {
    throw std::runtime_error(argv[0] + " failed:\n" + program.Output());
  }
  return program.Output();
}

unsigned long XSession::Cover(Colour colour) const {
  Display* display = X(display_);
  const Window cover =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, unsigned(setup_.width),
                          unsigned(setup_.height), 0, 0, ScreenPixels(Canvas(1, 1, colour))[0]);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;  // no window manager moves it
  XChangeWindowAttributes(display, cover, CWOverrideRedirect, &attributes);
  XMapRaised(display, cover);
  XSync(display, False);
  return cover;
}

void XSession::DestroyWindow(unsigned long window) const {
  XDestroyWindow(X(display_), window);
  XSync(X(display_), False);
}

}  // namespace testcard::testing
