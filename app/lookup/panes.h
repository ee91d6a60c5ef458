// The output panes: the 23 pane kinds (22 relations and "Anagrams"), which kinds each
// part-of-speech selection code tries, and the "Panes" mask that hides relation panes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lookup {

inline constexpr int kPaneKindCount = 23;
inline constexpr int kAnagramsPane = 22;  // the anagram view; every other kind is a relation
inline constexpr uint32_t kAllPanes = 0xFFFFFFFF;  // the "Panes" setting's default

// Tab title of a pane kind ("Synonyms" ... "Pertainym", "Anagrams"); an empty text outside
// 0 to 22. Relation kinds 0 to 21 are the relations in the engine's pane order.
const char* PaneTitle(int kind);

// The kind whose title is `title`: an exact match, else one without regard to ASCII case,
// else a relation's name or custom tab label ("Hypernyms", "See Also"); -1 when none.
int PaneKindFromTitle(std::string_view title);

// The kinds a part-of-speech selection code tries, in ascending order; none for 0 and for a
// code outside 0 to 16.
const std::vector<int>& PaneSetForCode(int code);

// True when the "Panes" mask lets a kind appear: bit k for relation kind k; "Anagrams" is
// never hidden.
bool PaneEnabled(int kind, uint32_t mask);

// The tab to select after the tabs were rebuilt: the tab of the kind that was selected before
// (relation kinds only), else tab 0; -1 when there are no tabs.
int TabToSelect(const std::vector<int>& tab_kinds, int previous_kind);

}  // namespace lookup
