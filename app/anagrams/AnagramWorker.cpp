#include "app/anagrams/AnagramWorker.h"

#include <sys/resource.h>
#include <unistd.h>

#include <system_error>

#include "anagram/jumble.h"
#include "platform/named_event.h"

namespace {

// The lowest priority of a time-shared thread. (Linux keeps a nice value per thread.)
void LowerThreadPriority() {
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
}

}  // namespace

AnagramWorker::AnagramWorker(JumbleEngine* engine, platform::NamedEvent* stop, Notify notify,
                             Priority priority)
    : engine_(engine), stop_(stop), notify_(std::move(notify)), priority_(priority) {}

AnagramWorker::~AnagramWorker() {
  Stop();
}

bool AnagramWorker::Start(const anagram::AnagramRequestArgs& args) {
  Stop();
  if (args.word.empty() || engine_ == nullptr) return false;
  try {
    thread_ = std::thread(&AnagramWorker::Run, this, args);
  } catch (const std::system_error&) {
    return false;
  }
  active_ = true;
  return true;
}

bool AnagramWorker::Stop() {
  if (!active_) return false;
  platform::SetNamedEvent(stop_);
  thread_.join();
  platform::ResetNamedEvent(stop_);
  std::lock_guard<std::mutex> lock(mutex_);
  pending_.clear();
  finished_ = false;
  found_ = 0;
  active_ = false;
  return true;
}

AnagramWorker::Batch AnagramWorker::Take() {
  Batch batch;
  if (!active_) return batch;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    batch.phrases.swap(pending_);
    batch.finished = finished_;
    batch.found = found_;
    if (finished_) {
      finished_ = false;
      found_ = 0;
    }
  }
  if (batch.finished) {
    // The thread has nothing left to do but return.
    thread_.join();
    active_ = false;
  }
  return batch;
}

void AnagramWorker::Run(anagram::AnagramRequestArgs args) {
  if (priority_ == Priority::kLowest) LowerThreadPriority();
  GenerateAnagrams(engine_, args.word.c_str(), args.FilterArgument(), &AnagramWorker::Deliver, this,
                   args.min_length, args.max_length, args.permutations, args.max_anagrams);
  std::lock_guard<std::mutex> lock(mutex_);
  finished_ = true;
  if (notify_) notify_();
}

void AnagramWorker::Deliver(const char* phrase, void* context) {
  auto* worker = static_cast<AnagramWorker*>(context);
  // Once the owner stops the request, nothing more of it is queued; the engine ends the
  // request at its next test of the event.
  if (phrase == nullptr || platform::TestNamedEvent(worker->stop_)) return;
  std::lock_guard<std::mutex> lock(worker->mutex_);
  const bool first = worker->pending_.empty();
  worker->pending_.emplace_back(phrase);
  ++worker->found_;
  // Under the lock, so that the owner cannot take this phrase between queueing and telling.
  if (first && worker->notify_) worker->notify_();
}
