#include "app/shell/FirstLookupWarmUp.h"

#include <QFontMetrics>
#include <QString>

#include "app/lookup/lookup.h"

namespace {

// A word with senses in every part of speech and words in most panes.
constexpr char kWarmUpWord[] = "light";

}  // namespace

void WarmUpFirstLookup(const NymdexEngine* engine, CustomDatabase** custom,
                       const QList<QFont>& fonts) {
  if (engine != nullptr) {
    lookup::LookupSession session(engine, custom);
    session.Lookup(kWarmUpWord);
  }
  const QString sample = QStringLiteral("Warm-up: the quick brown fox (n.) jumps; 0123456789");
  for (const QFont& font : fonts) {
    for (const bool bold : {false, true}) {
      for (const bool italic : {false, true}) {
        QFont face = font;
        face.setBold(bold);
        face.setItalic(italic);
        QFontMetrics(face).boundingRect(sample);
      }
    }
  }
}
