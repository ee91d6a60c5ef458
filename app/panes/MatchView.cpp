#include "app/panes/MatchView.h"

CMatchView::CMatchView(QWidget* parent) : CPaneView(-1, parent) {}
