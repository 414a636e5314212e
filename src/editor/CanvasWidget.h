#pragma once

#include "NodeDropFinder.h"
#include "platform/Geometry.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QPainter;

namespace lanthor {

class FerrowLanthorDocument;
class LanthorDocumentView;
class LanthorNodeView;
class TextSystem;

/// Shows a document's canvas (the core's LanthorDocumentView) and its node views, at a zoom,
/// and takes the mouse and the keyboard for them. The drawing has no size of its own on screen:
/// the scroll bars span everything drawn (node views left of or above the canvas's origin
/// included) at the zoom, and painting draws only the part in the viewport. A drawing smaller
/// than the viewport is shown centred. The zoom is a way of looking, not part of the document.
///
/// Mouse: a press of the left button goes to the topmost node view under the pointer, through
/// the document, with click count 1 (2 for the second press of a double click); a press
/// elsewhere goes to the canvas, which clears the selection. A right click on a node view
/// selects it (unless it is selected already) and opens the node commands as a menu. The wheel
/// scrolls; with Ctrl it zooms about the pointer.
///
/// Dragging a node (a press on it, then a move past the platform's drag distance) moves it with
/// its subtree where it is let go: onto another node as its last child, or into a gap among
/// siblings. Until then the place shows on the canvas, the cursor says whether the move would be
/// allowed, and the status bar why not; Escape or letting go over nothing cancels it. The
/// viewport scrolls while the pointer is near its edge.
///
/// Keyboard: the arrows move the selection to the parent (up), the first child (down) and the
/// siblings (left, right), Tab and Shift+Tab through the tree in reading order, Escape clears
/// it. The selected node is scrolled into view when the keyboard or `select` selects it and
/// after each layout; a click leaves the view as it is, the node being under the pointer. A
/// document opens scrolled so that its first root is in view, horizontally centred.
class CanvasWidget final : public QAbstractScrollArea {
public:
    /// Zoom steps and bounds (1 is one pixel per point). The largest zoom is smaller for a
    /// drawing so large that its pixels would not fit the scroll bars' integers.
    static constexpr double kZoomStep = 1.25;
    static constexpr double kSmallestZoom = 0.05;
    static constexpr double kLargestZoom = 8.0;

    /// Makes the canvas and hands it to `document`, whose window has then loaded. `textSystem`
    /// must outlive the widget.
    CanvasWidget(FerrowLanthorDocument& document, const TextSystem& textSystem,
                 QWidget* parent = nullptr);
    ~CanvasWidget() override;

    LanthorDocumentView& canvas() const { return *canvas_; }
    const std::shared_ptr<LanthorDocumentView>& sharedCanvas() const { return canvas_; }
    /// The commands of the node context menu.
    void setNodeActions(QList<QAction*> actions) { nodeActions_ = std::move(actions); }
    /// Called whenever a click, a key or a command of the widget may have changed the selection.
    void setSelectionHandler(std::function<void()> handler) {
        selectionHandler_ = std::move(handler);
    }

    /// Runs the canvas's drawing pass now if it asked for one (laying the tree out and drawing
    /// its edges), then fits the scroll bars to what is drawn. Painting does the same; this is
    /// for callers that need the layout before the next paint.
    void displayIfNeeded();
    /// Everything drawn, in pixels at the present zoom.
    QSize drawingSize() const;

    double zoom() const { return zoom_; }
    /// Sets the zoom, within its bounds, keeping the canvas point under `anchor` (a viewport
    /// point) where it is.
    void setZoom(double zoom, QPointF anchor);
    /// One step larger or smaller, or back to 1, about the viewport's centre.
    void zoomIn();
    void zoomOut();
    void actualSize();
    /// The zoom at which the whole drawing fills the viewport, within the zoom's bounds.
    void fitToWindow();

    /// The viewport point of a canvas point, and back.
    QPointF viewportPoint(Point canvasPoint) const;
    Point canvasPoint(QPointF viewportPoint) const;
    /// The topmost node view whose frame holds the canvas point, or null.
    std::shared_ptr<LanthorNodeView> nodeViewAt(Point canvasPoint) const;
    /// Selects `view`, a node view on the canvas, as a click would, and scrolls it into view.
    void select(const std::shared_ptr<LanthorNodeView>& view);
    /// While a node is dragged: where it would go if let go now; else none.
    const std::optional<NodeDrop>& dropTarget() const { return dropTarget_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    /// Tab and Shift+Tab walk the tree instead of moving the focus.
    bool focusNextPrevChild(bool next) override;

private:
    void press(QPointF position, int clickCount);
    /// An Alt+click: an arrow from the selected node to the node under `position`, if any.
    void arrowTo(QPointF position);
    /// Runs the drawing pass when the canvas asks for one; true when it ran.
    bool runPendingPass();
    /// Measures what the last pass drew and fits the scroll bars to it, keeping the canvas point
    /// at the viewport's top-left corner in place (or the first root in view, on opening).
    void fitToDrawing();
    /// Sets the scroll bars' ranges for the drawing at the zoom.
    void updateScrollBars();
    /// Where the drawing's top-left corner lies in the viewport.
    QPointF drawingOffset() const;
    /// Scrolls so that `canvasPoint` lies at `viewportPoint`, as far as the scroll bars go.
    void scrollTo(Point canvasPoint, QPointF viewportPoint);
    /// Scrolls as little as shows all of `frame` (a canvas rectangle), or its top-left part when
    /// it is larger than the viewport; `centred` centres it horizontally.
    void reveal(Rect frame, bool centred);
    void revealSelection();
    /// The selection changed: shows it and scrolls it into view.
    void selectionChanged();
    /// Tells the selection handler.
    void noteSelection();
    double largestZoom() const;
    QPointF viewportCentre() const;
    void scheduleDisplay();

    void startDrag();
    /// Finds the drop place under `position` (a viewport point) and shows it.
    void updateDrop(QPointF position);
    /// Ends the drag; `drop` moves the node to the place shown, if any.
    void finishDrag(bool drop);
    /// What shows `drop`'s place, in viewport pixels.
    QRectF dropMarker(const NodeDrop& drop) const;
    void paintDropTarget(QPainter& painter) const;
    /// Scrolls towards the edge the dragging pointer is near; false when it is near none.
    bool autoScroll();
    /// Shows `text` in the window's status bar, as a status tip does.
    void showStatusTip(const QString& text);

    FerrowLanthorDocument& document_;
    std::shared_ptr<LanthorDocumentView> canvas_;
    QList<QAction*> nodeActions_;
    std::function<void()> selectionHandler_;
    QImage scratch_;
    bool displayScheduled_ = false;
    /// The last pass drew something that fitToDrawing has not measured yet.
    bool drawingChanged_ = true;
    /// Until the first paint, the first root is kept in view as the window takes its size.
    bool showingRoot_ = true;
    double zoom_ = 1.0;
    /// What the scroll bars span, in canvas points: everything drawn and a margin.
    Rect drawing_;

    /// The node under the last left press, which a move may start dragging, and where.
    std::optional<std::u16string> pressedNode_;
    QPointF pressPosition_;
    std::unique_ptr<NodeDropFinder> dropFinder_; ///< while dragging
    std::optional<NodeDrop> dropTarget_;
    QPointF dragPosition_;
    QTimer autoScrollTimer_;
    bool showsRefusal_ = false;
};

} // namespace lanthor
