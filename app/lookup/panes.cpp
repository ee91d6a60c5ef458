#include "app/lookup/panes.h"

#include <array>

#include "app/lookup/text_rules.h"
#include "engine/nymdex.h"

namespace lookup {

namespace {

static_assert(kAnagramsPane == kRelationCount, "the anagram view follows the relations");

// Kinds tried per part-of-speech selection code. The noun, verb, adjective and adverb sets
// are not simply combined: each mixed code has its own list.
const std::array<std::vector<int>, 17>& PaneSets() {
  static const std::array<std::vector<int>, 17> sets = {{
      {},
      {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22},
      {0, 1, 2, 4, 10, 11, 13, 15, 17, 18, 19, 22},
      {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22},
      {0, 1, 6, 7, 8, 11, 13, 15, 20, 21, 22},
      {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 20, 21, 22},
      {0, 1, 2, 4, 6, 7, 8, 10, 11, 13, 15, 17, 18, 19, 20, 21, 22},
      {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22},
      {0, 1, 9, 11, 13, 15, 22},
      {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15, 16, 22},
      {0, 1, 2, 4, 9, 10, 11, 13, 15, 17, 18, 19, 22},
      {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22},
      {0, 1, 6, 7, 8, 9, 11, 13, 15, 20, 21, 22},
      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 20, 21, 22},
      {0, 1, 2, 4, 6, 7, 8, 9, 10, 11, 13, 15, 17, 18, 19, 20, 21, 22},
      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22},
      {0, 22},
  }};
  return sets;
}

}  // namespace

const char* PaneTitle(PaneKind kind) {
  const std::optional<Relation> relation = RelationOf(kind);
  return relation ? NamesOf(*relation).pane_title : "Anagrams";
}

const char* PaneTitle(int kind) {
  const std::optional<PaneKind> pane = PaneKindAt(kind);
  return pane ? PaneTitle(*pane) : "";
}

std::optional<PaneKind> FindPaneKind(std::string_view title) {
  for (int kind = 0; kind < kPaneKindCount; ++kind) {
    if (title == PaneTitle(kind)) return PaneKindAt(kind);
  }
  for (int kind = 0; kind < kPaneKindCount; ++kind) {
    if (EqualsIgnoringAsciiCase(title, PaneTitle(kind))) return PaneKindAt(kind);
  }
  for (int kind = 0; kind < kRelationCount; ++kind) {
    if (EqualsIgnoringAsciiCase(title, kRelationNames[kind].name) ||
        EqualsIgnoringAsciiCase(title, kRelationNames[kind].tab_label)) {
      return PaneKindAt(kind);
    }
  }
  return std::nullopt;
}

int PaneKindFromTitle(std::string_view title) {
  const std::optional<PaneKind> kind = FindPaneKind(title);
  return kind ? PaneIndex(*kind) : -1;
}

const std::vector<int>& PaneSetForCode(int code) {
  const auto& sets = PaneSets();
  return code >= 0 && code <= 16 ? sets[code] : sets[0];
}

bool PaneEnabled(PaneKind kind, uint32_t mask) {
  return kind == PaneKind::kAnagrams || (mask & PaneMaskBit(kind)) != 0;
}

bool PaneEnabled(int kind, uint32_t mask) {
  const std::optional<PaneKind> pane = PaneKindAt(kind);
  return pane && PaneEnabled(*pane, mask);
}

int TabToSelect(const std::vector<int>& tab_kinds, int previous_kind) {
  if (tab_kinds.empty()) return -1;
  if (previous_kind >= 0 && previous_kind < kAnagramsPane) {
    for (size_t i = 0; i < tab_kinds.size(); ++i) {
      if (tab_kinds[i] == previous_kind) return static_cast<int>(i);
    }
  }
  return 0;
}

}  // namespace lookup
