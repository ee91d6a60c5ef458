#include "app/desktop/X11HotKey.h"

#include <xcb/xcb.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

KeyboardMap ReadKeyboardMap(xcb_connection_t* connection) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  KeyboardMap map;
  map.min_keycode = setup->min_keycode;
  const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
  const auto keyboard_cookie = xcb_get_keyboard_mapping(connection, setup->min_keycode, count);
  const auto modifier_cookie = xcb_get_modifier_mapping(connection);
  const XcbReply<xcb_get_keyboard_mapping_reply_t> keyboard(
      xcb_get_keyboard_mapping_reply(connection, keyboard_cookie, nullptr));
  const XcbReply<xcb_get_modifier_mapping_reply_t> modifiers(
      xcb_get_modifier_mapping_reply(connection, modifier_cookie, nullptr));
  if (keyboard) {
    map.keysyms_per_keycode = keyboard->keysyms_per_keycode;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    map.keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(keyboard.get()));
  }
  if (modifiers) {
    map.keycodes_per_modifier = modifiers->keycodes_per_modifier;
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(modifiers.get());
    map.modifier_keycodes.assign(
        keycodes, keycodes + xcb_get_modifier_mapping_keycodes_length(modifiers.get()));
  }
  return map;
}

}  // namespace

X11HotKey::X11HotKey(QObject* parent) : QObject(parent) {}

X11HotKey::~X11HotKey() {
  Unregister();
  Disconnect();
}

bool X11HotKey::Register(const HotKey& hotkey) {
  Unregister();
  hotkey_ = hotkey;
  return Connect() && Grab();
}

void X11HotKey::Unregister() {
  Ungrab();
  hotkey_.reset();
}

bool X11HotKey::Connect() {
  if (connection_) return true;
  int screen_number = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return false;
  }
  xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screen_number && screen.rem > 0; ++i)
    xcb_screen_next(&screen);
  if (screen.rem == 0) {
    xcb_disconnect(connection);
    return false;
  }
  connection_ = connection;
  root_ = screen.data->root;
  notifier_ =
      new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &X11HotKey::ReadEvents);
  return true;
}

void X11HotKey::Disconnect() {
  if (!connection_) return;
  delete notifier_;
  notifier_ = nullptr;
  xcb_disconnect(connection_);
  connection_ = nullptr;
  grabbed_masks_.clear();
}

bool X11HotKey::Grab() {
  const KeyboardMap map = ReadKeyboardMap(connection_);
  const std::optional<KeyGrab> grab = FindKeyGrab(map, *hotkey_);
  if (!grab) return false;
  grab_ = *grab;
  grabbed_masks_ = LockVariants(grab->modifiers, NumLockMask(map));
  std::vector<xcb_void_cookie_t> cookies;
  for (const uint16_t mask : grabbed_masks_) {
    cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, mask, grab_.keycode,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  }
  // Another client's grab of the same combination is refused with BadAccess.
  bool refused = false;
  for (const xcb_void_cookie_t cookie : cookies) {
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
      refused = true;
      std::free(error);
    }
  }
  if (refused) Ungrab();
  // Waiting for the replies may have queued events that the socket no longer announces.
  QTimer::singleShot(0, this, &X11HotKey::ReadEvents);
  return !refused;
}

void X11HotKey::Ungrab() {
  if (!connection_ || grabbed_masks_.empty()) return;
  // Releases only this client's grabs, so a combination another program holds stays its own.
  for (const uint16_t mask : grabbed_masks_)
    xcb_ungrab_key(connection_, grab_.keycode, root_, mask);
  xcb_flush(connection_);
  grabbed_masks_.clear();
}

void X11HotKey::ReadEvents() {
  if (!connection_) return;
  std::optional<quint32> fired_at;
  bool remapped = false;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS) {
      const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
      if (!grabbed_masks_.empty() && press->detail == grab_.keycode) fired_at = press->time;
    } else if (type == XCB_MAPPING_NOTIFY) {
      const auto* mapping = reinterpret_cast<const xcb_mapping_notify_event_t*>(event);
      remapped = remapped || mapping->request != XCB_MAPPING_POINTER;
    }
    std::free(event);
  }
  if (xcb_connection_has_error(connection_)) {  // the server went away
    Disconnect();
    return;
  }
  if (remapped && hotkey_) {
    Ungrab();
    Grab();
  }
  if (fired_at) emit Activated(HotKeyActivation{*fired_at, {}});
}
