// The program's settings: every value's name, type and default in one table, held in memory
// while the program runs, read once at start-up and written back at exit.
//
// They live in an INI file at the user's configuration folder,
// "$XDG_CONFIG_HOME/Mirewood Software/Verbarium 1.4.conf" (default ~/.config/...), group
// "Settings", and the tip of the day's values in the group "TipOfTheDay"; the lookup history
// keeps its own group ("History") in the same file. A value that is missing, empty (texts),
// not a number (numbers) or otherwise unreadable takes its default, silently.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "app/shell/FontSpec.h"

class QSettings;

enum class Setting {
  kHotkey,
  kSenseFont,
  kPaneFont,
  kUsageFont,
  kWordTextColor,
  kTypeTextColor,
  kDefTextColor,
  kPaneTextColor,
  kShowObscene,
  kShowNames,
  kShowPlaces,
  kLocale,
  kPermutations,
  kSortAnagrams,
  kSystemTray,
  kTips,
  kFilter,
  kNames,
  kAgMin,
  kAgMax,
  kAgNum,
  kPanes,
  kWindowGeometry,
  kSplitterState,
  kMeaningGeometry,
  kTipNo,
  kTipStartUp,
  kTipTimeStamp,
  kAddEntryDialogSize,
  kCustomDatabaseDialogSize,
  kEditEntryDialogSize,
  kCount
};

enum class SettingType {
  kText,   // a string
  kFont,   // a FontSpec string
  kDword,  // an unsigned 32-bit number; colours as 0x00BBGGRR
  kBytes,  // window state kept by Qt
};

struct SettingInfo {
  Setting key;
  const char* name;
  SettingType type;
  const char* default_text;  // kText, kFont
  uint32_t default_number;   // kDword
  bool saved_at_exit;        // false: written by its owner when it changes ("Hotkey")
  const char* group = "Settings";
};

// The table, in the order the values are written at exit.
inline constexpr SettingInfo kSettingTable[] = {
    {Setting::kHotkey, "Hotkey", SettingType::kText, "Ctrl+Alt+T", 0, false},
    {Setting::kSenseFont, "SenseFont", SettingType::kFont, "-16,0,0,0,400,0,0,0,0,0,0,2,18,Arial,0",
     0, true},
    {Setting::kPaneFont, "PaneFont", SettingType::kFont, "-16,0,0,0,400,0,0,0,0,0,0,2,18,Arial,0",
     0, true},
    {Setting::kUsageFont, "UsageFont", SettingType::kFont, "-12,0,0,0,400,0,0,0,0,0,0,2,18,Arial,0",
     0, true},
    {Setting::kWordTextColor, "WordTextColor", SettingType::kDword, "", 0x000000FF, true},
    {Setting::kTypeTextColor, "TypeTextColor", SettingType::kDword, "", 0, true},
    {Setting::kDefTextColor, "DefTextColor", SettingType::kDword, "", 0x00800000, true},
    {Setting::kPaneTextColor, "PaneTextColor", SettingType::kDword, "", 0, true},
    {Setting::kShowObscene, "ShowObscene", SettingType::kDword, "", 0, true},
    {Setting::kShowNames, "ShowNames", SettingType::kDword, "", 1, true},
    {Setting::kShowPlaces, "ShowPlaces", SettingType::kDword, "", 1, true},
    {Setting::kLocale, "Locale", SettingType::kDword, "", 1, true},
    {Setting::kPermutations, "Permutations", SettingType::kDword, "", 1, true},
    {Setting::kSortAnagrams, "SortAnagrams", SettingType::kDword, "", 1, true},
    {Setting::kSystemTray, "SystemTray", SettingType::kDword, "", 0, true},
    {Setting::kTips, "Tips", SettingType::kDword, "", 1, true},
    {Setting::kFilter, "Filter", SettingType::kDword, "", 0, true},
    {Setting::kNames, "Names", SettingType::kDword, "", 1, true},
    {Setting::kAgMin, "AgMin", SettingType::kDword, "", 1, true},
    {Setting::kAgMax, "AgMax", SettingType::kDword, "", 50, true},
    {Setting::kAgNum, "AgNum", SettingType::kDword, "", 1000, true},
    {Setting::kPanes, "Panes", SettingType::kDword, "", 0xFFFFFFFF, true},
    // Kept by this program beside the values above: the window's size and place, and the
    // splitter's position.
    {Setting::kWindowGeometry, "WindowGeometry", SettingType::kBytes, "", 0, true},
    {Setting::kSplitterState, "SplitterState", SettingType::kBytes, "", 0, true},
    // The "Find by Meaning" window's size and place.
    {Setting::kMeaningGeometry, "MeaningGeometry", SettingType::kBytes, "", 0, true},
    // The tip of the day's: the tip shown last, whether it shows at start-up, the tips file's
    // time when it was read. Written by the dialog as it opens and closes.
    {Setting::kTipNo, "TipNo", SettingType::kDword, "", 0, false, "TipOfTheDay"},
    {Setting::kTipStartUp, "StartUp", SettingType::kDword, "", 1, false, "TipOfTheDay"},
    {Setting::kTipTimeStamp, "TimeStamp", SettingType::kText, "", 0, false, "TipOfTheDay"},
    // The sizes the custom-entry dialogs were last given, "WIDTHxHEIGHT"; empty: their
    // natural size.
    {Setting::kAddEntryDialogSize, "AddEntryDialogSize", SettingType::kText, "", 0, true},
    {Setting::kCustomDatabaseDialogSize, "CustomDatabaseDialogSize", SettingType::kText, "", 0,
     true},
    {Setting::kEditEntryDialogSize, "EditEntryDialogSize", SettingType::kText, "", 0, true},
};
inline constexpr int kSettingCount = static_cast<int>(Setting::kCount);
static_assert(std::size(kSettingTable) == kSettingCount, "one row per setting");
static_assert(
    [] {
      for (int i = 0; i < kSettingCount; ++i)
        if (static_cast<int>(kSettingTable[i].key) != i) return false;
      return true;
    }(),
    "rows in the order of the Setting enum");

class Settings {
 public:
  static constexpr char kOrganization[] = "Mirewood Software";
  static constexpr char kApplication[] = "Verbarium 1.4";
  static constexpr char kGroup[] = "Settings";

  // Makes a plain QSettings of this process open the program's settings file: the
  // organization and application names.
  static void UseAsDefaultStore();
  // The settings file.
  static std::unique_ptr<QSettings> OpenStore();

  Settings();  // every value at its default

  // Reads every value. The file is created (empty) when it does not exist; false when it can
  // neither be created nor read and written. A file that is partly garbage is kept as
  // "<name>.damaged" and replaced by what could be read of it, so it can be written again.
  bool Load();
  // Writes every value but "Hotkey" when the file exists; nothing when it does not.
  void Save() const;
  // Writes one value at once ("Hotkey" from the hotkey dialog, "SystemTray" from the tray).
  void WriteNow(Setting key) const;
  // Writes these values to the file at once, in one write of the file.
  void WriteNow(std::initializer_list<Setting> keys) const;

  static const SettingInfo& Info(Setting key) { return kSettingTable[static_cast<int>(key)]; }

  QString Text(Setting key) const;  // kText and kFont values
  uint32_t Number(Setting key) const;
  FontSpec Font(Setting key) const { return FontSpec::Parse(Text(key)); }
  QByteArray Bytes(Setting key) const;

  void SetText(Setting key, const QString& text);
  void SetNumber(Setting key, uint32_t number);
  void SetFont(Setting key, const FontSpec& font) { SetText(key, font.Format()); }
  void SetBytes(Setting key, const QByteArray& bytes);

  // The value as stored (`raw`) read as this setting's type, or its default.
  static QVariant ReadValue(const SettingInfo& info, const QVariant& raw);

 private:
  static QVariant DefaultValue(const SettingInfo& info);
  static QString Key(const SettingInfo& info);
  void WriteValue(QSettings& store, const SettingInfo& info) const;

  std::array<QVariant, kSettingCount> values_;
};
