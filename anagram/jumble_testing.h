// A switch of the anagram engine for tests that compare its search with and without the
// memory of dead ends (anagram/jumble.cpp): the results must not differ, only the time.
#pragma once

// On by default. Takes effect from the next request.
void SetDeadEndMemoryForTesting(bool on);
