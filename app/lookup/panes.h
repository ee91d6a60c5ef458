// The output panes: the 23 pane kinds (22 relations and "Anagrams"), which kinds each
// part-of-speech selection code tries, and the "Panes" mask that hides relation panes.
//
// A kind is also known by its number (0 to 22, its place in tab order): the functions that take
// an int take that number, and PaneTab::kind holds it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/relations.h"

namespace lookup {

// The relations in their order (engine/relations.h), then the anagram view.
// clang-format off
enum class PaneKind : uint8_t {
#define VERBARIUM_PANE_KIND(Name, ...) k##Name,
  VERBARIUM_RELATIONS(VERBARIUM_PANE_KIND)
#undef VERBARIUM_PANE_KIND
  kAnagrams,
};
// clang-format on

inline constexpr int kAnagramsPane = static_cast<int>(PaneKind::kAnagrams);
inline constexpr int kPaneKindCount = kAnagramsPane + 1;  // 23
inline constexpr uint32_t kAllPanes = 0xFFFFFFFF;         // the "Panes" setting's default

constexpr int PaneIndex(PaneKind kind) {
  return static_cast<int>(kind);
}

// The kind numbered `index`; none outside 0 to 22.
constexpr std::optional<PaneKind> PaneKindAt(int index) {
  if (index < 0 || index >= kPaneKindCount) return std::nullopt;
  return static_cast<PaneKind>(index);
}

// The pane kind that shows a relation, and the relation a kind shows (none for the anagram
// view).
constexpr PaneKind PaneOf(Relation relation) {
  return static_cast<PaneKind>(RelationIndex(relation));
}
constexpr std::optional<Relation> RelationOf(PaneKind kind) {
  if (kind == PaneKind::kAnagrams) return std::nullopt;
  return static_cast<Relation>(PaneIndex(kind));
}

// The bit of the "Panes" mask that lets a relation pane appear; 0 for the anagram view, which
// the mask never hides.
constexpr uint32_t PaneMaskBit(PaneKind kind) {
  return kind == PaneKind::kAnagrams ? 0 : uint32_t{1} << PaneIndex(kind);
}

// Tab title of a pane kind ("Synonyms" ... "Pertainym", "Anagrams"); an empty text for a
// number outside 0 to 22.
const char* PaneTitle(PaneKind kind);
const char* PaneTitle(int kind);

// The kind whose title is `title`: an exact match, else one without regard to ASCII case,
// else a relation's name or custom tab label ("Hypernyms", "See Also"); none (-1) when none.
std::optional<PaneKind> FindPaneKind(std::string_view title);
int PaneKindFromTitle(std::string_view title);

// The kinds a part-of-speech selection code tries, in ascending order; none for 0 and for a
// code outside 0 to 16.
const std::vector<int>& PaneSetForCode(int code);

// True when the "Panes" mask lets a kind appear (PaneMaskBit); "Anagrams" is never hidden.
bool PaneEnabled(PaneKind kind, uint32_t mask);
bool PaneEnabled(int kind, uint32_t mask);

// The tab to select after the tabs were rebuilt: the tab of the kind that was selected before
// (relation kinds only), else tab 0; -1 when there are no tabs.
int TabToSelect(const std::vector<int>& tab_kinds, int previous_kind);

}  // namespace lookup
