// The anagram engine: finds the single words and multi-word phrases that spell exactly the
// letters of a word or phrase, each letter once, from the word list "1001A.dat" (or from the
// lexical engine's word index).
//
// One request runs at a time per process: the settings (word lengths, maximum count,
// permutations) and the request's working state are shared by every engine. A running request
// is stopped from another thread by setting the named event "StopAnagrams"; the engine only
// tests it, without waiting. Functions never throw and never print.
#pragma once

#include <cstdint>

#include "engine/data_format.h"

struct JumbleEngine;
struct NymdexEngine;

// Status codes of the start-up functions.
inline constexpr uint32_t kJumbleOk = 0;
inline constexpr uint32_t kJumbleNoMemory = 7;
inline constexpr uint32_t kJumbleNullArgument = 8;  // also: stop event or file status failed
inline constexpr uint32_t kJumbleCannotOpen = 9;
inline constexpr uint32_t kJumbleBadHeader = 11;  // header unreadable, or file of 32 bytes or less
inline constexpr uint32_t kJumbleCorrupt = 14;    // digest unreadable, digest or magic mismatch

inline constexpr uint32_t kJumbleMagic = nymdex::kAnagramFileMagic;
inline constexpr int kJumbleMaxInput = 127;  // longest input, longest phrase (characters)

// Receives one anagram: lower-case words separated by single spaces, NUL-terminated, valid
// only during the call. Called on the thread that runs GenerateAnagrams.
using AnagramCallback = void (*)(const char* phrase, void* context);

// Loads the word list file at `path`. On kJumbleOk the new engine is stored in *handle; on any
// other status nothing is stored and nothing is left to release. With a second core the file's
// digest is computed on a thread of its own while the list is read; the status is still that
// of the first failing check in the order: digest, header, digest and magic compared, list.
uint32_t Jumble_StartUp(JumbleEngine** handle, const char* path);

// Builds an engine from the word index of a running lexical engine (every entry's word, in
// index order). kJumbleOk, kJumbleNoMemory, or kJumbleNullArgument (null argument, stop event
// unavailable).
uint32_t Jumble_StartUp2(JumbleEngine** handle, const NymdexEngine* nymdex);

// Runs one request and returns when it has ended, normally or through the stop event; every
// anagram has been handed to `callback` (when not null) before it returns. Letters are the
// input's 'a' to 'z' ('_' counts as a space; capitals and everything else are dropped).
// `filter` (null for none) is a list of word lengths such as "4-3". A negative
// `min_length`, `max_length` or `max_anagrams` keeps that setting from the previous request
// (initially 0, 128, 0); `permutations` is always replaced (non-zero means on). Only the
// first kJumbleMaxInput characters of the input are read; a phrase longer than that is not
// delivered. A null engine returns at once and changes nothing; a null input counts as empty.
void GenerateAnagrams(JumbleEngine* engine, const char* input, const char* filter,
                      AnagramCallback callback, void* context, int32_t min_length,
                      int32_t max_length, int32_t permutations, int32_t max_anagrams);

// Frees the engine and sets *handle to null; kJumbleOk always (a null *handle does nothing).
// Must not run while a request of this engine runs.
uint32_t Jumble_ShutDown(JumbleEngine** handle);
