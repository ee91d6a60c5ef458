// Work that the window's first frame does not need: run once the window has been painted.
#pragma once

#include <functional>

class QWidget;

// Runs `action` once, after the first paint of `widget` and after what that paint queued (two
// hops through the event queue): the window is on the screen, and measured as ready, before
// the action does its own work. Nothing runs when the widget goes first.
void RunAfterFirstPaint(QWidget* widget, std::function<void()> action);
