// SPDX-License-Identifier: MIT
#include "surface/wayland/wayland_keyboard.hpp"

#include <sys/mman.h>
#include <sys/timerfd.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "surface/wayland/wayland_key_text.hpp"

namespace testcard {
namespace {

itimerspec Milliseconds(int first, int then) {
  const auto after = [](int ms) { return timespec{ms / 1000, (ms % 1000) * 1000000L}; };
  return {after(then), after(first)};
}

}  // namespace

WaylandSeat::WaylandSeat(wl_seat* seat, std::uint32_t name, xkb_context* context,
                         std::function<void(int)> typed, std::function<bool()> windowShown)
    : seat_(seat),
      name_(name),
      context_(context),
      typed_(std::move(typed)),
      windowShown_(std::move(windowShown)),
      repeatTimer_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
  static const wl_seat_listener kListener = {Capabilities, [](void*, wl_seat*, const char*) {}};
  wl_seat_add_listener(seat_, &kListener, this);
}

WaylandSeat::~WaylandSeat() {
  TakeKeyboard(false);
  TakePointer(false);
  if (repeatTimer_ >= 0) close(repeatTimer_);
  if (wl_seat_get_version(seat_) >= WL_SEAT_RELEASE_SINCE_VERSION) {
    wl_seat_release(seat_);
  } else {
    wl_seat_destroy(seat_);
  }
}

void WaylandSeat::Capabilities(void* data, wl_seat*, std::uint32_t capabilities) {
  auto& self = *static_cast<WaylandSeat*>(data);
  self.TakeKeyboard((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0);
  self.TakePointer((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0);
}

void WaylandSeat::TakeKeyboard(bool present) {
  if (present == (keyboard_ != nullptr)) return;
  if (present) {
    static const wl_keyboard_listener kListener = {Keymap, Enter,     Leave,
                                                   Key,    Modifiers, RepeatInfo};
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &kListener, this);
    keyboardIsNew_ = windowShown_();
    return;
  }
  StopRepeat();
  if (wl_keyboard_get_version(keyboard_) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
    wl_keyboard_release(keyboard_);
  } else {
    wl_keyboard_destroy(keyboard_);
  }
  keyboard_ = nullptr;
  DropKeymap();
}

void WaylandSeat::TakePointer(bool present) {
  if (present == (pointer_ != nullptr)) return;
  if (!present) {
    if (wl_pointer_get_version(pointer_) >= WL_POINTER_RELEASE_SINCE_VERSION) {
      wl_pointer_release(pointer_);
    } else {
      wl_pointer_destroy(pointer_);
    }
    pointer_ = nullptr;
    return;
  }
  // A pointer the compositor draws over the pattern would hide its pixels:
  // over the window it has no picture at all.
  static const wl_pointer_listener kListener = {
      [](void*, wl_pointer* pointer, std::uint32_t serial, wl_surface*, wl_fixed_t, wl_fixed_t) {
        wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
      },
      [](void*, wl_pointer*, std::uint32_t, wl_surface*) {},
      [](void*, wl_pointer*, std::uint32_t, wl_fixed_t, wl_fixed_t) {},
      [](void*, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
      [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
      [](void*, wl_pointer*) {},
      [](void*, wl_pointer*, std::uint32_t) {},
      [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
      [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
      [](void*, wl_pointer*, std::uint32_t, std::int32_t) {}};
  pointer_ = wl_seat_get_pointer(seat_);
  wl_pointer_add_listener(pointer_, &kListener, this);
}

void WaylandSeat::DropKeymap() {
  if (state_ != nullptr) xkb_state_unref(state_);
  if (keymap_ != nullptr) xkb_keymap_unref(keymap_);
  state_ = nullptr;
  keymap_ = nullptr;
}

void WaylandSeat::Keymap(void* data, wl_keyboard*, std::uint32_t format, int fd,
                         std::uint32_t size) {
  auto& self = *static_cast<WaylandSeat*>(data);
  self.StopRepeat();
  self.DropKeymap();
  if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text != MAP_FAILED) {
      // The text ends in a NUL within `size`; the length leaves it out.
      self.keymap_ =
          xkb_keymap_new_from_buffer(self.context_, static_cast<const char*>(text), size - 1,
                                     XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
      munmap(text, size);
    }
    if (self.keymap_ != nullptr) self.state_ = xkb_state_new(self.keymap_);
  }
  close(fd);
}

void WaylandSeat::Enter(void* data, wl_keyboard*, std::uint32_t, wl_surface*, wl_array* keys) {
  auto& self = *static_cast<WaylandSeat*>(data);
  if (!std::exchange(self.keyboardIsNew_, false) || self.state_ == nullptr) return;
  const auto* key = static_cast<const std::uint32_t*>(keys->data);
  for (std::size_t i = 0; i < keys->size / sizeof *key; ++i)
    self.Pressed(key[i]);
}

void WaylandSeat::Leave(void* data, wl_keyboard*, std::uint32_t, wl_surface*) {
  static_cast<WaylandSeat*>(data)->StopRepeat();
}

void WaylandSeat::Key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
                      std::uint32_t state) {
  auto& self = *static_cast<WaylandSeat*>(data);
  if (state != WL_KEYBOARD_KEY_STATE_PRESSED) {
    if (key == self.repeating_) self.StopRepeat();
    return;
  }
  self.Pressed(key);
}

void WaylandSeat::Pressed(std::uint32_t key) {
  StopRepeat();
  if (state_ == nullptr || !TypesCharacter(state_, key)) return;
  typed_(1);
  if (repeatRate_ > 0 && repeatTimer_ >= 0 && xkb_keymap_key_repeats(keymap_, key + 8) != 0) {
    repeating_ = key;
    // A zero time would disarm the timer: a millisecond at the least.
    const itimerspec timing =
        Milliseconds(std::max(repeatDelay_, 1), std::max(1000 / repeatRate_, 1));
    timerfd_settime(repeatTimer_, 0, &timing, nullptr);
  }
}

void WaylandSeat::Modifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed,
                            std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
  auto& self = *static_cast<WaylandSeat*>(data);
  if (self.state_ != nullptr) {
    xkb_state_update_mask(self.state_, depressed, latched, locked, 0, 0, group);
  }
}

void WaylandSeat::RepeatInfo(void* data, wl_keyboard*, std::int32_t rate, std::int32_t delay) {
  auto& self = *static_cast<WaylandSeat*>(data);
  self.repeatRate_ = rate > 0 ? rate : 0;
  self.repeatDelay_ = delay > 0 ? delay : 0;
}

void WaylandSeat::Repeat() {
  std::uint64_t due = 0;
  if (read(repeatTimer_, &due, sizeof due) != sizeof due || repeating_ == 0) return;
  typed_(static_cast<int>(due));
}

void WaylandSeat::StopRepeat() {
  repeating_ = 0;
  if (repeatTimer_ >= 0) {
    const itimerspec off{};
    timerfd_settime(repeatTimer_, 0, &off, nullptr);
  }
}

}  // namespace testcard
