// Backup and restore of the custom database: the data file is copied to a ".dbk" file and the
// index file to the ".ibk" file of the same name, byte for byte.
#pragma once

#include <ctime>
#include <string>

struct CustomDatabase;

inline constexpr char kBackupExtension[] = ".dbk";
inline constexpr char kBackupIndexExtension[] = ".ibk";
// File-dialog filter, "%s" filled with kBackupExtension in both places.
inline constexpr char kBackupFilterFormat[] = "Custom database backup files (*%s)|*%s||";
inline constexpr char kBackupFailedText[] = "Failed to backup custom database";
inline constexpr char kRestoreFailedText[] = "Failed to restore custom database";
inline constexpr char kRestoredText[] = "Successfully restored custom database";

// The index path of a backup pair: `dbk_path` with every ".dbk" replaced by ".ibk" (exact,
// case-sensitive), so a path without ".dbk" names itself.
std::string BackupIndexPath(const std::string& dbk_path);

// The suggested backup name for `now`, in UTC: "vbc" then month, day (2 digits), year (all
// digits), hour, minute, second (2 digits); the dialog's default extension completes it.
std::string SuggestedBackupName(std::time_t now);

// Copies the data file to `dbk_path` and the index file to BackupIndexPath(dbk_path), first
// settling a change that a crash cut short. Empty text on success, otherwise
// "Failed to backup custom database : <system error text>".
std::string BackupCustomDatabase(const std::string& index_path, const std::string& data_path,
                                 const std::string& dbk_path);

enum class RestoreOutcome {
  kRestored,      // both files replaced and *handle reopened on them
  kCopyFailed,    // a backup file could not be read or copied: nothing was replaced
  kNotOpen,       // both files replaced, but *handle held no database, so nothing was reopened
  kReopenFailed,  // both files replaced, but they do not open: *handle is null
};

struct RestoreResult {
  RestoreOutcome outcome = RestoreOutcome::kCopyFailed;
  // "Failed to restore custom database : <system error text>" for kCopyFailed, else empty.
  std::string message;
};

// Copies the pair `dbk_path` / BackupIndexPath(dbk_path) beside the database, then replaces
// both database files as one change, then closes *handle and opens it again on the restored
// files. The backup files are not examined beyond being copied.
RestoreResult RestoreCustomDatabase(CustomDatabase** handle, const std::string& index_path,
                                    const std::string& data_path, const std::string& dbk_path);
