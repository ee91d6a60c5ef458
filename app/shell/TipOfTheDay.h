// The tip of the day in the window: opened over the main window once it has been painted,
// with its values ("TipNo", "StartUp", "TimeStamp", and "Tips") from and back to the settings.
#pragma once

#include <QString>

class QWidget;
class Settings;

// Opens the tip of the day (CTipDlg) modal to `window` after the window's first paint; with
// "StartUp" 0 it runs without showing. `settings` must outlive the dialog, or be handed back
// by CloseTipOfTheDay first.
void ShowTipOfTheDayWhenPainted(QWidget* window, Settings* settings, const QString& tips_path);
// Closes an open tip of the day of `window`, so that its values reach the settings now.
void CloseTipOfTheDay(QWidget* window);
// Options > Show Tips at Startup: flips "Tips", and "StartUp" with it, so that the next start
// follows the menu even after the dialog's own check box was cleared.
void ToggleTipsAtStartUp(Settings* settings);
