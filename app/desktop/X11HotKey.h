// The global hotkey on an X11 display: a passive grab of the key on the root window, held
// through an X connection of its own (so it works whatever platform Qt's windows are on) and
// registered with and without Caps Lock and Num Lock, so it fires whatever their state. X11
// lets one client hold a combination: when another program holds it, registering fails and
// the hotkey stays silent. A changed keyboard mapping grabs the key anew.
#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/desktop/HotKey.h"
#include "app/desktop/KeyboardMap.h"

class QSocketNotifier;
struct xcb_connection_t;

class X11HotKey : public QObject {
  Q_OBJECT

 public:
  explicit X11HotKey(QObject* parent = nullptr);
  ~X11HotKey() override;

  // Releases the hotkey held so far and grabs `hotkey` on the display DISPLAY names. False,
  // with nothing grabbed, when there is no X display, no key carries the character, or
  // another program holds the combination.
  bool Register(const HotKey& hotkey);
  // Releases the grab.
  void Unregister();

 signals:
  void Activated(const HotKeyActivation& activation);

 private:
  bool Connect();
  void Disconnect();
  bool Grab();
  void Ungrab();
  void ReadEvents();

  xcb_connection_t* connection_ = nullptr;
  uint32_t root_ = 0;
  QSocketNotifier* notifier_ = nullptr;
  std::optional<HotKey> hotkey_;  // registered, whether or not the grab succeeded
  KeyGrab grab_;                  // held while grabbed_masks_ is not empty
  std::vector<uint16_t> grabbed_masks_;
};
