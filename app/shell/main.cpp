// verbarium: the desktop window.
#include "app/shell/VerbariumApp.h"

int main(int argc, char** argv) {
  CVerbariumApp app(argc, argv);
  return app.Run();
}
