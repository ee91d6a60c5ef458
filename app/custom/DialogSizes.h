// The custom-entry dialogs open at the size the user last gave them. The owner of the
// program's settings says where the sizes are kept; a dialog takes its size when it opens and
// hands it back when it closes.
#pragma once

#include <QSize>
#include <functional>

class QDialog;

enum class CustomDialog { kAdd, kDatabase, kEdit };

struct DialogSizes {
  // The kept size of a dialog; an invalid size when there is none.
  std::function<QSize(CustomDialog)> load;
  std::function<void(CustomDialog, QSize)> save;

  // Gives `dialog` its kept size (never below its minimum, never beyond its screen's free
  // area) and keeps its size when it closes. Either function may be unset.
  void Apply(CustomDialog which, QDialog* dialog) const;
};
