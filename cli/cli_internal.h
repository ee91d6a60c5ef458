// What the commands of verbarium-cli share: the open dictionaries and the output helpers.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/lookup/irregular_forms.h"
#include "cli/args.h"

struct NymdexEngine;
struct CustomDatabase;
struct JumbleEngine;
namespace platform {
struct NamedEvent;
}

namespace cli {

// The data files of one run, opened as the program opens them at start-up; each Open returns
// the program's own message on failure, or an empty text. The destructor shuts down what is
// open, in the program's order.
class Dictionaries {
 public:
  explicit Dictionaries(std::string data_dir);
  ~Dictionaries();
  Dictionaries(const Dictionaries&) = delete;
  Dictionaries& operator=(const Dictionaries&) = delete;

  std::string OpenEngine();
  std::string OpenCustom();
  std::string OpenAnagrams();  // creates the "StopAnagrams" event first
  // Reads the irregular forms; a missing or damaged file leaves them off (forms.state()).
  void LoadForms();

  // What a lookup reads: the engine, the custom database and the irregular forms, and the
  // anagram list when `anagrams` (its pane may be printed). The list and the forms load on a
  // thread of their own while the engine starts. The first message in the order engine,
  // custom database, anagram list, or an empty text.
  std::string OpenForLookup(bool anagrams);

  std::string Path(const char* file_name) const;
  const std::string& index_path() const { return index_path_; }
  const std::string& data_path() const { return data_path_; }

  NymdexEngine* engine = nullptr;
  CustomDatabase* custom = nullptr;
  JumbleEngine* jumble = nullptr;
  lookup::IrregularForms forms;

 private:
  std::string data_dir_;
  std::string index_path_;
  std::string data_path_;
  bool custom_is_users_ = false;  // the custom database lives in the user's own data folder
  platform::NamedEvent* stop_event_ = nullptr;
};

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  std::string data_dir;  // empty: Data below the current directory
};

// Prints `message` to the error stream (with a newline) and returns kExitError.
int Fail(Context& c, const std::string& message);
// A usage error: the message and a pointer to the command's --help.
int UsageError(Context& c, const std::string& command, const std::string& message);

int LookupCommand(const std::vector<std::string>& args, Context& c);
int AnagramsCommand(const std::vector<std::string>& args, Context& c);
int MatchCommand(const std::vector<std::string>& args, Context& c);
int CustomCommand(const std::vector<std::string>& args, Context& c);
int MeaningCommand(const std::vector<std::string>& args, Context& c);

// The operands joined by single spaces (a phrase may be given as several words).
std::string JoinOperands(const std::vector<std::string>& operands, size_t first = 0);

}  // namespace cli
