#include "tests/app/x_session.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace testcard::testing {
namespace {

using std::chrono::milliseconds;

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

// Closes every descriptor from `first` on, in a child between fork and exec.
void CloseFrom(int first) {
  const long last = sysconf(_SC_OPEN_MAX);
  for (int fd = first; fd < (last > 0 ? last : 1024); ++fd)
    close(fd);
}

std::optional<int> StatusOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return std::nullopt;
}

// Ends a child and everything it started (SDL shows its X11 message box
// from a process of its own): its whole process group, politely, then for
// sure. The leader is reaped last, so that the group id cannot have passed
// to anyone else while it is signalled.
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

// The window's title: the EWMH name in UTF-8 where there is one (SDL's
// message boxes have only that), else the classic WM_NAME.
std::string TitleOf(Display* display, Window window) {
  std::string title;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024,
                         False, XInternAtom(display, "UTF8_STRING", False), &type, &format, &count,
                         &remaining, &data) == Success &&
      data != nullptr) {
    title.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  if (!title.empty()) return title;
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

// The windows the tests look at belong to another process and may vanish
// between two requests; Xlib's default handler would end the test for that.
// Other errors are reported, and the test's own checks then fail.
int IgnoreVanishedWindows(Display*, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  char text[256];
  XGetErrorText(error->display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "X error: %s (request %d)\n", text, error->request_code);
  return 0;
}

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
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
    setpgid(0, 0);
    const int nothing = open("/dev/null", O_RDONLY);
    dup2(nothing, 0);
    dup2(output, 1);
    dup2(output, 2);
    CloseFrom(3);
    execve(args[0], args.data(), env.data());
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
    const int result = waitpid(pid_, &status, WNOHANG);
    if (result == pid_) {
      status_ = StatusOf(status);
    } else if (Clock::now() > deadline) {
      break;
    } else {
      std::this_thread::sleep_for(milliseconds(5));
    }
  }
  return status_;
}

bool ChildProcess::Running() {
  return !WaitForExit(milliseconds(0));
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

VirtualScreen::VirtualScreen(int width, int height) : width_(width), height_(height) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("cannot make a pipe");
  const std::string geometry = std::to_string(width) + "x" + std::to_string(height) + "x24";
  serverPid_ = fork();
  if (serverPid_ < 0) throw std::runtime_error("cannot fork");
  if (serverPid_ == 0) {
    setpgid(0, 0);
    // Xvfb writes the display number it chose to descriptor 3.
    dup2(pipeEnds[1], 3);
    const int nothing = open("/dev/null", O_RDWR);
    dup2(nothing, 0);
    dup2(nothing, 1);
    dup2(nothing, 2);
    CloseFrom(4);
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", geometry.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(serverPid_, serverPid_);
  close(pipeEnds[1]);
  std::string number;
  const auto deadline = Clock::now() + milliseconds(15000);
  for (;;) {
    pollfd ready{pipeEnds[0], POLLIN, 0};
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    char c = 0;
    if (left <= 0 || poll(&ready, 1, static_cast<int>(left)) <= 0 ||
        read(pipeEnds[0], &c, 1) != 1) {
      close(pipeEnds[0]);
      Stop(serverPid_);
      throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
    }
    if (c == '\n') break;
    number += c;
  }
  close(pipeEnds[0]);
  name_ = ":" + number;
  XSetErrorHandler(IgnoreVanishedWindows);
  display_ = XOpenDisplay(name_.c_str());
  if (display_ == nullptr) {
    Stop(serverPid_);
    throw std::runtime_error("cannot connect to Xvfb on " + name_);
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(X(display_), &event, &error, &major, &minor)) {
    throw std::runtime_error("Xvfb has no XTest extension");
  }
}

VirtualScreen::~VirtualScreen() {
  if (display_ != nullptr) XCloseDisplay(X(display_));
  Stop(serverPid_);
}

Canvas VirtualScreen::Capture(int left, int top, int width, int height) const {
  Display* display = X(display_);
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), left, top, static_cast<unsigned>(width),
                static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) throw std::runtime_error("cannot read the screen");
  const int redShift = Shift(image->red_mask);
  const int greenShift = Shift(image->green_mask);
  const int blueShift = Shift(image->blue_mask);
  auto colourAt = [&](int x, int y) {
    const unsigned long pixel = XGetPixel(image, x, y);
    return static_cast<Colour>(((pixel & image->red_mask) >> redShift) |
                               (((pixel & image->green_mask) >> greenShift) << 8) |
                               (((pixel & image->blue_mask) >> blueShift) << 16));
  };
  // A canvas takes pixels only as lines: one horizontal line per run of
  // equal colour.
  Canvas screen(width, height);
  for (int y = 0; y < height; ++y) {
    int runStart = 0;
    Colour runColour = colourAt(0, y);
    for (int x = 1; x <= width; ++x) {
      const Colour colour = x < width ? colourAt(x, y) : ~runColour;
      if (colour == runColour) continue;
      screen.Line(runStart, y, x, y, runColour);
      runStart = x;
      runColour = colour;
    }
  }
  XDestroyImage(image);
  return screen;
}

bool VirtualScreen::WaitUntilShowing(const Canvas& expected, milliseconds timeout) const {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    const Canvas shown = Capture(0, 0, expected.Width(), expected.Height());
    if (std::equal(shown.Pixels().begin(), shown.Pixels().end(), expected.Pixels().begin())) {
      return true;
    }
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(milliseconds(30));
  }
}

void VirtualScreen::PressKey(unsigned long keysym,
                             const std::vector<unsigned long>& modifiers) const {
  Display* display = X(display_);
  auto send = [&](unsigned long sym, bool down) {
    const KeyCode code = XKeysymToKeycode(display, sym);
    if (code == 0) throw std::runtime_error("no key for keysym " + std::to_string(sym));
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
  };
  for (const unsigned long modifier : modifiers)
    send(modifier, true);
  send(keysym, true);
  send(keysym, false);
  for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
    send(*modifier, false);
  XSync(display, False);
}

void VirtualScreen::PressKeys(const std::vector<unsigned long>& keysyms) const {
  Display* display = X(display_);
  for (const unsigned long sym : keysyms) {
    const KeyCode code = XKeysymToKeycode(display, sym);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
  }
  XSync(display, False);
}

std::optional<VirtualScreen::WindowInfo> VirtualScreen::FindWindow(const std::string& title) const {
  Display* display = X(display_);
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::optional<WindowInfo> found;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    return found;
  }
  for (unsigned i = 0; i < count && !found; ++i) {
    if (TitleOf(display, children[i]) != title) continue;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
    found = WindowInfo{children[i],      attributes.x,      attributes.y,
                       attributes.width, attributes.height, attributes.map_state == IsViewable};
  }
  if (children != nullptr) XFree(children);
  return found;
}

void VirtualScreen::Focus(unsigned long window) const {
  XSetInputFocus(X(display_), window, RevertToPointerRoot, CurrentTime);
  XSync(X(display_), False);
}

unsigned long VirtualScreen::Cover() const {
  Display* display = X(display_);
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = 0x336699;  // kCoverColour as 0xRRGGBB
  const Window cover =
      XCreateWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width_),
                    static_cast<unsigned>(height_), 0, DefaultDepth(display, screen), InputOutput,
                    DefaultVisual(display, screen), CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(display, cover);
  XSync(display, False);
  return cover;
}

void VirtualScreen::Uncover(unsigned long cover) const {
  XDestroyWindow(X(display_), cover);
  XSync(X(display_), False);
}

}  // namespace testcard::testing
