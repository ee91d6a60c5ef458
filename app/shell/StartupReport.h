// A measurement of start-up for the benchmarks: with "--startup-report", the program prints
// when its window was first painted with the focus in the lookup box (the system clock in
// nanoseconds, so the caller can subtract the moment it started the program) and its resident
// memory, then ends.
#pragma once

class CMainDialog;

inline constexpr char kStartupReportOption[] = "--startup-report";

void ReportWhenReady(CMainDialog* dialog);
