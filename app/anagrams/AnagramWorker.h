// AnagramWorker: runs anagram requests, one at a time, on a thread of its own at the lowest
// priority, and hands what they find to its owner's thread without ever waiting for it.
//
// The engine calls back on the worker thread for each anagram; the phrase is copied into a
// queue under a short lock, and the owner is told (`notify`, called on the worker thread with
// that lock held) when the queue turns non-empty and when the request ends. The owner takes the
// whole queue at its next turn (Take), so however fast anagrams come, it sees one batch per
// turn, and each notification finds something to take unless the request has already been
// handed over. Because the worker never waits for the owner, stopping (set "StopAnagrams", wait
// for the thread, clear the event) cannot deadlock with a delivery under way; `notify` must
// neither wait for the owner nor call the worker (post an event, signal a condition).
//
// Start, Stop, Take and the destructor belong to the owner's thread. Starting stops the running
// request first. What a stopped request found but the owner had not taken is dropped, so a
// batch only ever holds phrases of the request the owner started last.
//
// No Qt here: the anagram view drives it, and the stress test runs it under ThreadSanitizer.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "anagram/anagram_options.h"

struct JumbleEngine;
namespace platform {
struct NamedEvent;
}

class AnagramWorker {
 public:
  using Notify = std::function<void()>;

  struct Batch {
    std::vector<std::string> phrases;  // in delivery order
    bool finished = false;             // the request has ended: `found` anagrams in all
    size_t found = 0;
  };

  enum class Priority {
    kLowest,  // the program's: the interface and everything else the user runs go first
    kNormal,  // for tests that must not wait on a busy machine's scheduler
  };

  // `stop` is the "StopAnagrams" event the engine tests (a manually reset one).
  AnagramWorker(JumbleEngine* engine, platform::NamedEvent* stop, Notify notify,
                Priority priority = Priority::kLowest);
  ~AnagramWorker();  // stops a running request
  AnagramWorker(const AnagramWorker&) = delete;
  AnagramWorker& operator=(const AnagramWorker&) = delete;

  // Stops the running request, then starts `args` on a new thread. False, with nothing
  // started, for an empty word, without an engine, or when no thread can be made.
  bool Start(const anagram::AnagramRequestArgs& args);

  // The engine of the requests started from now on (one that was still loading when the
  // worker was made). Only while no request is active.
  void SetEngine(JumbleEngine* engine) { engine_ = engine; }

  // Sets the stop event, waits until the thread has ended and clears the event; what was not
  // taken is dropped. True when a request was active.
  bool Stop();

  // True from Start until Take has handed over the request's end, or until Stop.
  bool active() const { return active_; }

  // What arrived since the last Take; nothing when no request is active.
  Batch Take();

 private:
  void Run(anagram::AnagramRequestArgs args);
  static void Deliver(const char* phrase, void* context);

  JumbleEngine* engine_;
  platform::NamedEvent* const stop_;
  const Notify notify_;
  const Priority priority_;
  std::thread thread_;
  bool active_ = false;

  std::mutex mutex_;  // guards the three below, shared with the worker thread
  std::vector<std::string> pending_;
  bool finished_ = false;
  size_t found_ = 0;
};
