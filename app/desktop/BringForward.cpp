#include "app/desktop/BringForward.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>

namespace {

// Asks the window manager to activate `window` through _NET_ACTIVE_WINDOW, stamped with the
// time of the key press. Qt's own request carries the time of the last event Qt saw, which is
// older than the focused program's, so a window manager that prevents focus stealing refuses
// it.
void RequestX11Activation(QWidget* window, quint32 time) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  xcb_connection_t* connection = x11->connection();
  const auto id = static_cast<xcb_window_t>(window->winId());
  const char name[] = "_NET_ACTIVE_WINDOW";
  const auto atom_cookie = xcb_intern_atom(connection, 0, std::strlen(name), name);
  const auto geometry_cookie = xcb_get_geometry(connection, id);
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, atom_cookie, nullptr);
  xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, geometry_cookie, nullptr);
  if (atom && geometry) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = atom->atom;
    message.data.data32[0] = 1;  // the request comes from an application
    message.data.data32[1] = time;
    xcb_send_event(connection, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
  }
  std::free(atom);
  std::free(geometry);
}

}  // namespace

void BringForward(QWidget* window, const HotKeyActivation& activation) {
  if (window->isMinimized()) {
    window->showNormal();
  } else if (!window->isVisible()) {
    window->show();
  }
  window->raise();
  // Qt on Wayland hands this token to the compositor with its activation request.
  if (!activation.activation_token.isEmpty())
    qputenv("XDG_ACTIVATION_TOKEN", activation.activation_token.toUtf8());
  window->activateWindow();  // also gives the focus where no window manager runs
  if (activation.x11_time != 0) RequestX11Activation(window, activation.x11_time);
}
