// A switch of the anagram engine for tests that compare its search with and without the
// look-ahead (anagram/spelling_bound.h) and the limits on a phrase's words that come with it:
// the results must not differ, only the time.
#pragma once

// On by default. Takes effect from the next request.
void SetLookAheadForTesting(bool on);
