#include "support/CanvasFixture.h"

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

namespace lanthor::test {
namespace {

/// Labels of several lines ("<br>"), and bold text wider than the plain text it is measured
/// as: views taller than a row, and text that reaches past its view.
class LinesTextSystem final : public TextSystem {
public:
    AttributedString readHtml(std::u16string_view html) const override {
        std::u16string text;
        for (std::size_t at = 0; at < html.size();) {
            if (html.substr(at, 4) == u"<br>") {
                text += u'\n';
                at += 4;
            } else if (html.substr(at, 3) == u"<b>" || html.substr(at, 4) == u"</b>") {
                at = html.find(u'>', at) + 1;
            } else {
                text += html[at++];
            }
        }
        return AttributedString(text, TextAttributes{Font(u"Reader", 12)});
    }
    Size measure(const AttributedString& text) const override {
        Size size;
        double line = 0;
        std::size_t at = 0;
        for (const TextRun& run : text.runs()) {
            for (std::size_t i = at; i < at + run.length; ++i) {
                line =
                    text.string()[i] == u'\n' ? 0 : line + (run.attributes.font.isBold() ? 15 : 10);
                size.width = std::max(size.width, line);
            }
            at += run.length;
        }
        size.height =
            text.length() == 0
                ? 0
                : 18.0 * (1 + std::count(text.string().begin(), text.string().end(), u'\n'));
        return size;
    }
    Size measure(std::u16string_view text, const Font& font) const override {
        return measure(AttributedString(std::u16string(text), TextAttributes{font}));
    }
};

using Stroke = std::tuple<double, double, double, double, double>;

/// True when the segment from `a` to `b` has a point inside `area`.
bool crosses(Point a, Point b, Rect area) {
    double from = 0;
    double to = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const std::pair<double, double> sides[] = {{-dx, a.x - area.minX()},
                                               {dx, area.maxX() - a.x},
                                               {-dy, a.y - area.minY()},
                                               {dy, area.maxY() - a.y}};
    for (const auto& [p, q] : sides) {
        if (p == 0) {
            if (q < 0) {
                return false;
            }
        } else if (p < 0) {
            from = std::max(from, q / p);
        } else {
            to = std::min(to, q / p);
        }
    }
    return from <= to;
}

class Area : public CanvasFixture {
protected:
    Area() { canvas = std::make_shared<LanthorDocumentView>(rect(0, 0, 300, 200), lines); }
    LinesTextSystem lines;
};

TEST_F(Area, DrawsFindsAndBoundsWhatTheWholeDrawingHasThere) {
    std::mt19937 random(5);
    const std::u16string labels[] = {
        u"", u"w", u"www", u"a<br>bbbb", u"x<br>y<br>z", u"<b>bold</b> text", u"wwwwwwwwww"};
    for (int round = 0; round < 150; ++round) {
        // Numbers from a small pool: nodes listed twice, cycles, missing children, several
        // roots; or a clean tree.
        const bool clean = round % 2 == 0;
        const int count = 1 + static_cast<int>(random() % 40);
        std::u16string file;
        std::vector<bool> listed(count + 3, false);
        for (int i = 0; i < count; ++i) {
            std::u16string children;
            for (int c = static_cast<int>(random() % 4); c > 0; --c) {
                const int child = clean ? i + 1 + static_cast<int>(random() % count)
                                        : static_cast<int>(random() % (count + 3));
                if (!clean || (child < count && !listed[child])) {
                    children += toUtf16(std::to_string(child)) + u" ";
                    listed[child] = true;
                }
            }
            file += toUtf16(std::to_string(i)) + u"," + children + u"," +
                    (i == 0 || random() % 9 == 0 ? u"R"
                     : random() % 3              ? u"0"
                                                 : u"1") +
                    u"," + labels[random() % std::size(labels)] + u"\n";
        }
        canvas = std::make_shared<LanthorDocumentView>(rect(0, 0, 300, 200), lines);
        load(file);
        pass();
        // A node cut off from its parent keeps its view where it was, out of reach.
        if (random() % 3 == 0 && count > 1) {
            node(u"0")->childrenList().clear();
            canvas->redraw();
            pass();
        }
        if (!canvas->subviews().empty()) {
            static_cast<LanthorNodeView&>(*canvas->subviews()[random() % canvas->subviews().size()])
                .selectNode();
        }

        std::vector<Stroke> edges;
        std::vector<std::pair<Point, Point>> segments;
        canvas->forEachEdge([&](const LanthorDocumentView::Edge& edge) {
            edges.emplace_back(edge.from.x, edge.from.y, edge.to.x, edge.to.y,
                               LanthorDocumentView::lineWidth(edge.bold));
            segments.emplace_back(edge.from, edge.to);
        });
        Rect extent = canvas->bounds();
        std::vector<std::shared_ptr<LanthorNodeView>> views;
        for (const std::shared_ptr<View>& subview : canvas->subviews()) {
            views.push_back(std::static_pointer_cast<LanthorNodeView>(subview));
            extent = unionRect(unionRect(extent, views.back()->frame()), views.back()->textRect());
        }
        ASSERT_EQ(canvas->drawingBounds(), extent) << toUtf8(file);

        for (int probe = 0; probe < 20; ++probe) {
            const auto at = [&](double from, double size) {
                return from + size * double(random() % 1000) / 1000;
            };
            const Rect area{{at(extent.minX() - 20, extent.size.width + 40),
                             at(extent.minY() - 20, extent.size.height + 40)},
                            {at(1, 150), at(1, 150)}};
            RecordingPainter drawn;
            canvas->drawArea(drawn, area);
            // Every edge that crosses the area, as often as it is listed; none that is not an
            // edge, and few that do not come near.
            const Rect inner{{area.minX() + 0.01, area.minY() + 0.01},
                             {area.size.width - 0.02, area.size.height - 0.02}};
            std::map<Stroke, int> missing;
            for (std::size_t e = 0; e < edges.size(); ++e) {
                missing[edges[e]] += crosses(segments[e].first, segments[e].second, inner);
            }
            for (const RecordingPainter::Stroke& stroke : drawn.strokes) {
                const Stroke line{stroke.from.x, stroke.from.y, stroke.to.x, stroke.to.y,
                                  stroke.width};
                ASSERT_TRUE(std::count(edges.begin(), edges.end(), line)) << toUtf8(file);
                --missing[line];
            }
            for (const auto& [line, undrawn] : missing) {
                ASSERT_LE(undrawn, 0) << toUtf8(file);
            }
            // The views that meet the area, in the order the whole drawing draws them.
            RecordingPainter expected;
            for (const std::shared_ptr<LanthorNodeView>& view : views) {
                if (unionRect(view->frame(), view->textRect()).intersects(area)) {
                    view->drawRect(expected);
                }
            }
            const auto viewOperations = [](const RecordingPainter& painter) {
                Lines operations = painter.operations;
                std::erase(operations, "line black");
                return operations;
            };
            ASSERT_EQ(viewOperations(drawn), viewOperations(expected)) << toUtf8(file);
            ASSERT_EQ(drawn.textRects, expected.textRects) << toUtf8(file);
            ASSERT_EQ(drawn.fills, expected.fills) << toUtf8(file);

            // The view on top under a point: the one drawn last.
            const Point point{area.minX(), area.minY()};
            std::shared_ptr<LanthorNodeView> top;
            for (const std::shared_ptr<LanthorNodeView>& view : views) {
                if (view->frame().contains(point)) {
                    top = view;
                }
            }
            ASSERT_EQ(canvas->nodeViewAt(point), top) << toUtf8(file);
        }
    }
}

} // namespace
} // namespace lanthor::test
