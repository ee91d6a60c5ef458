// The program's names: its data files, named events, and where and under which names its
// settings are kept. Every part of the program takes them from here.
#pragma once

namespace program {

// The data folder, below the current directory at start-up (platform/data_path.h composes the
// paths), and its files.
inline constexpr char kDataFolder[] = "Data";
inline constexpr char kSynsetFile[] = "1001L.dat";        // the lexical engine's synsets
inline constexpr char kWordIndexFile[] = "1001W.dat";     // its word index
inline constexpr char kTagFile[] = "1001T.dat";           // its glosses
inline constexpr char kAnagramFile[] = "1001A.dat";       // the anagram word list
inline constexpr char kMeaningIndexFile[] = "1001S.dat";  // the search by meaning's index
// Irregular forms and their base forms.
inline constexpr char kIrregularFormsFile[] = "1001E.dat";
inline constexpr char kCustomIndexFile[] = "1001M.idx";
inline constexpr char kCustomDataFile[] = "1001M.dat";
inline constexpr char kTipsFile[] = "tips.dat";
inline constexpr char kSplashFile[] = "verbarium.bmp";

// Named events that stop work in progress; the engines test them without waiting.
inline constexpr char kStopNymdexEvent[] = "StopNymdexEvent";
inline constexpr char kStopAnagramsEvent[] = "StopAnagrams";

// The name under which a running instance takes a later start's command line.
inline constexpr char kSingleInstanceName[] = "{49E4CD26-9489-4474-91B0-2A70F6C23097}";

// Settings: the company and program they are kept under, and their groups.
inline constexpr char kCompanyName[] = "Mirewood Software";
inline constexpr char kSettingsName[] = "Verbarium 1.4";
inline constexpr char kSettingsGroup[] = "Settings";
inline constexpr char kHistoryGroup[] = "History";
inline constexpr char kTipOfTheDayGroup[] = "TipOfTheDay";

// Values of the "Settings" group.
inline constexpr char kHotkeyValue[] = "Hotkey";
inline constexpr char kSenseFontValue[] = "SenseFont";
inline constexpr char kPaneFontValue[] = "PaneFont";
inline constexpr char kUsageFontValue[] = "UsageFont";
inline constexpr char kWordTextColorValue[] = "WordTextColor";
inline constexpr char kTypeTextColorValue[] = "TypeTextColor";
inline constexpr char kDefTextColorValue[] = "DefTextColor";
inline constexpr char kPaneTextColorValue[] = "PaneTextColor";
inline constexpr char kShowObsceneValue[] = "ShowObscene";
inline constexpr char kShowNamesValue[] = "ShowNames";
inline constexpr char kShowPlacesValue[] = "ShowPlaces";
inline constexpr char kLocaleValue[] = "Locale";
inline constexpr char kPermutationsValue[] = "Permutations";  // anagram options
inline constexpr char kSortAnagramsValue[] = "SortAnagrams";
inline constexpr char kFilterValue[] = "Filter";
inline constexpr char kAnagramMinValue[] = "AgMin";
inline constexpr char kAnagramMaxValue[] = "AgMax";
inline constexpr char kAnagramNumberValue[] = "AgNum";
inline constexpr char kSystemTrayValue[] = "SystemTray";
inline constexpr char kTipsValue[] = "Tips";
inline constexpr char kNamesValue[] = "Names";
inline constexpr char kPanesValue[] = "Panes";  // the mask of relation panes

// Values of the "History" group: the entries "item0", "item1", ... and the text of the lookup
// box at exit.
inline constexpr char kHistoryEntryPrefix[] = "item";

// Values of the "TipOfTheDay" group.
inline constexpr char kTipNumberValue[] = "TipNo";
inline constexpr char kTipStartUpValue[] = "StartUp";
inline constexpr char kTipTimeStampValue[] = "TimeStamp";

}  // namespace program
