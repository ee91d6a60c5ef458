#include "app/meaning_ui/MeaningSearchRunner.h"

#include <utility>

MeaningSearchRunner::MeaningSearchRunner(const NymdexEngine* engine, std::string index_path,
                                         QObject* parent)
    : QObject(parent),
      search_(std::make_shared<meaning::MeaningSearch>(engine, std::move(index_path))) {
  pool_.setMaxThreadCount(1);
  pool_.setExpiryTimeout(-1);  // the thread stays for the next search
}

MeaningSearchRunner::~MeaningSearchRunner() {
  Wait();
}

int MeaningSearchRunner::Start(const QString& description,
                               std::shared_ptr<const meaning::CustomEntries> custom, size_t count) {
  const int number = ++latest_;
  pool_.start([this, number, text = description.toStdString(), entries = std::move(custom), count] {
    if (number != latest_.load()) return;  // a newer search came meanwhile
    auto result =
        std::make_shared<const meaning::MeaningResult>(search_->Search(text, *entries, count));
    // Delivered on the runner's thread; a result that a newer search overtook is dropped there.
    QMetaObject::invokeMethod(
        this,
        [this, number, result] {
          if (number == latest_.load()) emit Finished(number, *result);
        },
        Qt::QueuedConnection);
  });
  return number;
}

void MeaningSearchRunner::Wait() {
  ++latest_;  // nothing still waiting runs, nothing running is delivered
  pool_.waitForDone();
}
