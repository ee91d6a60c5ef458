// Brings a window to the front when the hotkey fired in another program: restores it when
// minimised, shows it when hidden, raises it and asks the desktop to activate it. Desktops
// keep a program from taking the focus on its own; the activation carries the proof that the
// user asked (the X server time of the key press, or the portal's activation token).
#pragma once

#include "app/desktop/HotKey.h"

class QWidget;

void BringForward(QWidget* window, const HotKeyActivation& activation);
