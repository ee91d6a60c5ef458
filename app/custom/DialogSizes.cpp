#include "app/custom/DialogSizes.h"

#include <QDialog>
#include <QScreen>

void DialogSizes::Apply(CustomDialog which, QDialog* dialog) const {
  const QSize kept = load ? load(which) : QSize();
  if (kept.isValid()) {
    // A size from a larger screen, or from before the fonts grew, still fits and shows all.
    QSize size = kept.expandedTo(dialog->minimumSizeHint());
    const QWidget* anchor = dialog->parentWidget() != nullptr ? dialog->parentWidget() : dialog;
    if (const QScreen* screen = anchor->screen())
      size = size.boundedTo(screen->availableGeometry().size());
    dialog->resize(size);
  }
  if (save) {
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [save = save, which, dialog] { save(which, dialog->size()); });
  }
}
