// What a session's first lookup would pay once, paid after the first paint instead: the
// engine's first reads of its data, and the font faces the senses and panes draw with.
#pragma once

#include <QFont>
#include <QList>

struct NymdexEngine;
struct CustomDatabase;

// Looks a common word up in a session of its own (the result is dropped; nothing the user
// sees or keeps changes) and loads the regular, bold and italic faces of each font.
void WarmUpFirstLookup(const NymdexEngine* engine, CustomDatabase** custom,
                       const QList<QFont>& fonts);
