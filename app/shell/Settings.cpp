#include "app/shell/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QStringList>

namespace {

// A number as a settings file may hold it: decimal (a negative one as its 32-bit two's
// complement, as the registry keeps it) or hexadecimal with "0x".
bool ParseNumber(QString text, uint32_t* number) {
  text = text.trimmed();
  bool ok = false;
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    *number = text.mid(2).toUInt(&ok, 16);
    return ok;
  }
  *number = text.toUInt(&ok, 10);
  if (ok) return true;
  const int negative = text.toInt(&ok, 10);
  if (ok) *number = static_cast<uint32_t>(negative);
  return ok;
}

// The text of a stored value. An INI line with unquoted commas reads as a list; its pieces
// are joined again (a hand-edited font text).
bool StoredText(const QVariant& raw, QString* text) {
  if (raw.typeId() == QMetaType::QStringList) {
    *text = raw.toStringList().join(QLatin1Char(','));
    return true;
  }
  if (raw.typeId() == QMetaType::QString) {
    *text = raw.toString();
    return true;
  }
  return false;
}

// A file Qt cannot parse whole is never written again, so nothing would be kept from then on.
// What could be read is written to a fresh file; the damaged one stays beside it.
std::unique_ptr<QSettings> RewriteDamagedFile(std::unique_ptr<QSettings> store) {
  const QString path = store->fileName();
  QMap<QString, QVariant> values;
  for (const QString& key : store->allKeys())
    values.insert(key, store->value(key));
  store.reset();
  const QString damaged = path + QStringLiteral(".damaged");
  QFile::remove(damaged);
  if (!QFile::rename(path, damaged)) return Settings::OpenStore();
  QFile created(path);
  if (!created.open(QIODevice::WriteOnly)) return Settings::OpenStore();
  created.close();
  store = Settings::OpenStore();
  for (auto it = values.cbegin(); it != values.cend(); ++it)
    store->setValue(it.key(), it.value());
  store->sync();
  return store;
}

}  // namespace

void Settings::UseAsDefaultStore() {
  QCoreApplication::setOrganizationName(QString::fromLatin1(kOrganization));
  QCoreApplication::setApplicationName(QString::fromLatin1(kApplication));
}

std::unique_ptr<QSettings> Settings::OpenStore() {
  // The native format of Linux is an INI file named ".conf".
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QString::fromLatin1(kOrganization),
                                     QString::fromLatin1(kApplication));
}

Settings::Settings() {
  for (const SettingInfo& info : kSettingTable)
    values_[static_cast<int>(info.key)] = DefaultValue(info);
}

QVariant Settings::DefaultValue(const SettingInfo& info) {
  switch (info.type) {
    case SettingType::kText:
    case SettingType::kFont:
      return QString::fromLatin1(info.default_text);
    case SettingType::kDword:
      return info.default_number;
    case SettingType::kBytes:
      return QByteArray();
  }
  return {};
}

QVariant Settings::ReadValue(const SettingInfo& info, const QVariant& raw) {
  QString text;
  switch (info.type) {
    case SettingType::kText:
      // A missing "Hotkey" takes its default; an empty one stays empty (start-up fills it).
      if (raw.isValid() && StoredText(raw, &text)) return text;
      break;
    case SettingType::kFont:
      if (StoredText(raw, &text) && !text.isEmpty()) return FontSpec::Parse(text).Format();
      break;
    case SettingType::kDword: {
      // Numbers written by this process come back as numbers, those of the file as texts.
      switch (raw.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
          return static_cast<uint32_t>(raw.toLongLong());
        default:
          break;
      }
      uint32_t number = 0;
      if (StoredText(raw, &text) && ParseNumber(text, &number)) return number;
      break;
    }
    case SettingType::kBytes:
      if (raw.typeId() == QMetaType::QByteArray) return raw.toByteArray();
      break;
  }
  return DefaultValue(info);
}

bool Settings::Load() {
  std::unique_ptr<QSettings> store = OpenStore();
  const QFileInfo file(store->fileName());
  if (!file.exists()) {
    // Like a registry key that is created when missing: an empty file.
    if (!QDir().mkpath(file.absolutePath())) return false;
    QFile created(file.absoluteFilePath());
    if (!created.open(QIODevice::WriteOnly)) return false;
    created.close();
    store = OpenStore();
  }
  // Qt parses the file's sections on first use: reading every key finds a damaged one.
  store->allKeys();
  if (store->status() == QSettings::FormatError) store = RewriteDamagedFile(std::move(store));
  if (store->status() == QSettings::AccessError || !store->isWritable()) return false;
  for (const SettingInfo& info : kSettingTable)
    values_[static_cast<int>(info.key)] = ReadValue(info, store->value(Key(info)));
  return true;
}

QString Settings::Key(const SettingInfo& info) {
  return QString::fromLatin1(info.group) + QLatin1Char('/') + QString::fromLatin1(info.name);
}

void Settings::WriteValue(QSettings& store, const SettingInfo& info) const {
  store.setValue(Key(info), values_[static_cast<int>(info.key)]);
}

void Settings::Save() const {
  std::unique_ptr<QSettings> store = OpenStore();
  if (!QFileInfo::exists(store->fileName())) return;
  for (const SettingInfo& info : kSettingTable)
    if (info.saved_at_exit) WriteValue(*store, info);
  store->sync();
}

void Settings::WriteNow(Setting key) const {
  WriteNow({key});
}

void Settings::WriteNow(std::initializer_list<Setting> keys) const {
  std::unique_ptr<QSettings> store = OpenStore();
  for (Setting key : keys)
    WriteValue(*store, Info(key));
  store->sync();
}

QString Settings::Text(Setting key) const {
  return values_[static_cast<int>(key)].toString();
}

uint32_t Settings::Number(Setting key) const {
  return values_[static_cast<int>(key)].toUInt();
}

QByteArray Settings::Bytes(Setting key) const {
  return values_[static_cast<int>(key)].toByteArray();
}

void Settings::SetText(Setting key, const QString& text) {
  values_[static_cast<int>(key)] = text;
}

void Settings::SetNumber(Setting key, uint32_t number) {
  values_[static_cast<int>(key)] = number;
}

void Settings::SetBytes(Setting key, const QByteArray& bytes) {
  values_[static_cast<int>(key)] = bytes;
}
