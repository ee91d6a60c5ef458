// Colours the user chose for text, made readable on the view's background: a colour whose
// contrast with the background is too low (black text of the defaults on a dark theme) is
// drawn with its lightness turned round, keeping its hue, so dark blue becomes light blue.
#pragma once

#include <QColor>

QColor ReadableTextColor(const QColor& text, const QColor& background);
