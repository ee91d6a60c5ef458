#include "app/shell/FirstLookupWarmUp.h"

#include <QFontMetrics>
#include <QString>

#include "app/lookup/lookup.h"
#include "app/panes/SplitterTabFrame.h"

namespace {

// A word with senses in every part of speech and words in most panes.
constexpr char kWarmUpWord[] = "light";

}  // namespace

void WarmUpFirstLookup(const NymdexEngine* engine, CustomDatabase** custom, uint32_t panes_mask,
                       CSplitterTabFrame* frame, const QList<QFont>& fonts) {
  if (engine != nullptr) {
    lookup::LookupSession session(engine, custom);
    session.set_panes_mask(panes_mask);
    session.Lookup(kWarmUpWord);
    frame->MakeViews(session.tabs());
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
