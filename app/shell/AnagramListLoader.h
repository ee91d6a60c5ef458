// AnagramListLoader: loads the anagram word list ("1001A.dat") on a thread of its own, so that
// the window does not wait for it before its first paint. The result comes back on the
// owner's thread: Loaded hands the engine over (the receiver owns it from then on), Failed
// gives the start-up's one message for the status (the "corrupted" message for a failed
// integrity check, the "Error reading" one for any other failure).
#pragma once

#include <QObject>
#include <QString>
#include <mutex>
#include <string>
#include <thread>

struct JumbleEngine;
Q_DECLARE_OPAQUE_POINTER(JumbleEngine*)

class AnagramListLoader : public QObject {
  Q_OBJECT

 public:
  explicit AnagramListLoader(QObject* parent = nullptr);
  ~AnagramListLoader() override;  // as Cancel
  AnagramListLoader(const AnagramListLoader&) = delete;
  AnagramListLoader& operator=(const AnagramListLoader&) = delete;

  // Starts loading the word list at `path`; does nothing while a load runs or after one ended.
  void Load(std::string path);
  // Waits for a running load and frees what it loaded; nothing is reported after this, and
  // nothing loads any more.
  void Cancel();
  // From Load until the result has been reported.
  bool pending() const { return pending_; }

  // The message a start-up status of the anagram engine gives the user; empty for success.
  static QString MessageFor(uint32_t status);

 signals:
  void Loaded(JumbleEngine* engine);
  void Failed(const QString& message);

 private:
  void Finish();

  std::thread thread_;
  bool started_ = false;
  bool pending_ = false;
  std::mutex mutex_;  // guards the result, written on the loading thread
  uint32_t status_ = 0;
  JumbleEngine* engine_ = nullptr;
};
