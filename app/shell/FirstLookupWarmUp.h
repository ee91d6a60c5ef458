// What a session's first lookup would pay once, paid after the first paint instead: the
// engine's first reads of its data, the font faces the senses and panes draw with, and the
// views of the panes' tabs.
#pragma once

#include <QFont>
#include <QList>
#include <cstdint>

class CSplitterTabFrame;
struct NymdexEngine;
struct CustomDatabase;

// Looks a common word up in a session of its own with the panes of `panes_mask` (the result
// is dropped; nothing the user sees or keeps changes), makes the views of its tabs in `frame`
// (not shown) and loads the regular, bold and italic faces of each font.
void WarmUpFirstLookup(const NymdexEngine* engine, CustomDatabase** custom, uint32_t panes_mask,
                       CSplitterTabFrame* frame, const QList<QFont>& fonts);
