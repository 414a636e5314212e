#include "CanvasSetup.h"
#include "Cli.h"
#include "Json.h"
#include "RenderCommands.h"
#include "TreeFileLoading.h"
#include "ViewOptions.h"
#include "base/BufferedWriter.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "platform/Painter.h"
#include "qtgui/GuiSession.h"

namespace lanthor {

namespace {

/// The layout command prints the frames that the pass sets, not its pixels.
class UnseenPainter final : public Painter {
public:
    void fillRect(Rect, Color) override {}
    void strokeLine(Point, Point, double, Color) override {}
    void strokePath(const Path&, double, Color) override {}
    void fillPath(const Path&, Color) override {}
    void drawText(const AttributedString&, Rect) override {}
};

std::string styleFlags(const TextAttributes& attributes) {
    std::string flags;
    const auto add = [&flags](const char* flag) {
        if (!flags.empty()) {
            flags += '+';
        }
        flags += flag;
    };
    if (attributes.font.isBold()) {
        add("b");
    }
    if (attributes.font.isItalic()) {
        add("i");
    }
    if (attributes.superscript < 0) {
        add("sub");
    } else if (attributes.superscript > 0) {
        add("sup");
    }
    return flags;
}

/// The maximal runs of styled text as [start, length, flags]; plain text is left out.
void appendStyles(std::string& line, const AttributedString& text) {
    line += '[';
    bool first = true;
    std::size_t start = 0;
    std::size_t length = 0;
    std::string flags;
    const auto flush = [&] {
        if (length > 0 && !flags.empty()) {
            line += first ? "[" : ",[";
            first = false;
            appendJsonNumber(line, std::uint64_t{start});
            line += ',';
            appendJsonNumber(line, std::uint64_t{length});
            line += ',';
            appendJsonString(line, flags);
            line += ']';
        }
    };
    for (const TextRun& run : text.runs()) {
        std::string runFlags = styleFlags(run.attributes);
        if (runFlags != flags) {
            flush();
            start += length;
            length = 0;
            flags = std::move(runFlags);
        }
        length += run.length;
    }
    flush();
    line += ']';
}

void appendPoint(std::string& line, Point point) {
    line += '[';
    appendJsonNumber(line, point.x);
    line += ',';
    appendJsonNumber(line, point.y);
    line += ']';
}

void printNodeView(BufferedWriter& out, const LanthorNodeView& view) {
    std::string& line = out.line();
    line += R"({"node":)";
    if (const std::shared_ptr<Tree>& node = view.underlyingNode()) {
        appendJsonString(line, node->nodeNumber());
    } else {
        line += "null";
    }
    const Rect frame = view.frame();
    line += R"(,"frame":[)";
    appendJsonNumber(line, frame.origin.x);
    line += ',';
    appendJsonNumber(line, frame.origin.y);
    line += ',';
    appendJsonNumber(line, frame.size.width);
    line += ',';
    appendJsonNumber(line, frame.size.height);
    const AttributedString text = view.textStorage(); // made on each call
    line += R"(],"text":)";
    appendJsonString(line, text.string());
    line += R"(,"styles":)";
    appendStyles(line, text);
    line += '}';
    out.endLine();
}

void printEdge(BufferedWriter& out, const LanthorDocumentView::Edge& edge) {
    std::string& line = out.line();
    line += R"({"edge":[)";
    appendJsonString(line, edge.parent.nodeNumber());
    line += ',';
    appendJsonString(line, edge.child.nodeNumber());
    line += R"(],"from":)";
    appendPoint(line, edge.from);
    line += R"(,"to":)";
    appendPoint(line, edge.to);
    line += R"(,"width":)";
    appendJsonNumber(line, LanthorDocumentView::lineWidth(edge.bold));
    line += '}';
    out.endLine();
}

void printRoof(BufferedWriter& out, const LanthorDocumentView::Roof& roof) {
    std::string& line = out.line();
    line += R"({"roof":)";
    appendJsonString(line, roof.node);
    line += R"(,"from":)";
    appendPoint(line, roof.from);
    line += R"(,"left":)";
    appendPoint(line, roof.left);
    line += R"(,"right":)";
    appendPoint(line, roof.right);
    line += R"(,"width":)";
    appendJsonNumber(line, LanthorDocumentView::lineWidth(false));
    line += '}';
    out.endLine();
}

/// A path as its start and the end of each piece, straight or curved.
void appendPathPoints(std::string& line, const Path& path) {
    line += '[';
    appendPoint(line, path.start());
    for (const Path::Segment& segment : path.segments()) {
        line += ',';
        appendPoint(line, segment.to);
    }
    line += ']';
}

void printArrow(BufferedWriter& out, const LanthorDocumentView::Arrow& arrow) {
    std::string& line = out.line();
    line += R"({"arrow":[)";
    appendJsonString(line, arrow.source);
    line += ',';
    appendJsonString(line, arrow.target);
    line += R"(],"path":)";
    appendPathPoints(line, arrow.route.curve);
    line += R"(,"head":)";
    appendPathPoints(line, arrow.route.head);
    line += R"(,"width":)";
    appendJsonNumber(line, MovementArrows::kLineWidth);
    line += '}';
    out.endLine();
}

} // namespace

int runLayoutCommand(const std::vector<std::string>& args) {
    const auto parsed = parseRenderArguments(args, false);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        return usageError(*problem);
    }
    const RenderArguments& arguments = std::get<RenderArguments>(parsed);
    if (arguments.positional.size() != 1) {
        return usageError("layout needs exactly one FILE");
    }
    auto table = std::make_shared<TreeTable>();
    if (const int status = loadTreeFile(arguments.positional[0], *table)) {
        return status;
    }

    GuiSession session;
    auto setup = std::make_unique<CanvasSetup>(std::move(table), arguments, session.textSystem());
    UnseenPainter painter;
    setup->canvas->drawRect(painter);

    BufferedWriter out(stdout);
    for (const std::shared_ptr<View>& subview : setup->canvas->subviews()) {
        if (const auto* nodeView = dynamic_cast<const LanthorNodeView*>(subview.get())) {
            printNodeView(out, *nodeView);
        }
    }
    setup->canvas->forEachEdge(
        [&out](const LanthorDocumentView::Edge& edge) { printEdge(out, edge); });
    for (const LanthorDocumentView::Roof& roof : setup->canvas->roofs()) {
        printRoof(out, roof);
    }
    for (const LanthorDocumentView::Arrow& arrow : setup->canvas->arrows()) {
        printArrow(out, arrow);
    }
    keepUntilExit(std::move(setup));
    return kExitSuccess;
}

} // namespace lanthor
