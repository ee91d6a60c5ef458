// Work that the window's first frame does not need: run once the window has been painted.
#pragma once

#include <functional>

class QWidget;

// Runs `action` once, after the first paint of `widget`, once its window is active (or half a
// second after that paint when the desktop does not activate it), and after what is queued
// then (two hops through the event queue, below the normal priority): the window is on the
// screen with the focus shown, and measured as ready, before the action does its own work.
// Nothing runs when the widget goes first.
void RunAfterFirstPaint(QWidget* widget, std::function<void()> action);

// As RunAfterFirstPaint, but when `widget` is still hidden once the event loop runs (a window
// that starts in the tray, which is not painted), the action runs then. It runs once.
void RunAfterFirstPaintOrWhenHidden(QWidget* widget, std::function<void()> action);
