// The canvas on generated trees of 100,000 and 1,000,000 nodes: the first pass (every label
// read, measured and put into a new view), a later pass over the whole tree, the pass after
// adding a node in the middle of the tree and after deleting it again, and the drawing of one
// screen (1200 x 800 points) in the middle of the tree.

#include "BenchTree.h"
#include "base/HugePageHeap.h"
#include "base/Log.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "canvas/NodeViewPool.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"
#include "qtgui/GuiSession.h"
#include "qtgui/QtPainter.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <map>
#include <memory>

namespace lanthor {

namespace {

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

/// Drops the log lines of passes and edits.
class SilentLog final : public LogSink {
public:
    SilentLog() { setLogSink(this); }
    ~SilentLog() override { setLogSink(nullptr); }
    void writeLine(std::string_view) override {}
};

GuiSession& session() {
    static GuiSession gui;
    return gui;
}

/// The bytes the heap and the node views' pool have handed out.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd + NodeViewPool::bytesInUse();
}

struct Document {
    explicit Document(std::size_t count)
        : canvas(std::make_shared<LanthorDocumentView>(Rect{{0, 0}, {800, 600}},
                                                       session().textSystem())) {
        static std::map<std::size_t, std::u16string> files;
        std::u16string& file = files[count];
        if (file.empty()) {
            file = toUtf16(bench::generateTreeFile(count));
        }
        table->loadTable(file);
        canvas->setTreeTable(table);
        canvas->setMConfiguration(std::make_shared<LanthorConfiguration>());
        canvas->setUpdated(true);
    }
    /// The node in the middle of the file: numbered breadth first, near the bottom of the tree
    /// and somewhere across it.
    std::shared_ptr<Tree> middle() const {
        const NodeDictionary& nodes = *table->nodeDictionary();
        return nodes.nodeAt(nodes.positionCount() / 2);
    }

    std::shared_ptr<TreeTable> table = std::make_shared<TreeTable>();
    std::shared_ptr<LanthorDocumentView> canvas;
};

void BM_FirstDrawingPass(benchmark::State& state) {
    SilentLog silent;
    const auto count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<Document>(count);
        CountingPainter painter;
        state.ResumeTiming();
        document->canvas->drawRect(painter);
        state.PauseTiming();
        benchmark::DoNotOptimize(painter.lines);
        document.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}
BENCHMARK(BM_FirstDrawingPass)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

/// The editor's first pass: the layout alone, its edges drawn area by area afterwards. Counts
/// the memory that the canvas takes per node (the heap's and the node views').
void BM_FirstLayout(benchmark::State& state) {
    SilentLog silent;
    const auto count = static_cast<std::size_t>(state.range(0));
    double bytesPerNode = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<Document>(count);
        malloc_trim(0);
        const std::size_t before = heapInUse();
        state.ResumeTiming();
        document->canvas->layOutIfNeeded();
        state.PauseTiming();
        bytesPerNode = double(heapInUse() - before) / double(count);
        document.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_node"] = bytesPerNode;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}
BENCHMARK(BM_FirstLayout)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_LaterDrawingPass(benchmark::State& state) {
    SilentLog silent;
    Document document(static_cast<std::size_t>(state.range(0)));
    CountingPainter painter;
    document.canvas->drawRect(painter);
    for (auto _ : state) {
        document.canvas->redraw();
        document.canvas->drawRect(painter);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LaterDrawingPass)->Arg(100'000)->Unit(benchmark::kMillisecond);

/// The editor's later pass over the whole tree (after redraw), without the edges.
void BM_LaterLayout(benchmark::State& state) {
    SilentLog silent;
    Document document(static_cast<std::size_t>(state.range(0)));
    document.canvas->layOutIfNeeded();
    for (auto _ : state) {
        document.canvas->redraw();
        document.canvas->layOutIfNeeded();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LaterLayout)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

/// A node added under the middle node, as the node view's command adds it, to the end of the
/// pass that follows; the deletion that restores the tree is not timed.
void BM_AddInTheMiddle(benchmark::State& state) {
    SilentLog silent;
    Document document(static_cast<std::size_t>(state.range(0)));
    LanthorDocumentView& canvas = *document.canvas;
    canvas.layOutIfNeeded();
    const std::shared_ptr<LanthorNodeView> parent = nodeViewOf(*document.middle());
    for (auto _ : state) {
        parent->addNode();
        canvas.layOutIfNeeded();
        state.PauseTiming();
        document.table->deleteNode(parent->underlyingNode()->childrenList().back());
        canvas.redrawChanges();
        canvas.layOutIfNeeded();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddInTheMiddle)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

/// The deletion of a node added under the middle node, to the end of the pass that follows.
void BM_DeleteInTheMiddle(benchmark::State& state) {
    SilentLog silent;
    Document document(static_cast<std::size_t>(state.range(0)));
    LanthorDocumentView& canvas = *document.canvas;
    canvas.layOutIfNeeded();
    const std::shared_ptr<LanthorNodeView> parent = nodeViewOf(*document.middle());
    for (auto _ : state) {
        state.PauseTiming();
        parent->addNode();
        canvas.layOutIfNeeded();
        state.ResumeTiming();
        document.table->deleteNode(parent->underlyingNode()->childrenList().back());
        canvas.redrawChanges();
        canvas.layOutIfNeeded();
    }
}
BENCHMARK(BM_DeleteInTheMiddle)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

/// One screen of the tree drawn with Qt as the editor's canvas widget draws it: on white, from
/// a painter made for the frame. `scroll` moves the screen a screen's width to the right each
/// time, so that every label shown is new; else the same screen is drawn again.
void drawScreens(benchmark::State& state, bool scroll) {
    SilentLog silent;
    Document document(static_cast<std::size_t>(state.range(0)));
    document.canvas->layOutIfNeeded();
    const Rect middle = nodeViewOf(*document.middle())->frame();
    QImage image(1200, 800, QImage::Format_RGB32);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    Rect area{{middle.origin.x - 600, middle.origin.y - 400}, {1200, 800}};
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.fillRect(QRect(0, 0, 1200, 800), Qt::white);
        painter.translate(-area.origin.x, -area.origin.y);
        QtPainter adapter(painter);
        document.canvas->drawArea(adapter, area);
        if (scroll) {
            area.origin.x += area.size.width;
        }
    }
}

void BM_DrawScreen(benchmark::State& state) {
    drawScreens(state, false);
}
BENCHMARK(BM_DrawScreen)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_DrawNewScreen(benchmark::State& state) {
    drawScreens(state, true);
}
BENCHMARK(BM_DrawNewScreen)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

} // namespace lanthor

// As the application does, the heap on huge pages.
int main(int argc, char** argv) {
    lanthor::useHugePageHeap();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
