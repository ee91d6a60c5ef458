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

// The index path of a backup pair, from the file name's extension alone: a path ending in
// ".dbk" ends in ".ibk" instead; any other path gets ".ibk" added ("saved.DBK" gives
// "saved.DBK.ibk"). The two files of a pair therefore never share a path, whatever the folders
// are called.
std::string BackupIndexPath(const std::string& dbk_path);

// The suggested backup name for `now`, in UTC: "vbc" then month, day (2 digits), year (all
// digits), hour, minute, second (2 digits); the dialog's default extension completes it.
std::string SuggestedBackupName(std::time_t now);

// Copies the data file to `dbk_path` and the index file to BackupIndexPath(dbk_path), first
// settling a change that a crash cut short. Empty text on success, otherwise
// "Failed to backup custom database : <system error text>".
std::string BackupCustomDatabase(const std::string& index_path, const std::string& data_path,
                                 const std::string& dbk_path);

// Reads the pair `dbk_path` / BackupIndexPath(dbk_path) read only, where it lies (nothing is
// written beside it), and checks that it is a sound database: the index whole, the records in
// index order back to back filling the data file, each deciphering into a well-formed record of
// its entry (CheckCustomRecord). Empty text when it is; otherwise the reason, the system's text
// when a file cannot be read ("No such file or directory").
std::string CheckBackupPair(const std::string& dbk_path);

enum class RestoreOutcome {
  kRestored,      // both files replaced and *handle reopened on them
  kRejected,      // the pair is not a sound database (CheckBackupPair): nothing was replaced
  kCopyFailed,    // a backup file could not be read or copied: nothing was replaced
  kNotOpen,       // both files replaced, but *handle held no database, so nothing was reopened
  kReopenFailed,  // both files replaced, but they do not open: *handle is null
};

struct RestoreResult {
  RestoreOutcome outcome = RestoreOutcome::kCopyFailed;
  // "Failed to restore custom database : <reason>" for kRejected (the reason of
  // CheckBackupPair) and kCopyFailed (the system's text), else empty.
  std::string message;
};

// Checks the pair `dbk_path` / BackupIndexPath(dbk_path) (CheckBackupPair) and, when it is
// sound, copies it beside the database, replaces both database files as one change, then closes
// *handle and opens it again on the restored files.
RestoreResult RestoreCustomDatabase(CustomDatabase** handle, const std::string& index_path,
                                    const std::string& data_path, const std::string& dbk_path);
