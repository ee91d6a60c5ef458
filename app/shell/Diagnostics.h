// Measurements and checks from outside the program, for the benchmarks and the end-to-end
// tests; nothing of this runs in normal use.
//
// With "--startup-report" the program prints when its window was first painted with the focus
// in the lookup box (the system clock in nanoseconds, so the caller can subtract the moment it
// started the program), the processor time of the process until then and its resident memory,
// then ends.
//
// With "--lookup-timing" as well, it then waits until the work after the first paint is done,
// looks a few words up as a user does (Enter in the lookup box, the window painted), prints
// each one's wall time and the processor time of the window's thread ("lookup_ms WORD MS
// CPU_MS"; the first is the session's first lookup) after the resident memory at that point
// ("settled_rss_kb"), then ends.
//
// With the environment variable VERBARIUM_VIEW_REPORT naming a file, the program writes what
// its views show into that file after every lookup: the word, one line per sense (number,
// word with definition, type, check state) and the tab titles.
#pragma once

class CMainDialog;

inline constexpr char kStartupReportOption[] = "--startup-report";
inline constexpr char kLookupTimingOption[] = "--lookup-timing";
inline constexpr char kViewReportVariable[] = "VERBARIUM_VIEW_REPORT";

void ReportWhenReady(CMainDialog* dialog, bool time_lookups = false);
// Starts the view report when the environment asks for it.
void ReportViewsIfAsked(CMainDialog* dialog);
