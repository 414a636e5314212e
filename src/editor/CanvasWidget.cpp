#include "CanvasWidget.h"

#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "qtgui/QtPainter.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace lanthor {

namespace {

/// 72 dots per inch: the painter's fonts are sized in points, one point to a pixel.
constexpr int kPointsPerMeter = 2835;

/// Room past the drawing's right and bottom edges, in points.
constexpr int kMargin = 20;

/// The largest side Qt gives a widget.
constexpr double kLargestSide = QWIDGETSIZE_MAX;

int clampedSide(double side) {
    return static_cast<int>(std::clamp(std::ceil(side), 0.0, kLargestSide));
}

} // namespace

CanvasWidget::CanvasWidget(FerrowLanthorDocument& document, const TextSystem& textSystem,
                           QWidget* parent)
    : QWidget(parent), document_(document),
      canvas_(std::make_shared<LanthorDocumentView>(Rect{}, textSystem)) {
    setObjectName(QStringLiteral("canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_->setDisplayRequest([this] { scheduleDisplay(); });
    document_.setDocumentView(canvas_);
    document_.windowControllerDidLoadNib();
    scheduleDisplay();
}

CanvasWidget::~CanvasWidget() {
    canvas_->setDisplayRequest(nullptr);
}

QPointF CanvasWidget::widgetPoint(Point canvasPoint) const {
    return {canvasPoint.x + origin_.x(), canvasPoint.y + origin_.y()};
}

Point CanvasWidget::canvasPoint(QPointF widgetPoint) const {
    return {widgetPoint.x() - origin_.x(), widgetPoint.y() - origin_.y()};
}

std::shared_ptr<LanthorNodeView> CanvasWidget::nodeViewAt(Point canvasPoint) const {
    return canvas_->nodeViewAt(canvasPoint);
}

void CanvasWidget::scheduleDisplay() {
    update();
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
    update();
    return true;
}

void CanvasWidget::fitToDrawing() {
    const Rect extent = canvas_->drawingBounds();
    const QPoint origin(clampedSide(-std::min(extent.minX(), 0.0)),
                        clampedSide(-std::min(extent.minY(), 0.0)));
    const QSize size(clampedSide(extent.maxX() + origin.x() + kMargin),
                     clampedSide(extent.maxY() + origin.y() + kMargin));
    if (origin != origin_) {
        origin_ = origin;
        update();
    }
    if (size != minimumSize()) {
        setMinimumSize(size);
        if (!parentWidget()) {
            resize(size.expandedTo(this->size()));
        }
    }
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    if (runPendingPass()) {
        scheduleDisplay(); // fits the widget to the new layout once painting is over
    }
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
        QPainter painter(&scratch_);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.fillRect(QRect(QPoint(0, 0), dirty.size()), Qt::white);
        painter.translate(origin_ - dirty.topLeft());
        QtPainter adapter(painter);
        const Point topLeft = canvasPoint(dirty.topLeft());
        const Rect area{topLeft,
                        {static_cast<double>(dirty.width()), static_cast<double>(dirty.height())}};
        canvas_->drawArea(adapter, area);
    }
    QPainter(this).drawImage(dirty.topLeft(), scratch_);
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
    update(); // the selection shows in the views' backgrounds
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    press(event->position(), 1);
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
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
            update();
        }
    } else {
        // From the keyboard: the menu of the selected node, beside it.
        nodeView = canvas_->selectedNode();
        if (nodeView && nodeView->superview() == canvas_.get()) {
            const Rect frame = nodeView->frame();
            menuPosition = mapToGlobal(widgetPoint({frame.maxX(), frame.maxY()}).toPoint());
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

} // namespace lanthor
