#include "cli/cli.h"

#include <filesystem>
#include <iostream>
#include <system_error>
#include <thread>

#include "anagram/jumble.h"
#include "app/lookup/custom_entry.h"
#include "cli/cli_internal.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "platform/data_path.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

namespace cli {

namespace {

constexpr char kUsage[] =
    "Usage: verbarium-cli [--data DIR] COMMAND [ARGUMENTS]\n"
    "\n"
    "The Verbarium dictionary from a terminal.\n"
    "\n"
    "Commands:\n"
    "  lookup TEXT       look a word up: its senses and related words\n"
    "  lookup --batch F  one lookup per line of file F (- for standard input)\n"
    "  anagrams TEXT     anagrams of a word or phrase\n"
    "  match PATTERN     dictionary words that fit a pattern (?, *, [abc], [!abc], [a-z])\n"
    "  custom ...        your own entries: add, list, show, delete, backup, restore\n"
    "  meaning TEXT      words that fit a description of their meaning\n"
    "\n"
    "Options:\n"
    "  --data DIR        the data folder (default: Data below the current directory, else the\n"
    "                    installed dictionary with your entries in ~/.local/share/verbarium)\n"
    "  --help            this text; COMMAND --help tells about a command\n"
    "  --version         the version, and whether the irregular forms are on\n"
    "\n"
    "Exit status: 0 found, 1 nothing found or unknown word, 2 usage or data error.\n";

constexpr char kVersion[] = VERBARIUM_VERSION;

}  // namespace

Dictionaries::Dictionaries(std::string data_dir) : data_dir_(std::move(data_dir)) {
  // Without --data: the window's rule (Data below the current directory, else the installed
  // dictionary with the custom database in the user's own data folder).
  std::string custom_dir = data_dir_;
  if (data_dir_.empty()) {
    const platform::DataLocation location = platform::FindDataLocation(
        platform::CurrentDirectory(), platform::DataSearchFromEnvironment());
    data_dir_ = location.dictionary_dir;
    custom_dir = location.custom_dir;
    if (location.installed) platform::MakeDirectories(custom_dir);
    custom_is_users_ = location.installed;
  }
  while (data_dir_.size() > 1 && data_dir_.back() == '/')
    data_dir_.pop_back();
  while (custom_dir.size() > 1 && custom_dir.back() == '/')
    custom_dir.pop_back();
  index_path_ = platform::FileInDataFolder(custom_dir, program::kCustomIndexFile);
  data_path_ = platform::FileInDataFolder(custom_dir, program::kCustomDataFile);
}

Dictionaries::~Dictionaries() {
  if (engine != nullptr) Nymdex_ShutDown(&engine);
  if (custom != nullptr) CustomDb_Close(&custom);
  if (jumble != nullptr) Jumble_ShutDown(&jumble);
  platform::CloseNamedEvent(stop_event_);
}

std::string Dictionaries::Path(const char* file_name) const {
  return platform::FileInDataFolder(data_dir_, file_name);
}

std::string Dictionaries::OpenEngine() {
  if (engine != nullptr) return "";
  const uint32_t status = Nymdex_StartUp(&engine, Path(program::kSynsetFile).c_str(),
                                         Path(program::kWordIndexFile).c_str(),
                                         Path(program::kTagFile).c_str(), nullptr, nullptr);
  if (status == kNymdexOk) return "";
  engine = nullptr;
  return status == kNymdexCorrupt ? lookup::kCorruptedDataMessage : lookup::kReadErrorMessage;
}

std::string Dictionaries::OpenCustom() {
  if (custom != nullptr) return "";
  // A fresh installation has no custom database yet: start an empty one, in the user's own
  // folder or beside the dictionary, never in a folder that holds no dictionary at all. One
  // file without the other is a damaged database, which is reported and left as it is.
  std::error_code ignored;
  if (custom_is_users_ || std::filesystem::exists(Path(program::kSynsetFile), ignored)) {
    switch (CustomDb_CreateIfMissing(index_path_.c_str(), data_path_.c_str())) {
      case CustomCreateResult::kCreated:
      case CustomCreateResult::kExisting:
        break;
      case CustomCreateResult::kDamaged:
        return lookup::kCorruptedDataMessage;
      case CustomCreateResult::kFailed:
        return lookup::kReadErrorMessage;
    }
  }
  const int32_t status = CustomDb_Open(&custom, index_path_.c_str(), data_path_.c_str());
  if (status == kCustomOk) return "";
  custom = nullptr;
  return CustomStatusIsDamage(status) ? lookup::kCorruptedDataMessage : lookup::kReadErrorMessage;
}

std::string Dictionaries::OpenAnagrams() {
  if (jumble != nullptr) return "";
  if (stop_event_ == nullptr) {
    stop_event_ = platform::OpenNamedEvent(program::kStopAnagramsEvent, true, false);
    if (stop_event_ == nullptr) return "System error : ";
  }
  const uint32_t status = Jumble_StartUp(&jumble, Path(program::kAnagramFile).c_str());
  if (status == kJumbleOk) return "";
  jumble = nullptr;
  return status == kJumbleCorrupt ? lookup::kCorruptedDataMessage : lookup::kReadErrorMessage;
}

void Dictionaries::LoadForms() {
  forms = lookup::IrregularForms::Load(Path(program::kIrregularFormsFile));
}

std::string Dictionaries::OpenForLookup(bool anagrams) {
  // The anagram list and the irregular forms load on a second thread while this one starts
  // the engine, the longest step, and opens the custom database.
  std::string anagrams_message;
  std::thread loader;
  if (std::thread::hardware_concurrency() > 1) {
    try {
      loader = std::thread([this, anagrams, &anagrams_message] {
        if (anagrams) anagrams_message = OpenAnagrams();
        LoadForms();
      });
    } catch (const std::system_error&) {
    }
  }
  const std::string engine_message = OpenEngine();
  const std::string custom_message = OpenCustom();
  if (loader.joinable()) {
    loader.join();
  } else {
    if (anagrams) anagrams_message = OpenAnagrams();
    LoadForms();
  }
  for (const std::string& message : {engine_message, custom_message, anagrams_message}) {
    if (!message.empty()) return message;
  }
  return "";
}

int Fail(Context& c, const std::string& message) {
  c.err << message << "\n";
  return kExitError;
}

int UsageError(Context& c, const std::string& command, const std::string& message) {
  c.err << "verbarium-cli " << command << ": " << message << "\n"
        << "Try 'verbarium-cli " << command << " --help'.\n";
  return kExitError;
}

std::string JoinOperands(const std::vector<std::string>& operands, size_t first) {
  std::string text;
  for (size_t i = first; i < operands.size(); ++i) {
    if (i > first) text += ' ';
    text += operands[i];
  }
  return text;
}

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  Context c{in, out, err, ""};
  // Options before the command: the data folder, the help and the version.
  size_t i = 0;
  bool version = false;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return kExitFound;
    }
    if (arg == "--version") {
      version = true;
    } else if (arg == "--data") {
      if (i + 1 >= args.size()) return Fail(c, "verbarium-cli: option --data needs a value");
      c.data_dir = args[++i];
    } else if (arg.compare(0, 7, "--data=") == 0) {
      c.data_dir = arg.substr(7);
    } else if (arg.compare(0, 1, "-") == 0 && arg != "-") {
      c.err << "verbarium-cli: unknown option " << arg << "\n" << kUsage;
      return kExitError;
    } else {
      break;
    }
  }
  if (version) {
    Dictionaries dictionaries(c.data_dir);
    dictionaries.LoadForms();
    out << "verbarium-cli " << kVersion << "\n"
        << lookup::FormsStatusText(dictionaries.forms) << "\n";
    return kExitFound;
  }
  if (i >= args.size()) {
    err << kUsage;
    return kExitError;
  }
  const std::string command = args[i];
  const std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
  if (command == "lookup") return LookupCommand(rest, c);
  if (command == "anagrams") return AnagramsCommand(rest, c);
  if (command == "match") return MatchCommand(rest, c);
  if (command == "custom") return CustomCommand(rest, c);
  if (command == "meaning") return MeaningCommand(rest, c);
  if (command == "help") {
    out << kUsage;
    return kExitFound;
  }
  err << "verbarium-cli: unknown command '" << command << "'\n" << kUsage;
  return kExitError;
}

}  // namespace cli
