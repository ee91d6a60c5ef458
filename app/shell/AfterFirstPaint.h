// Work that the window's first frame does not need: run once the window has been painted.
#pragma once

#include <functional>
#include <vector>

class QObject;
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

// Runs `steps` in order, each in a turn of the event loop of its own, so that what arrives
// meanwhile (a key press, a paint) waits for one step at most. The steps left are dropped when
// `context` goes.
void RunInTurns(QObject* context, std::vector<std::function<void()>> steps);
