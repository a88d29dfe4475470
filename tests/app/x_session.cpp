// SPDX-License-Identifier: MIT
#include "tests/app/x_session.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstring>
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

// In a child between fork and exec: its own process group, stdin from
// /dev/null, stdout and stderr to `output`, `extra` as descriptor 3.
void SetUpChild(int output, int extra) {
  setpgid(0, 0);
  dup2(open("/dev/null", O_RDONLY), 0);
  dup2(output, 1);
  dup2(output, 2);
  if (extra >= 0) dup2(extra, 3);
  for (int fd = extra >= 0 ? 4 : 3; fd < 1024; ++fd)
    close(fd);
}

// Ends a child and everything it started (SDL shows its message box from a
// process of its own): SIGTERM to the group, SIGKILL after two seconds. The
// leader is reaped last, so that its group id cannot pass to anyone else.
void Stop(int pid) {
  if (pid <= 0) return;
  kill(-pid, SIGTERM);
  const auto deadline = Clock::now() + milliseconds(2000);
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  kill(-pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

// The windows the tests look at belong to other processes and may vanish
// between two requests; Xlib's default handler would end the test for that.
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

Atom Intern(Display* display, const char* name) {
  return XInternAtom(display, name, False);
}

// Waits until a window manager has announced itself on the root window.
bool WindowManagerRuns(Display* display, milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
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
Window MapDock(Display* display, int width, int height) {
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
  return dock;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment) {
  char name[] = "/tmp/testcard-output-XXXXXX";
  const int output = mkstemp(name);
  if (output < 0) throw std::runtime_error("cannot make a file for the program's output");
  outputFile_ = name;
  std::vector<char*> args = CStrings(argv);
  std::vector<char*> env = CStrings(environment);
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("cannot fork");
  if (pid_ == 0) {
    SetUpChild(output, -1);
    execvpe(args[0], args.data(), env.data());
    _exit(127);
  }
  setpgid(pid_, pid_);  // as the child does: whichever runs first
  close(output);
}

ChildProcess::~ChildProcess() {
  if (!status_) Stop(pid_);
  std::filesystem::remove(outputFile_);
}

std::optional<int> ChildProcess::WaitForExit(milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!status_) {
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
    if (variable.rfind("DISPLAY=", 0) == 0 || variable.rfind("WAYLAND_DISPLAY=", 0) == 0) continue;
    result.push_back(variable);
  }
  return result;
}

XSession::XSession(const XSetup& setup) : setup_(setup) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("cannot make a pipe");
  const std::string screen = std::to_string(setup.width) + "x" + std::to_string(setup.height) +
                             "x" + std::to_string(setup.depth);
  serverPid_ = fork();
  if (serverPid_ < 0) throw std::runtime_error("cannot fork");
  if (serverPid_ == 0) {
    SetUpChild(open("/dev/null", O_WRONLY), pipeEnds[1]);  // the display number to fd 3
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(serverPid_, serverPid_);
  close(pipeEnds[1]);
  // The number comes in pieces; the pipe stays open until all of it is in,
  // or Xvfb fails to write the rest.
  name_ = ":";
  pollfd ready{pipeEnds[0], POLLIN, 0};
  char c = 0;
  bool told = false;
  while (!told && poll(&ready, 1, 15000) > 0 && read(pipeEnds[0], &c, 1) == 1) {
    if (c == '\n')
      told = true;
    else
      name_ += c;
  }
  close(pipeEnds[0]);
  XSetErrorHandler(IgnoreErrors);
  if (told) display_ = XOpenDisplay(name_.c_str());
  int event = 0, error = 0, major = 0, minor = 0;
  if (display_ == nullptr || !XTestQueryExtension(X(display_), &event, &error, &major, &minor)) {
    Stop(serverPid_);
    throw std::runtime_error("Xvfb did not start with a screen of " + screen +
                             " and XTest (is the xvfb package installed?)");
  }
  if (setup.dockHeight > 0) {
    windowManager_.emplace(std::vector<std::string>{"openbox"}, Environment());
    if (!WindowManagerRuns(X(display_), milliseconds(15000))) {
      throw std::runtime_error("openbox did not start (is the openbox package installed?):\n" +
                               windowManager_->Output());
    }
    dock_ = MapDock(X(display_), setup.width, setup.dockHeight);
  }
}

XSession::~XSession() {
  windowManager_.reset();
  if (display_ != nullptr) XCloseDisplay(X(display_));
  Stop(serverPid_);
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
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    std::string differences = Differences(expected, rows);
    if (differences.empty() || Clock::now() > deadline) return differences;
    std::this_thread::sleep_for(milliseconds(20));
  }
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

void XSession::SetLayout(const std::string& layout, const std::string& variant) const {
  ChildProcess setxkbmap({"setxkbmap", "-display", name_, "-layout", layout, "-variant", variant},
                         Environment());
  if (setxkbmap.WaitForExit(milliseconds(10000)) != 0) {
    throw std::runtime_error("setxkbmap " + layout + " " + variant +
                             " failed (are x11-xkb-utils and xkb-data installed?):\n" +
                             setxkbmap.Output());
  }
}

void XSession::RaiseDock() const {
  XRaiseWindow(X(display_), dock_);
  XSync(X(display_), False);
}

void XSession::DestroyWindow(unsigned long window) const {
  XDestroyWindow(X(display_), window);
  XSync(X(display_), False);
}

unsigned long XSession::Cover(Colour colour) const {
  Display* display = X(display_);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  const Window cover = XCreateWindow(
      display, DefaultRootWindow(display), 0, 0, unsigned(setup_.width), unsigned(setup_.height), 0,
      CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
  XMapRaised(display, cover);
  // Filled after mapping, through a GC: no background to guess the format of.
  XGCValues values{};
  values.foreground = ScreenPixels(Canvas(1, 1, colour)).front();
  GC gc = XCreateGC(display, cover, GCForeground, &values);
  XFillRectangle(display, cover, gc, 0, 0, unsigned(setup_.width), unsigned(setup_.height));
  XFreeGC(display, gc);
  XSync(display, False);
  return cover;
}

}  // namespace testcard::testing
