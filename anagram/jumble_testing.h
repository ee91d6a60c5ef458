// Switches of the anagram engine for tests that compare its search with and without the
// look-ahead (anagram/spelling_bound.h) and the limits on a phrase's words that come with it:
// the results must not differ, only the time.
#pragma once

#include <cstdint>

// On by default. Takes effect from the next request.
void SetLookAheadForTesting(bool on);

// How many looks the first round of each of the look-ahead's looks may take before it is cut
// short and asked again (see jumble::SpellingBound); 0 for the engine's own number. Takes effect
// from the next request.
void SetLookRoundsForTesting(uint32_t first_round_looks);
