#pragma once

#include "platform/Geometry.h"

#include <QImage>
#include <QList>
#include <QWidget>
#include <memory>

class QAction;

namespace lanthor {

class FerrowLanthorDocument;
class LanthorDocumentView;
class LanthorNodeView;
class TextSystem;

/// Shows a document's canvas (the core's LanthorDocumentView) and its node views, and takes the
/// mouse for them. It is as large as everything drawn, node views left of or above the canvas's
/// origin included (the canvas point (0, 0) sits at `origin()`), so that a scroll area around
/// it reaches all of the tree.
///
/// A press of the left button goes to the topmost node view under the pointer, through the
/// document, with click count 1 (2 for the second press of a double click); a press elsewhere
/// goes to the canvas, which clears the selection. A right click on a node view selects it
/// (unless it is selected already) and opens the node commands as a menu.
class CanvasWidget final : public QWidget {
public:
    /// Makes the canvas and hands it to `document`, whose window has then loaded. `textSystem`
    /// must outlive the widget.
    CanvasWidget(FerrowLanthorDocument& document, const TextSystem& textSystem,
                 QWidget* parent = nullptr);
    ~CanvasWidget() override;

    LanthorDocumentView& canvas() const { return *canvas_; }
    const std::shared_ptr<LanthorDocumentView>& sharedCanvas() const { return canvas_; }
    /// The commands of the node context menu.
    void setNodeActions(QList<QAction*> actions) { nodeActions_ = std::move(actions); }

    /// Runs the canvas's drawing pass now if it asked for one (laying the tree out and drawing
    /// its edges), then fits the widget to what is drawn. Painting does the same; this is for
    /// callers that need the layout before the next paint.
    void displayIfNeeded();
    /// Where the canvas's origin lies in the widget.
    QPoint origin() const { return origin_; }
    /// The widget point of a canvas point, and back.
    QPointF widgetPoint(Point canvasPoint) const;
    Point canvasPoint(QPointF widgetPoint) const;
    /// The topmost node view whose frame holds the canvas point, or null.
    std::shared_ptr<LanthorNodeView> nodeViewAt(Point canvasPoint) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void press(QPointF position, int clickCount);
    /// Runs the drawing pass when the canvas asks for one; true when it ran.
    bool runPendingPass();
    /// Sizes the widget to the drawing and places the canvas's origin in it.
    void fitToDrawing();
    void scheduleDisplay();

    FerrowLanthorDocument& document_;
    std::shared_ptr<LanthorDocumentView> canvas_;
    QPoint origin_;
    QList<QAction*> nodeActions_;
    QImage scratch_;
    bool displayScheduled_ = false;
};

} // namespace lanthor
