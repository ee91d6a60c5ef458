// Runs searches by meaning on a worker thread of its own, so that the window never waits for
// one (the first search also reads the index). Searches are numbered as they start; only the
// newest one's result is delivered, so an older search that ends late never replaces what a
// newer one found, and a search still waiting when a newer one starts is skipped.
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <string>

#include "app/meaning/meaning_search.h"

class MeaningSearchRunner : public QObject {
  Q_OBJECT

 public:
  // `engine` must stay up until Wait returns or the runner is destroyed.
  MeaningSearchRunner(const NymdexEngine* engine, std::string index_path,
                      QObject* parent = nullptr);
  ~MeaningSearchRunner() override;  // waits for the search that runs

  // Starts a search of `description` over the built-in data and `custom` (read on the calling
  // thread, then only read) for the `count` best words; returns its number.
  int Start(const QString& description, std::shared_ptr<const meaning::CustomEntries> custom,
            size_t count);
  // The number of the newest search.
  int latest() const { return latest_.load(); }
  // Waits until no search runs (before the engine closes).
  void Wait();

 signals:
  // The newest search ended; on the runner's thread.
  void Finished(int number, const meaning::MeaningResult& result);

 private:
  std::shared_ptr<const meaning::MeaningSearch> search_;
  std::atomic<int> latest_{0};
  QThreadPool pool_;  // one thread: searches run one at a time, in order
};
