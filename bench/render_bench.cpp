// The drawing pass on a generated tree of 100,000 nodes: the first pass (every label read,
// measured and put into a new view) and every later pass (the same tree laid out again).

#include "BenchTree.h"
#include "base/Log.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"
#include "qtgui/GuiSession.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace lanthor {

namespace {

constexpr std::size_t kNodes = 100000;

/// Counts the edges instead of drawing them.
class CountingPainter final : public Painter {
public:
    void fillRect(Rect, Color) override {}
    void strokeLine(Point, Point, double, Color) override { ++lines; }
    void strokePath(const Path&, double, Color) override {}
    void fillPath(const Path&, Color) override {}
    void drawText(const AttributedString&, Rect) override {}
    std::size_t lines = 0;
};

/// Drops the pass's log lines.
class SilentLog final : public LogSink {
public:
    void writeLine(std::string_view) override {}
};

struct Document {
    explicit Document(const TextSystem& textSystem)
        : canvas(std::make_shared<LanthorDocumentView>(Rect{{0, 0}, {800, 600}}, textSystem)) {
        static const std::u16string file = toUtf16(bench::generateTreeFile(kNodes));
        table->loadTable(file);
        canvas->setTreeTable(table);
        canvas->setMConfiguration(std::make_shared<LanthorConfiguration>());
        canvas->setUpdated(true);
    }
    std::shared_ptr<TreeTable> table = std::make_shared<TreeTable>();
    std::shared_ptr<LanthorDocumentView> canvas;
};

GuiSession& session() {
    static GuiSession gui;
    return gui;
}

void BM_FirstDrawingPass(benchmark::State& state) {
    SilentLog silent;
    setLogSink(&silent);
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<Document>(session().textSystem());
        CountingPainter painter;
        state.ResumeTiming();
        document->canvas->drawRect(painter);
        state.PauseTiming();
        benchmark::DoNotOptimize(painter.lines);
        document.reset();
        state.ResumeTiming();
    }
    setLogSink(nullptr);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kNodes));
}
BENCHMARK(BM_FirstDrawingPass)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LaterDrawingPass(benchmark::State& state) {
    SilentLog silent;
    setLogSink(&silent);
    Document document(session().textSystem());
    CountingPainter painter;
    document.canvas->drawRect(painter);
    for (auto _ : state) {
        document.canvas->redraw();
        document.canvas->drawRect(painter);
    }
    setLogSink(nullptr);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kNodes));
}
BENCHMARK(BM_LaterDrawingPass)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace lanthor

BENCHMARK_MAIN();
