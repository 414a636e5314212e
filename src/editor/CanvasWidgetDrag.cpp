// Dragging a node to another place in the tree, in the canvas widget's own mouse events.

#include "CanvasWidget.h"
#include "canvas/LanthorDocumentView.h"
#include "document/FerrowLanthorDocument.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusTipEvent>

namespace lanthor {

namespace {

/// How near the viewport's edge the pointer scrolls it, and how often, while dragging.
constexpr double kAutoScrollMargin = 24;
constexpr int kAutoScrollIntervalMs = 30;
/// The insertion bar's width and the outline's, in pixels.
constexpr double kBarWidth = 3;
constexpr double kOutlineWidth = 2;

const QColor kAllowedColour(0, 120, 215);
const QColor kRefusedColour(200, 30, 30);

/// How far to scroll along one axis for a pointer at `position` in a viewport `size` long.
int scrollStep(double position, int size) {
    if (position < kAutoScrollMargin) {
        return -static_cast<int>(kAutoScrollMargin - position);
    }
    if (position > size - kAutoScrollMargin) {
        return static_cast<int>(position - (size - kAutoScrollMargin));
    }
    return 0;
}

} // namespace

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!pressedNode_) {
        event->ignore();
        return;
    }
    if (!dropFinder_ && (event->position() - pressPosition_).manhattanLength() >=
                            QApplication::startDragDistance()) {
        startDrag();
    }
    if (dropFinder_) {
        updateDrop(event->position());
    }
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (dropFinder_) {
        updateDrop(event->position());
        finishDrag(true);
    }
    pressedNode_.reset();
}

void CanvasWidget::startDrag() {
    dropFinder_ = std::make_unique<NodeDropFinder>(*canvas_, document_.treeTable(), *pressedNode_);
    autoScrollTimer_.setInterval(kAutoScrollIntervalMs);
}

void CanvasWidget::updateDrop(QPointF position) {
    dragPosition_ = position;
    std::optional<NodeDrop> drop =
        dropFinder_->dropAt(canvasPoint(position), viewport()->width() / zoom_);
    if (drop) {
        // The same parent gives the same answer: asked again only when it changes.
        drop->refusal = dropTarget_ && dropTarget_->parent == drop->parent
                            ? dropTarget_->refusal
                            : document_.moveRefusal(*pressedNode_, drop->parent);
    }
    if (dropTarget_) {
        viewport()->update(dropMarker(*dropTarget_).toAlignedRect());
    }
    dropTarget_ = std::move(drop);
    const bool refused = dropTarget_ && dropTarget_->refusal;
    viewport()->setCursor(refused ? Qt::ForbiddenCursor : Qt::ClosedHandCursor);
    if (refused) {
        showStatusTip(QString::fromStdString(*dropTarget_->refusal));
    } else if (showsRefusal_) {
        showStatusTip({});
    }
    showsRefusal_ = refused;
    if (dropTarget_) {
        viewport()->update(dropMarker(*dropTarget_).toAlignedRect());
    }
    if (scrollStep(position.x(), viewport()->width()) != 0 ||
        scrollStep(position.y(), viewport()->height()) != 0) {
        autoScrollTimer_.start();
    }
}

void CanvasWidget::finishDrag(bool drop) {
    const std::optional<NodeDrop> target = std::move(dropTarget_);
    const std::u16string number = *pressedNode_;
    dropTarget_.reset();
    dropFinder_.reset();
    pressedNode_.reset();
    autoScrollTimer_.stop();
    viewport()->unsetCursor();
    if (showsRefusal_) {
        showStatusTip({});
        showsRefusal_ = false;
    }
    if (target) {
        viewport()->update(dropMarker(*target).toAlignedRect());
    }
    if (drop && target) {
        // A refused place is refused again here, which gives the reason as every refusal does.
        document_.moveNode(number, target->parent, target->index);
        selectionChanged();
    }
}

bool CanvasWidget::autoScroll() {
    if (!dropFinder_) {
        return false;
    }
    const int dx = scrollStep(dragPosition_.x(), viewport()->width());
    const int dy = scrollStep(dragPosition_.y(), viewport()->height());
    if (dx == 0 && dy == 0) {
        return false;
    }
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
    updateDrop(dragPosition_);
    return true;
}

QRectF CanvasWidget::dropMarker(const NodeDrop& drop) const {
    const Rect marker = drop.marker;
    const QRectF onScreen(viewportPoint(marker.origin),
                          viewportPoint({marker.maxX(), marker.maxY()}));
    const double room = drop.kind == NodeDrop::Kind::Onto ? kOutlineWidth * 2 : kBarWidth;
    return onScreen.adjusted(-room, -room, room, room);
}

void CanvasWidget::paintDropTarget(QPainter& painter) const {
    if (!dropTarget_) {
        return;
    }
    const QColor colour = dropTarget_->refusal ? kRefusedColour : kAllowedColour;
    const QRectF marker = dropMarker(*dropTarget_);
    if (dropTarget_->kind == NodeDrop::Kind::Onto) {
        const double inset = kOutlineWidth * 1.5;
        painter.setPen(QPen(colour, kOutlineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(marker.adjusted(inset, inset, -inset, -inset));
    } else {
        painter.fillRect(QRectF(marker.center().x() - kBarWidth / 2, marker.top() + kBarWidth,
                                kBarWidth, marker.height() - 2 * kBarWidth),
                         colour);
    }
}

void CanvasWidget::showStatusTip(const QString& text) {
    QStatusTipEvent tip(text);
    QApplication::sendEvent(this, &tip);
}

} // namespace lanthor
