// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "surface/window/app_window.hpp"

struct SDL_Window;

namespace testcard {

class WindowSystem;

// The test window on SDL2: borderless, caption "Form1", the icon drawn by
// DrawWindowIcon, created hidden on the primary display.
//
// It shows a Canvas one canvas pixel to one device pixel: no scaling, no
// filtering, no colour conversion, on high-DPI displays too. The canvas is
// the persistent picture; whenever the window system loses what is on the
// screen, Present puts the same canvas up again, nothing is redrawn.
//
// What differs between window systems (placement, sizes, how the picture
// reaches the screen, raw events) is the WindowSystem picked for SDL's
// video driver when the window is made (video_drivers.hpp): X11 has its
// own, any other driver leaves it all to SDL.
//
// The constructor throws WindowUnavailable; later failures raise
// RunTimeError.
class SdlWindow : public AppWindow {
 public:
  SdlWindow();
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  PixelSize PrimaryDisplaySize() const override;
  PixelSize ClientSize() const override;
  PixelSize Place(const PixelRect& client) override;
  void Show(const Canvas& picture) override;
  void Present() override;
  WindowEvent NextEvent() override;
  // Hides the window first, so that nothing covers the box.
  bool ShowErrorBox(const std::string& title, const std::string& text) override;

 private:
  void Close();

  SDL_Window* window_ = nullptr;
  std::unique_ptr<WindowSystem> system_;
  const Canvas* picture_ = nullptr;
};

// An error message box of SDL's own, with no window of SDL's needed: for
// whichever window the program runs in.
bool ShowSdlErrorBox(const std::string& title, const std::string& text);

}  // namespace testcard
