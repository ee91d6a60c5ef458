// The settings file, the font texts and the lookup history.
#include <QSettings>

#include "app/shell/FontSpec.h"
#include "tests/shell/shell_test_util.h"

namespace {

using shell_test::Stored;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { shell_test::ResetSettings(); }

  static void Store(const QString& group, const QString& name, const QVariant& value) {
    std::unique_ptr<QSettings> store = Settings::OpenStore();
    store->beginGroup(group);
    store->setValue(name, value);
  }
  // Writes the settings file as a user might have edited it.
  static void WriteFile(const QByteArray& text) {
    const QString path = shell_test::SettingsPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
};

TEST_F(SettingsTest, FontTextsParseAndFormat) {
  struct Case {
    const char* text;
    const char* formatted;
    int height;
    int weight;
    const char* face;
  };
  const Case cases[] = {
      {"-12,0,0,0,700,1,0,0,0,0,0,2,18,DejaVu Sans,7",
       "-12,0,0,0,700,1,0,0,0,0,0,2,18,DejaVu Sans,7", -12, 700, "DejaVu Sans"},
      // Text that is no number reads as 0, leading digits as their number; byte fields keep
      // their low eight bits.
      {"12px,x,0,0,bold,257,0,0,0,0,0,2,18,Serif,0", "12,0,0,0,0,1,0,0,0,0,0,2,18,Serif,0", 12, 0,
       "Serif"},
      // The face is cut to 31 characters; everything after the 14th comma is the last number.
      {"-16,0,0,0,400,0,0,0,0,0,0,2,18,ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,5,9",
       "-16,0,0,0,400,0,0,0,0,0,0,2,18,ABCDEFGHIJKLMNOPQRSTUVWXYZ01234,5", -16, 400,
       "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
      // Missing fields read 0.
      {"-20", "-20,0,0,0,0,0,0,0,0,0,0,0,0,,0", -20, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const FontSpec spec = FontSpec::Parse(QString::fromLatin1(c.text));
    EXPECT_EQ(spec.Format(), QString::fromLatin1(c.formatted));
    EXPECT_EQ(spec.height, c.height);
    EXPECT_EQ(spec.weight, c.weight);
    EXPECT_EQ(spec.face, QString::fromLatin1(c.face));
    EXPECT_EQ(FontSpec::Parse(spec.Format()), spec) << "formatting keeps every field";
  }
}

TEST_F(SettingsTest, FontTextsBecomeQtFontsAndBack) {
  const FontSpec spec = FontSpec::Parse(QStringLiteral("-16,0,0,0,700,1,1,0,0,0,0,2,18,Serif,3"));
  const QFont font = spec.ToFont();
  EXPECT_EQ(font.pixelSize(), 16) << "a negative height is the character height in pixels";
  EXPECT_EQ(font.weight(), QFont::Bold);
  EXPECT_TRUE(font.italic() && font.underline() && !font.strikeOut());
  EXPECT_EQ(spec.StyleName(), QStringLiteral("Italic Bold"));
  EXPECT_EQ(spec.PointSize(96), 12);

  QFont chosen;
  chosen.setFamilies({QStringLiteral("Mono, Wide")});
  chosen.setPointSize(9);
  const FontSpec back = spec.WithFont(chosen, 96);
  EXPECT_EQ(back.height, -12);
  EXPECT_EQ(back.face, QStringLiteral("Mono Wide")) << "a comma would end the face field";
  EXPECT_EQ(back.quality, 2) << "fields Qt does not know are kept";
  EXPECT_EQ(back.extra, 3u);
}

TEST_F(SettingsTest, UnreadableValuesTakeTheirDefaults) {
  WriteFile(
      "[Settings]\n"
      "Panes=garbage\n"
      "AgMax=\n"
      "AgNum=0x10\n"
      "WordTextColor=-1\n"
      "SenseFont=\n"
      "PaneFont=-20,0,0,0,400,0,0,0,0,0,0,2,18,Sans,0\n"  // unquoted commas: read as a list
      "Tips=@Variant(garbage)\n"
      "Hotkey=\n");
  Settings settings;
  ASSERT_TRUE(settings.Load());
  EXPECT_EQ(settings.Number(Setting::kPanes), 0xFFFFFFFFu);
  EXPECT_EQ(settings.Number(Setting::kAgMax), 50u);
  EXPECT_EQ(settings.Number(Setting::kAgNum), 16u);
  EXPECT_EQ(settings.Number(Setting::kWordTextColor), 0xFFFFFFFFu);
  EXPECT_EQ(settings.Text(Setting::kSenseFont),
            QStringLiteral("-16,0,0,0,400,0,0,0,0,0,0,2,18,Arial,0"));
  EXPECT_EQ(settings.Font(Setting::kPaneFont).height, -20);
  EXPECT_EQ(settings.Number(Setting::kTips), 1u);
  EXPECT_TRUE(settings.Text(Setting::kHotkey).isEmpty()) << "an empty hotkey stays empty";
}

TEST_F(SettingsTest, GarbageFileStartsWithDefaultsAndIsWrittenAtExit) {
  WriteFile(QByteArray("[History]\nitem0=cat\n\x00\xff[[[\n=\n\x01Settings]]\nPanes", 45));
  Settings settings;
  ASSERT_TRUE(settings.Load());
  EXPECT_EQ(settings.Number(Setting::kPanes), 0xFFFFFFFFu);
  EXPECT_TRUE(QFileInfo::exists(shell_test::SettingsPath() + QStringLiteral(".damaged")));
  EXPECT_EQ(Stored("History/item0").toString(), QStringLiteral("cat"))
      << "what could be read is kept";
  settings.SetNumber(Setting::kAgMin, 3);
  settings.Save();
  Settings again;
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.Number(Setting::kAgMin), 3u);
}

TEST_F(SettingsTest, MissingFileIsCreatedAndEveryValueButTheHotkeyIsWrittenAtExit) {
  Settings settings;
  ASSERT_TRUE(settings.Load());
  EXPECT_TRUE(QFileInfo::exists(Settings::OpenStore()->fileName()));
  settings.SetText(Setting::kHotkey, QStringLiteral("Ctrl+Alt+Q"));
  settings.Save();
  EXPECT_EQ(Stored("Settings/AgMax").toUInt(), 50u);
  EXPECT_FALSE(Stored("Settings/Hotkey").isValid());
  settings.WriteNow(Setting::kHotkey);
  EXPECT_EQ(Stored("Settings/Hotkey").toString(), QStringLiteral("Ctrl+Alt+Q"));
  settings.SetNumber(Setting::kTipNo, 7);
  settings.SetText(Setting::kTipTimeStamp, QStringLiteral("1700000000"));
  settings.WriteNow({Setting::kTipNo, Setting::kTipTimeStamp});
  EXPECT_EQ(Stored("TipOfTheDay/TipNo").toUInt(), 7u);
  EXPECT_EQ(Stored("TipOfTheDay/TimeStamp").toString(), QStringLiteral("1700000000"));
  // A file deleted while the program runs is not written again at exit.
  QFile::remove(Settings::OpenStore()->fileName());
  settings.Save();
  EXPECT_FALSE(QFileInfo::exists(Settings::OpenStore()->fileName()));
}

class HistoryTest : public SettingsTest {
 protected:
  void StoreEntries(const QStringList& entries, const QString& last) {
    for (int i = 0; i < entries.size(); ++i)
      Store(QStringLiteral("History"), QStringLiteral("item%1").arg(i), entries[i]);
    Store(QStringLiteral("History"), QStringLiteral("item"), last);
  }
  void Load() { box_.Load(QStringLiteral("History"), QStringLiteral("item")); }
  QStringList Entries() const {
    QStringList entries;
    for (int i = 0; i < box_.count(); ++i)
      entries << box_.itemText(i);
    return entries;
  }

  CHistoryCombo box_;
};

TEST_F(HistoryTest, LoadStopsAtTheFirstGapAndRestoresTheLastText) {
  struct Case {
    QStringList stored;  // "" leaves a gap
    QString last;
    QStringList loaded;
    int selected;
    QString text;
  };
  const Case cases[] = {
      {{"cat", "dog", "bird", "", "fish"}, "DOG", {"cat", "dog", "bird"}, 1, "dog"},
      {{"cat", "dog"}, "mouse", {"cat", "dog"}, -1, "mouse"},
      {{}, "", {}, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last.toStdString());
    shell_test::ResetSettings();
    StoreEntries(c.stored, c.last);
    Load();
    EXPECT_EQ(Entries(), c.loaded);
    EXPECT_EQ(box_.currentIndex(), c.selected);
    EXPECT_EQ(box_.currentText(), c.text);
  }
}

TEST_F(HistoryTest, AddingMovesARepeatToTheTopAndDropsTheOldest) {
  Load();
  for (int i = 0; i < 26; ++i)
    box_.AddEntry(QStringLiteral("word%1").arg(i));
  EXPECT_EQ(box_.count(), 25);
  EXPECT_EQ(box_.itemText(24), QStringLiteral("word1")) << "the 26th pushed the oldest out";
  box_.AddEntry(QStringLiteral("WORD5"));
  EXPECT_EQ(box_.count(), 25);
  EXPECT_EQ(box_.itemText(0), QStringLiteral("WORD5"));
  EXPECT_EQ(box_.findText(QStringLiteral("word5"), Qt::MatchFixedString | Qt::MatchCaseSensitive),
            -1);
  box_.SetMaximum(3);
  EXPECT_EQ(Entries(), (QStringList{"WORD5", "word25", "word24"}));
}

TEST_F(HistoryTest, SaveWritesTheEntriesAndDeletesStaleOnes) {
  StoreEntries({"a", "b", "c", "d", "e"}, "e");
  Load();
  box_.clear();
  box_.AddEntry(QStringLiteral("x"));
  box_.AddEntry(QStringLiteral("y"));
  box_.setEditText(QStringLiteral("typed"));
  box_.Save(/*add_current_text=*/true);
  EXPECT_EQ(Stored("History/item0").toString(), QStringLiteral("typed"));
  EXPECT_EQ(Stored("History/item2").toString(), QStringLiteral("x"));
  EXPECT_FALSE(Stored("History/item3").isValid());
  EXPECT_FALSE(Stored("History/item4").isValid());
  EXPECT_EQ(Stored("History/item").toString(), QStringLiteral("typed"));
}

TEST_F(HistoryTest, ClearDeletesTheStoredHistory) {
  StoreEntries({"a", "b"}, "b");
  Load();
  box_.setEditText(QStringLiteral("kept"));
  box_.Clear(/*delete_stored=*/true);
  EXPECT_FALSE(Stored("History/item0").isValid());
  EXPECT_FALSE(Stored("History/item").isValid());
  // At exit the box's text becomes the only entry.
  box_.Save(/*add_current_text=*/true);
  EXPECT_EQ(Stored("History/item0").toString(), QStringLiteral("kept"));
}

}  // namespace
