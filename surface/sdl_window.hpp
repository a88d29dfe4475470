#pragma once

#include <stdexcept>
#include <string>

#include "surface/canvas.hpp"
#include "surface/window_port.hpp"

struct SDL_Window;

namespace testcard {

// Raised when no window can be had at all (no display, no video driver, no
// renderer): the program cannot start. what() says what failed.
class WindowUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The test window on SDL2: borderless, caption "Form1", the icon drawn by
// DrawWindowIcon, created hidden on the primary display.
//
// It shows a Canvas one canvas pixel to one device pixel: no scaling, no
// filtering, no colour conversion, on high-DPI displays too. The canvas is
// the persistent picture; whenever the window system loses what is on the
// screen, Present puts the same canvas up again, nothing is redrawn.
//
// Place covers the whole primary display with a full-screen-desktop window
// when asked for exactly that, which also covers panels and task bars; any
// other rectangle gets a borderless window kept above the others.
//
// Failures after the window exists raise RunTimeError.
class SdlWindow : public WindowPort {
 public:
  SdlWindow();  // throws WindowUnavailable
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // The primary display's size in device pixels.
  PixelSize PrimaryDisplaySize() const;
  // The client area's size in device pixels, as it is now.
  PixelSize ClientSize() const;

  PixelSize Place(const PixelRect& client) override;

  // Shows `picture` in the client area from now on: puts it on the screen
  // and makes the window visible. `picture` must outlive the window's use.
  void Show(const Canvas& picture);
  // Puts the picture on the screen again: after it changed, or after the
  // window system lost the window's contents (exposed, restored, reset).
  void Present();

  // Tells the user about a fatal error in a message box. The window is
  // hidden first so that nothing covers the box. Returns false when the box
  // could not be shown.
  bool ShowErrorBox(const std::string& title, const std::string& text);

 private:
  void Close();

  SDL_Window* window_ = nullptr;
  const Canvas* picture_ = nullptr;
  const void* populated_ = nullptr;  // the window buffer whose pages are mapped in
};

}  // namespace testcard
