// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

struct wl_seat;
struct wl_keyboard;
struct wl_pointer;
struct wl_array;
struct wl_surface;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace testcard {

// One seat's keyboard and pointer, read by testcard itself.
//
// Keyboards come and go (a Bluetooth keyboard reconnecting, the virtual
// keyboards of on-screen keyboards and remote-input tools, which appear
// with their own keymap right before their first key): the keyboard is
// taken when the seat gains one and let go when it loses it, and a keymap
// replaces the last one whenever it arrives. A key that arrives before any
// keymap, or with a keymap that could not be read, types nothing.
//
// Each key press that types at least one character (TypesCharacter) calls
// `typed` with the number of presses. Keys already down when the window gets
// the keyboard type nothing: they were pressed before the picture was there,
// or before the user came back to the window. Only a keyboard that appears
// while the window shows (a virtual keyboard, which appears with its first
// key down) types the keys it comes with, once each. A held key repeats as
// the compositor's repeat rate and delay say (a timer whose descriptor the
// owner polls), each repeat a press.
//
// The pointer, should the seat have one, is hidden over the window.
class WaylandSeat {
 public:
  // `windowShown` says whether the window shows its picture yet.
  WaylandSeat(wl_seat* seat, std::uint32_t name, xkb_context* context,
              std::function<void(int presses)> typed, std::function<bool()> windowShown);
  ~WaylandSeat();
  WaylandSeat(const WaylandSeat&) = delete;
  WaylandSeat& operator=(const WaylandSeat&) = delete;

  std::uint32_t Name() const { return name_; }
  // The repeat timer, readable when a repeat is due.
  int RepeatDescriptor() const { return repeatTimer_; }
  // Delivers the repeats that are due.
  void Repeat();

 private:
  static void Capabilities(void* data, wl_seat* seat, std::uint32_t capabilities);
  static void Keymap(void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size);
  static void Enter(void* data, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*);
  static void Leave(void* data, wl_keyboard*, std::uint32_t, wl_surface*);
  static void Key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
                  std::uint32_t state);
  static void Modifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed,
                        std::uint32_t latched, std::uint32_t locked, std::uint32_t group);
  static void RepeatInfo(void* data, wl_keyboard*, std::int32_t rate, std::int32_t delay);
  // A key gone down: a press if it types a character, repeating from then on.
  void Pressed(std::uint32_t key);
  void TakeKeyboard(bool present);
  void TakePointer(bool present);
  void DropKeymap();
  void StopRepeat();

  wl_seat* seat_;
  std::uint32_t name_;
  xkb_context* context_;
  std::function<void(int)> typed_;
  std::function<bool()> windowShown_;
  // Whether the keyboard came while the window showed and has not yet
  // entered it: the keys it enters with were pressed on it.
  bool keyboardIsNew_ = false;
  wl_keyboard* keyboard_ = nullptr;
  wl_pointer* pointer_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_state* state_ = nullptr;
  int repeatTimer_ = -1;
  int repeatRate_ = 25;          // presses a second; 0: no repeat
  int repeatDelay_ = 600;        // milliseconds
  std::uint32_t repeating_ = 0;  // the key that repeats; 0 (no key) when none does
};

}  // namespace testcard
