#include "app/panes/PaneView.h"

#include "app/lookup/panes.h"

CPaneView::CPaneView(int kind, QWidget* parent) : CWordListCtrl(parent), kind_(kind) {
  const QString title = kind >= 0 ? QString::fromUtf8(lookup::PaneTitle(kind)) : "Matches";
  setObjectName("pane:" + title);
  setAccessibleName(title);
}
