// Named events: the process-wide signals that the engines test without waiting
// ("StopNymdexEvent", "StopAnagrams"). An event is created by its first opener and lives
// until its last handle is closed; every opener of the same name shares one state.
#pragma once

namespace platform {

struct NamedEvent;

// Creates the event `name`, or opens it when it already exists. `manual_reset` and
// `initially_set` apply only when this call creates it; `*existed` (when given) tells
// whether it did exist. Returns null for a null or empty name.
NamedEvent* OpenNamedEvent(const char* name, bool manual_reset, bool initially_set,
                           bool* existed = nullptr);

// Null handles are ignored by the four calls below.
void SetNamedEvent(NamedEvent* event);
void ResetNamedEvent(NamedEvent* event);

// Tests the event without waiting: true when it is set. A successful test of an
// automatic-reset event clears it, as a zero time-out wait does.
bool TestNamedEvent(NamedEvent* event);

// Releases one handle; the event ends with its last handle.
void CloseNamedEvent(NamedEvent* event);

}  // namespace platform
