// Drives the real editor in-process on a tree file and prints what a user waits for, one
// "name value" line per figure: opening the file to the first picture on screen and the peak
// memory then; scrolling and zooming, per frame (a frame: the change, then the repaint of the
// canvas's 1200 x 800 viewport); and adding a node under a node in the middle of the tree to
// the picture that shows it, which the editor paints before it asks for the node's text.
//
// Usage: editor_bench FILE

#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "editor/CanvasWidget.h"
#include "editor/DocumentWindow.h"
#include "editor/EditorSession.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "platform/Alerts.h"
#include "qtgui/GuiSession.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace lanthor;

const QSize kViewport(1200, 800);

/// Counts the paint events that reach a widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count() const { return count_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count_;
        }
        return false;
    }

private:
    int count_ = 0;
};

/// Runs the event loop until a paint after the `before`th one has been handled.
void waitForPaint(const PaintCounter& paints, int before) {
    QElapsedTimer waited;
    waited.start();
    QTimer wake; // so that a picture that never comes ends the run
    wake.start(100);
    while (paints.count() <= before) {
        if (waited.elapsed() > 120'000) {
            std::fprintf(stderr, "editor_bench: no picture within two minutes\n");
            std::exit(1);
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

/// Milliseconds from `change` to the next picture painted.
double frame(const PaintCounter& paints, const std::function<void()>& change) {
    const int before = paints.count();
    QElapsedTimer clock;
    clock.start();
    change();
    waitForPaint(paints, before);
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double peakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024; // kibibytes on Linux
}

void print(const char* name, double value) {
    std::printf("%s %.1f\n", name, value);
    std::fflush(stdout);
}

/// The median and the largest of frame times, printed as NAME_median_ms and NAME_max_ms (nan
/// when there were none).
void printFrames(const std::string& name, std::vector<double> times) {
    if (times.empty()) {
        times.push_back(std::nan("")); // a tree too small to scroll
    }
    std::sort(times.begin(), times.end());
    print((name + "_median_ms").c_str(), times[times.size() / 2]);
    print((name + "_max_ms").c_str(), times.back());
}

/// Answers the question that follows Add, and notes whether the new node was painted first.
class AnsweringAlert final : public InputAlert {
public:
    std::function<void()> asked;
    std::optional<std::u16string> run(std::u16string_view, std::u16string_view) override {
        asked();
        return u"edited";
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: editor_bench FILE\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const GuiSession gui;
    const QTemporaryDir home; // no recovery copy or recent file of the user's is touched
    const EditorPaths paths{home.filePath(QStringLiteral("recovery")),
                            home.filePath(QStringLiteral("recent-files.ini"))};
    EditorSession session(gui.textSystem(), qtEditorPrompts(), paths);

    // Opening: the window is given its viewport size before anything is painted.
    QElapsedTimer clock;
    clock.start();
    DocumentWindow* window = session.openDocument(file);
    if (!window) {
        return 1;
    }
    print("open_to_window_ms", static_cast<double>(clock.nsecsElapsed()) / 1e6);
    CanvasWidget& canvas = window->canvasWidget();
    const PaintCounter paints(canvas.viewport());
    // Scroll bars that come or go (in calls queued to the canvas) change the viewport.
    for (int i = 0; i < 3; ++i) {
        window->resize(window->size() + kViewport - canvas.viewport()->size());
        QCoreApplication::sendPostedEvents(&canvas, QEvent::MetaCall);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    waitForPaint(paints, 0);
    print("open_to_first_picture_ms", static_cast<double>(clock.nsecsElapsed()) / 1e6);
    print("peak_memory_after_open_mib", peakMemoryMiB());
    print("viewport_width", canvas.viewport()->width());
    print("viewport_height", canvas.viewport()->height());

    // Scrolling: steps as a wheel or a short drag makes them, then jumps across the tree.
    QScrollBar& across = *canvas.horizontalScrollBar();
    QScrollBar& down = *canvas.verticalScrollBar();
    std::vector<double> steps;
    std::vector<double> jumps;
    const auto scroll = [&paints](QScrollBar& bar, int value, std::vector<double>& times) {
        if (std::clamp(value, bar.minimum(), bar.maximum()) != bar.value()) {
            times.push_back(frame(paints, [&] { bar.setValue(value); }));
        }
    };
    for (int i = 0; i < 20; ++i) {
        scroll(across, across.value() + (i < 10 ? 120 : -120), steps);
        scroll(down, down.value() + (i < 10 ? 60 : -60), steps);
    }
    for (int i = 1; i <= 10; ++i) {
        scroll(across, across.maximum() / 11 * i, jumps);
        scroll(down, i % 2 == 0 ? 0 : down.maximum(), jumps);
    }
    printFrames("scroll_step", steps);
    printFrames("scroll_jump", jumps);

    // Zooming in and out by the View menu's steps, about the viewport's centre.
    std::vector<double> zooms;
    for (const char* name :
         {"zoomInAction", "zoomInAction", "zoomInAction", "actualSizeAction", "zoomOutAction",
          "zoomOutAction", "zoomOutAction", "actualSizeAction"}) {
        zooms.push_back(
            frame(paints, [&] { window->action(QString::fromLatin1(name))->trigger(); }));
    }
    printFrames("zoom", zooms);

    // Adding under a node in the middle of the tree, selected and in view first; the keys that
    // move the selection from there.
    const NodeDictionary& nodes = *window->document().treeTable()->nodeDictionary();
    const std::shared_ptr<Tree> middle = nodes.nodeAt(nodes.positionCount() / 2);
    const std::shared_ptr<LanthorNodeView> middleView = middle ? nodeViewOf(*middle) : nullptr;
    if (!middleView) {
        std::fprintf(stderr, "editor_bench: the node in the middle of the file is not shown\n");
        return 1;
    }
    frame(paints, [&] { canvas.select(middleView); });
    std::vector<double> moves;
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Up), QKeyCombination(Qt::Key_Down), QKeyCombination(Qt::Key_Tab),
          QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab), QKeyCombination(Qt::Key_Right),
          QKeyCombination(Qt::Key_Left)}) {
        QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
        const int before = paints.count();
        const std::shared_ptr<LanthorNodeView> from = canvas.canvas().selectedNode();
        clock.start();
        QApplication::sendEvent(&canvas, &press);
        if (canvas.canvas().selectedNode() != from) { // else there was nowhere to go
            waitForPaint(paints, before);
            moves.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }
    printFrames("selection_key", moves);
    frame(paints, [&] { canvas.select(middleView); });
    AnsweringAlert alert;
    InputAlert* const previous = setInputAlert(&alert);
    double toNewNode = -1;
    bool newNodePainted = false;
    const int before = paints.count();
    alert.asked = [&] {
        toNewNode = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        newNodePainted = paints.count() > before;
        clock.start();
    };
    clock.start();
    window->action(QStringLiteral("addNodeAction"))->trigger();
    waitForPaint(paints, paints.count());
    const double toEditedNode = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    setInputAlert(previous);
    if (!newNodePainted) {
        std::fprintf(stderr, "editor_bench: the new node was not painted before its question\n");
        return 1;
    }
    print("add_to_picture_ms", toNewNode);
    print("answer_to_picture_ms", toEditedNode);
    print("peak_memory_mib", peakMemoryMiB());
    return 0;
}
