// CVerbariumApp: the application object. It makes sure one program runs per user (a later
// start hands its command line over and ends), points the settings at the program's file,
// runs the main window's start-up and the event loop.
#pragma once

#include <QApplication>

class CVerbariumApp : public QApplication {
  Q_OBJECT

 public:
  CVerbariumApp(int& argc, char** argv);

  // The whole run; the process's exit status.
  int Run();
};
