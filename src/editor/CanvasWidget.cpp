#include "CanvasWidget.h"

#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "document/SelectionMoves.h"
#include "qtgui/QtPainter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace lanthor {

namespace {

/// 72 dots per inch: the painter's fonts are sized in points, one point to a pixel at zoom 1.
constexpr int kPointsPerMeter = 2835;
/// Room past the drawing's right and bottom edges, in points.
constexpr double kMargin = 20;
/// How far an arrow of a scroll bar moves, in pixels.
constexpr int kScrollStep = 20;
/// Room kept between a node scrolled into view and the viewport's edges, in pixels.
constexpr double kRevealMargin = 20;
/// The most pixels the drawing may span at any zoom: half of what a scroll bar's int holds, so
/// that a value plus a page never overflows.
constexpr double kLargestSpan = INT_MAX / 2.0;
/// The angle of one notch of a mouse wheel, in eighths of a degree.
constexpr double kWheelNotch = 120;

int wholePixels(double length) {
    return static_cast<int>(std::clamp(std::ceil(length), 0.0, kLargestSpan));
}

int scrollRange(double drawing, int viewport) {
    return std::max(0, wholePixels(drawing) - viewport);
}

/// Scrolls `bar` so that the span from `low` to `high` (viewport pixels along its axis) lies
/// inside `size` pixels, keeping the margin where it fits; `centred` centres it instead.
void revealSpan(QScrollBar& bar, double low, double high, int size, bool centred) {
    double shift = 0;
    if (centred) {
        shift = (low + high - size) / 2;
    } else if (low < kRevealMargin || high - low > size - 2 * kRevealMargin) {
        shift = low - kRevealMargin; // a node larger than the viewport shows its start
    } else if (high > size - kRevealMargin) {
        shift = high - (size - kRevealMargin);
    }
    bar.setValue(bar.value() + static_cast<int>(std::lround(shift)));
}

std::optional<SelectionMove> arrowMove(int key) {
    switch (key) {
    case Qt::Key_Up:
        return SelectionMove::Parent;
    case Qt::Key_Down:
        return SelectionMove::FirstChild;
    case Qt::Key_Left:
        return SelectionMove::PreviousSibling;
    case Qt::Key_Right:
        return SelectionMove::NextSibling;
    default:
        return std::nullopt;
    }
}

} // namespace

CanvasWidget::CanvasWidget(FerrowLanthorDocument& document, const TextSystem& textSystem,
                           QWidget* parent)
    : QAbstractScrollArea(parent), document_(document),
      canvas_(std::make_shared<LanthorDocumentView>(Rect{}, textSystem)) {
    setObjectName(QStringLiteral("canvas"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setObjectName(QStringLiteral("canvasViewport"));
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
    canvas_->setDisplayRequest([this] {
        // The tree changed under a drag (a command's shortcut): the places found are gone.
        if (dropFinder_) {
            finishDrag(false);
        }
        scheduleDisplay();
    });
    connect(&autoScrollTimer_, &QTimer::timeout, this, [this] {
        if (!autoScroll()) {
            autoScrollTimer_.stop();
        }
    });
    document_.setDocumentView(canvas_);
    document_.windowControllerDidLoadNib();
    scheduleDisplay();
}

CanvasWidget::~CanvasWidget() {
    canvas_->setDisplayRequest(nullptr);
}

QPointF CanvasWidget::drawingOffset() const {
    const QSize view = viewport()->size();
    const double width = drawing_.size.width * zoom_;
    const double height = drawing_.size.height * zoom_;
    return {width < view.width() ? std::floor((view.width() - width) / 2)
                                 : -horizontalScrollBar()->value(),
            height < view.height() ? std::floor((view.height() - height) / 2)
                                   : -verticalScrollBar()->value()};
}

QPointF CanvasWidget::viewportPoint(Point canvasPoint) const {
    const QPointF offset = drawingOffset();
    return {offset.x() + (canvasPoint.x - drawing_.origin.x) * zoom_,
            offset.y() + (canvasPoint.y - drawing_.origin.y) * zoom_};
}

Point CanvasWidget::canvasPoint(QPointF viewportPoint) const {
    const QPointF offset = drawingOffset();
    return {(viewportPoint.x() - offset.x()) / zoom_ + drawing_.origin.x,
            (viewportPoint.y() - offset.y()) / zoom_ + drawing_.origin.y};
}

QSize CanvasWidget::drawingSize() const {
    return {wholePixels(drawing_.size.width * zoom_), wholePixels(drawing_.size.height * zoom_)};
}

std::shared_ptr<LanthorNodeView> CanvasWidget::nodeViewAt(Point canvasPoint) const {
    return canvas_->nodeViewAt(canvasPoint);
}

void CanvasWidget::scheduleDisplay() {
    viewport()->update();
    if (displayScheduled_) {
        return;
    }
    displayScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        displayScheduled_ = false;
        displayIfNeeded();
    });
}

void CanvasWidget::displayIfNeeded() {
    runPendingPass();
    fitToDrawing();
}

bool CanvasWidget::runPendingPass() {
    if (!canvas_->layOutIfNeeded()) {
        return false;
    }
    drawingChanged_ = true;
    viewport()->update();
    return true;
}

void CanvasWidget::fitToDrawing() {
    if (!drawingChanged_) {
        return;
    }
    drawingChanged_ = false;
    const Point topLeft = canvasPoint({0, 0});
    const Rect extent = canvas_->drawingBounds();
    const double left = std::min(extent.minX(), 0.0);
    const double top = std::min(extent.minY(), 0.0);
    drawing_ = {{left, top}, {extent.maxX() + kMargin - left, extent.maxY() + kMargin - top}};
    zoom_ = std::min(zoom_, largestZoom());
    updateScrollBars();
    if (showingRoot_) {
        if (const std::shared_ptr<LanthorNodeView> root = firstRootView(*canvas_)) {
            reveal(root->frame(), true);
        }
    } else {
        scrollTo(topLeft, {0, 0});
    }
    revealSelection();
    viewport()->update();
}

void CanvasWidget::updateScrollBars() {
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, scrollRange(drawing_.size.width * zoom_, view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, scrollRange(drawing_.size.height * zoom_, view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void CanvasWidget::scrollTo(Point canvasPoint, QPointF viewportPoint) {
    horizontalScrollBar()->setValue(static_cast<int>(
        std::lround((canvasPoint.x - drawing_.origin.x) * zoom_ - viewportPoint.x())));
    verticalScrollBar()->setValue(static_cast<int>(
        std::lround((canvasPoint.y - drawing_.origin.y) * zoom_ - viewportPoint.y())));
}

void CanvasWidget::reveal(Rect frame, bool centred) {
    const QPointF topLeft = viewportPoint(frame.origin);
    const QPointF bottomRight = viewportPoint({frame.maxX(), frame.maxY()});
    const QSize view = viewport()->size();
    revealSpan(*horizontalScrollBar(), topLeft.x(), bottomRight.x(), view.width(), centred);
    revealSpan(*verticalScrollBar(), topLeft.y(), bottomRight.y(), view.height(), false);
}

void CanvasWidget::revealSelection() {
    const std::shared_ptr<LanthorNodeView>& selected = canvas_->selectedNode();
    if (selected && selected->canvas() == canvas_.get()) {
        reveal(selected->frame(), false);
    }
}

void CanvasWidget::select(const std::shared_ptr<LanthorNodeView>& view) {
    selectNodeView(*canvas_, view);
    selectionChanged();
}

void CanvasWidget::selectionChanged() {
    showingRoot_ = false;
    revealSelection();
    viewport()->update(); // the selection shows in the views' backgrounds
    noteSelection();
}

void CanvasWidget::noteSelection() {
    if (selectionHandler_) {
        selectionHandler_();
    }
}

double CanvasWidget::largestZoom() const {
    const double side = std::max({drawing_.size.width, drawing_.size.height, 1.0});
    return std::max(kSmallestZoom, std::min(kLargestZoom, kLargestSpan / side));
}

QPointF CanvasWidget::viewportCentre() const {
    return QRectF(viewport()->rect()).center();
}

void CanvasWidget::setZoom(double zoom, QPointF anchor) {
    zoom = std::clamp(zoom, kSmallestZoom, largestZoom());
    if (std::abs(zoom - 1) < 1e-9) {
        zoom = 1; // steps up and down come back to actual size exactly
    }
    showingRoot_ = false;
    if (zoom == zoom_) {
        return;
    }
    const Point fixed = canvasPoint(anchor);
    zoom_ = zoom;
    updateScrollBars();
    scrollTo(fixed, anchor);
    viewport()->update();
}

void CanvasWidget::zoomIn() {
    setZoom(zoom_ * kZoomStep, viewportCentre());
}

void CanvasWidget::zoomOut() {
    setZoom(zoom_ / kZoomStep, viewportCentre());
}

void CanvasWidget::actualSize() {
    setZoom(1, viewportCentre());
}

void CanvasWidget::fitToWindow() {
    displayIfNeeded();
    // The room without scroll bars, less a pixel so that rounding up does not bring them back.
    const QSize room = maximumViewportSize() - QSize(1, 1);
    setZoom(std::min(room.width() / drawing_.size.width, room.height() / drawing_.size.height),
            viewportCentre());
}

void CanvasWidget::resizeEvent(QResizeEvent*) {
    updateScrollBars();
    if (showingRoot_) {
        if (const std::shared_ptr<LanthorNodeView> root = firstRootView(*canvas_)) {
            reveal(root->frame(), true);
        }
    }
}

void CanvasWidget::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    if (runPendingPass()) {
        scheduleDisplay(); // fits the scroll bars to the new layout once painting is over
    }
    showingRoot_ = false;
    const QRect dirty = event->rect();
    if (dirty.isEmpty()) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(dirty.size()) * ratio).toSize();
    if (scratch_.size() != pixels || scratch_.devicePixelRatio() != ratio) {
        scratch_ = QImage(pixels, QImage::Format_RGB32);
        scratch_.setDotsPerMeterX(kPointsPerMeter);
        scratch_.setDotsPerMeterY(kPointsPerMeter);
        scratch_.setDevicePixelRatio(ratio);
    }
    {
        // Drawn as vector graphics at the zoom, text included, so that it stays sharp.
        QPainter painter(&scratch_);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.fillRect(QRect(QPoint(0, 0), dirty.size()), Qt::white);
        painter.translate(drawingOffset() - dirty.topLeft());
        painter.scale(zoom_, zoom_);
        painter.translate(-drawing_.origin.x, -drawing_.origin.y);
        QtPainter adapter(painter);
        const Rect area{canvasPoint(dirty.topLeft()),
                        {dirty.width() / zoom_, dirty.height() / zoom_}};
        canvas_->drawArea(adapter, area);
    }
    QPainter onScreen(viewport());
    onScreen.drawImage(dirty.topLeft(), scratch_);
    paintDropTarget(onScreen);
}

void CanvasWidget::press(QPointF position, int clickCount) {
    const Point point = canvasPoint(position);
    if (const std::shared_ptr<LanthorNodeView> nodeView = nodeViewAt(point)) {
        const Rect frame = nodeView->frame();
        document_.mouseDownOnNode(
            *nodeView, {{point.x - frame.origin.x, point.y - frame.origin.y}, clickCount});
    } else {
        canvas_->mouseDown({point, clickCount});
    }
    // Not scrolled: the node is under the pointer, where the second press of a double click
    // must find it again.
    showingRoot_ = false;
    viewport()->update();
    noteSelection();
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (event->modifiers() & Qt::AltModifier) {
        arrowTo(event->position());
        return;
    }
    press(event->position(), 1);
    const std::shared_ptr<LanthorNodeView> nodeView = nodeViewAt(canvasPoint(event->position()));
    if (nodeView && nodeView->underlyingNode()) {
        pressedNode_ = nodeView->underlyingNode()->nodeNumber();
        pressPosition_ = event->position();
    }
}

void CanvasWidget::arrowTo(QPointF position) {
    const std::shared_ptr<LanthorNodeView> target = nodeViewAt(canvasPoint(position));
    const std::shared_ptr<LanthorNodeView>& source = canvas_->selectedNode();
    if (!target || !target->underlyingNode() || !source) {
        return; // an arrow goes from the selected node to a node
    }
    document_.addArrow(target->underlyingNode()->nodeNumber());
    displayIfNeeded();
    viewport()->update();
    noteSelection();
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->modifiers() & Qt::AltModifier) {
        return; // a second Alt+click adds no second arrow and edits nothing
    }
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressedNode_.reset(); // the second press of a double click edits; it drags nothing
    press(event->position(), 2);
}

void CanvasWidget::contextMenuEvent(QContextMenuEvent* event) {
    std::shared_ptr<LanthorNodeView> nodeView;
    QPoint menuPosition = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const Point point = canvasPoint(event->pos());
        nodeView = nodeViewAt(point);
        if (nodeView && !nodeView->nodeSelected()) {
            const Rect frame = nodeView->frame();
            document_.mouseDownOnNode(*nodeView,
                                      {{point.x - frame.origin.x, point.y - frame.origin.y}, 1});
            viewport()->update();
            noteSelection(); // before the menu opens, so that it shows what applies now
        }
    } else {
        // From the keyboard: the menu of the selected node, beside it.
        nodeView = canvas_->selectedNode();
        if (nodeView && nodeView->superview() == canvas_.get()) {
            const Rect frame = nodeView->frame();
            menuPosition =
                viewport()->mapToGlobal(viewportPoint({frame.maxX(), frame.maxY()}).toPoint());
        } else {
            nodeView.reset();
        }
    }
    if (!nodeView || nodeActions_.isEmpty()) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    menu.addActions(nodeActions_);
    menu.exec(menuPosition);
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const double notches = event->angleDelta().y() / kWheelNotch;
    if (notches != 0) {
        setZoom(zoom_ * std::pow(kZoomStep, notches), event->position());
    }
    event->accept();
}

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape && dropFinder_) {
        finishDrag(false);
    } else if (event->key() == Qt::Key_Escape) {
        clearSelection(*canvas_);
        viewport()->update();
        noteSelection();
    } else if (const std::optional<SelectionMove> move = arrowMove(event->key())) {
        if (moveSelection(*canvas_, *move)) {
            selectionChanged();
        }
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

bool CanvasWidget::focusNextPrevChild(bool next) {
    if (moveSelection(*canvas_, next ? SelectionMove::NextInReadingOrder
                                     : SelectionMove::PreviousInReadingOrder)) {
        selectionChanged();
    }
    return true;
}

} // namespace lanthor
