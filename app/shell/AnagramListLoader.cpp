#include "app/shell/AnagramListLoader.h"

#include "anagram/jumble.h"
#include "app/lookup/custom_entry.h"

AnagramListLoader::AnagramListLoader(QObject* parent) : QObject(parent) {}

AnagramListLoader::~AnagramListLoader() {
  Cancel();
}

QString AnagramListLoader::MessageFor(uint32_t status) {
  if (status == kJumbleOk) return {};
  return QString::fromLatin1(status == kJumbleCorrupt ? lookup::kCorruptedDataMessage
                                                      : lookup::kReadErrorMessage);
}

void AnagramListLoader::Load(std::string path) {
  if (started_) return;
  started_ = true;
  pending_ = true;
  thread_ = std::thread([this, path = std::move(path)] {
    JumbleEngine* engine = nullptr;
    const uint32_t status = Jumble_StartUp(&engine, path.c_str());
    {
      std::lock_guard<std::mutex> lock(mutex_);
      status_ = status;
      engine_ = status == kJumbleOk ? engine : nullptr;
    }
    // A loader destroyed before this call runs takes it off the queue with it.
    QMetaObject::invokeMethod(this, &AnagramListLoader::Finish, Qt::QueuedConnection);
  });
}

void AnagramListLoader::Cancel() {
  started_ = true;  // a Load after this does nothing
  if (thread_.joinable()) thread_.join();
  pending_ = false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (engine_ != nullptr) Jumble_ShutDown(&engine_);
  engine_ = nullptr;
}

void AnagramListLoader::Finish() {
  if (!pending_) return;  // cancelled meanwhile
  if (thread_.joinable()) thread_.join();
  pending_ = false;
  JumbleEngine* engine = nullptr;
  uint32_t status = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::swap(engine, engine_);
    status = status_;
  }
  if (engine != nullptr) {
    emit Loaded(engine);
  } else {
    emit Failed(MessageFor(status));
  }
}
