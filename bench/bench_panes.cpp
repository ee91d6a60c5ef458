// The views of a lookup on the compiled dictionary, offscreen: filling the senses list (a new
// word, and a refresh of the same word), filling the pane frame with the tabs of "cat", and
// painting both; the whole of it must stay within one frame (16 ms). The data folder is
// VERBARIUM_DATA_DIR (environment, else the build's Data/).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QSplitter>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/lookup/lookup.h"
#include "app/panes/SenseListView.h"
#include "app/panes/SplitterTabFrame.h"
#include "bench/data_fixture.h"
#include "engine/nymdex.h"

namespace {

// The engine, the lookups of "cat" and "dog", and the two views in a splitter of the main
// window's default size.
class Fixture {
 public:
  Fixture() {
    engine_ = bench_data::StartEngineOrExit();
    for (const char* word : {"cat", "dog"}) {
      lookup::LookupSession session(engine_, nullptr);
      session.Lookup(word);
      words_.push_back({QString::fromStdString(session.display_word()), session.senses(),
                        session.tabs(), session.selected_tab()});
    }
    splitter_.setOrientation(Qt::Vertical);
    senses_ = new CSenseListView(&splitter_);
    frame_ = new CSplitterTabFrame(&splitter_);
    QFont font("DejaVu Sans");
    font.setPixelSize(16);
    senses_->SetSenseFont(font);
    frame_->SetPaneFont(font);
    splitter_.resize(900, 600);
    splitter_.show();
  }
  ~Fixture() { Nymdex_ShutDown(&engine_); }

  struct Word {
    QString display;
    std::vector<lookup::SenseRow> senses;
    std::vector<lookup::PaneTab> tabs;
    int selected;
  };

  void Show(const Word& word) {
    senses_->SetRows(word.display, word.senses);
    frame_->SetTabs(word.tabs, word.selected);
  }
  // Paints the splitter with both views into a pixmap, as a frame on screen would.
  void Paint() {
    QApplication::processEvents();
    QPixmap pixmap = splitter_.grab();
    benchmark::DoNotOptimize(pixmap);
  }

  const Word& cat() const { return words_[0]; }
  const Word& dog() const { return words_[1]; }
  CSenseListView* senses() { return senses_; }
  CSplitterTabFrame* frame() { return frame_; }

 private:
  NymdexEngine* engine_ = nullptr;
  std::vector<Word> words_;
  QSplitter splitter_;
  CSenseListView* senses_;
  CSplitterTabFrame* frame_;
};

// Made on first use and ended before the application, which its widgets need.
std::unique_ptr<Fixture> fixture;

Fixture& Views() {
  if (!fixture) fixture = std::make_unique<Fixture>();
  return *fixture;
}

void BM_SensesNewWord(benchmark::State& state) {
  Fixture& f = Views();
  bool cat = false;
  for (auto _ : state) {
    cat = !cat;
    const Fixture::Word& word = cat ? f.cat() : f.dog();
    f.senses()->SetRows(word.display, word.senses);
  }
}
BENCHMARK(BM_SensesNewWord)->Unit(benchmark::kMicrosecond);

void BM_SensesRefresh(benchmark::State& state) {
  Fixture& f = Views();
  for (auto _ : state)
    f.senses()->SetRows(f.cat().display, f.cat().senses);
}
BENCHMARK(BM_SensesRefresh)->Unit(benchmark::kMicrosecond);

void BM_PaneTabsOfCat(benchmark::State& state) {
  Fixture& f = Views();
  for (auto _ : state)
    f.frame()->SetTabs(f.cat().tabs, f.cat().selected);
}
BENCHMARK(BM_PaneTabsOfCat)->Unit(benchmark::kMicrosecond);

void BM_PaintSensesAndPanes(benchmark::State& state) {
  Fixture& f = Views();
  f.Show(f.cat());
  for (auto _ : state)
    f.Paint();
}
BENCHMARK(BM_PaintSensesAndPanes)->Unit(benchmark::kMicrosecond);

// What a lookup costs the views: cat and dog in turn, filled and painted.
void BM_FillAndPaint(benchmark::State& state) {
  Fixture& f = Views();
  bool cat = false;
  for (auto _ : state) {
    cat = !cat;
    f.Show(cat ? f.cat() : f.dog());
    f.Paint();
  }
}
BENCHMARK(BM_FillAndPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fixture.reset();
  return 0;
}
