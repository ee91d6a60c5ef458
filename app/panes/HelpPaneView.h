// CHelpPaneView: the upper row while the "Matches" pane lists the results of a pattern: an
// empty plain list.
#pragma once

#include <QListView>

class CHelpPaneView : public QListView {
  Q_OBJECT

 public:
  explicit CHelpPaneView(QWidget* parent = nullptr);
};
