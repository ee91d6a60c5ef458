#include "app/panes/HelpPaneView.h"

CHelpPaneView::CHelpPaneView(QWidget* parent) : QListView(parent) {
  setObjectName("patternList");
  setAccessibleName("Pattern list");
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}
