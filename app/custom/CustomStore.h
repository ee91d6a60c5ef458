// The main window's custom database as the entry dialogs and the Database menu's commands see
// it: the address of the window's handle (the store replaces the database behind it on every
// change, and reopening replaces it outright) and the two files it is opened from.
#pragma once

#include <string>

struct CustomDatabase;
class QWidget;

struct CustomStore {
  CustomDatabase** handle = nullptr;
  std::string index_path;
  std::string data_path;

  // The database as it is now; null when none is open.
  CustomDatabase* db() const { return handle != nullptr ? *handle : nullptr; }
};

// Closes the database and opens it again from its files. When the open fails, shows "One of
// the data files has been corrupted..." and leaves the handle null. True when it is open again.
bool ReopenCustomDatabase(const CustomStore& store, QWidget* parent);

// The enabling rule of "Edit entries..." and "Backup custom database...": the database holds an
// entry. The count is read from the index file on every call, so ask it each time the menu is
// shown.
bool HasCustomEntries(const CustomStore& store);
