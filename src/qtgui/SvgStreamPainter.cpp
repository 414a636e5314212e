#include "SvgStreamPainter.h"

#include "QtTextLines.h"
#include "base/Utf.h"

#include <QFont>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace lanthor {

namespace {

constexpr std::size_t kPieceSize = 1 << 20;

/// The shortest decimal, without exponent, that reads back as the same double.
void appendNumber(std::string& out, double value) {
    char text[400]; // room for any double written out in full
    const std::to_chars_result end =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed);
    out.append(text, end.ptr);
}

/// ` name="value"`, a number.
void appendAttribute(std::string& out, std::string_view name, double value) {
    out += ' ';
    out += name;
    out += "=\"";
    appendNumber(out, value);
    out += '"';
}

/// ` name="#rrggbb"`, and ` name-opacity="alpha"` for a colour that is not opaque.
void appendColorAttribute(std::string& out, std::string_view name, Color color) {
    char text[8];
    const auto channel = [](double value) {
        return static_cast<unsigned>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(color.red), channel(color.green),
                  channel(color.blue));
    out += ' ';
    out += name;
    out += "=\"";
    out += text;
    out += '"';
    if (color.alpha < 1) {
        appendAttribute(out, std::string(name) + "-opacity", color.alpha);
    }
}

/// ` d="..."`: the path's points as SVG path data.
void appendPathData(std::string& out, const Path& path) {
    const auto point = [&out](char command, Point p) {
        out += command;
        appendNumber(out, p.x);
        out += ' ';
        appendNumber(out, p.y);
    };
    out += " d=\"";
    point('M', path.start());
    for (const Path::Segment& segment : path.segments()) {
        if (segment.curve) {
            point('C', segment.control1);
            point(' ', segment.control2);
            point(' ', segment.to);
        } else {
            point('L', segment.to);
        }
    }
    if (path.closed()) {
        out += 'Z';
    }
    out += '"';
}

/// Text as XML character data: markup characters escaped, characters XML forbids dropped.
void appendEscaped(std::string& out, std::u16string_view text) {
    for (const char c : toUtf8(text)) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
                out += c;
            }
        }
    }
}

} // namespace

SvgStreamPainter::SvgStreamPainter(Sink sink, double left, double top, double width, double height)
    : sink_(std::move(sink)) {
    buffer_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
    appendAttribute(buffer_, "width", width);
    appendAttribute(buffer_, "height", height);
    buffer_ += " viewBox=\"";
    const double box[] = {left, top, width, height};
    for (std::size_t i = 0; i < std::size(box); ++i) {
        appendNumber(buffer_, box[i]);
        buffer_ += i + 1 < std::size(box) ? ' ' : '"';
    }
    buffer_ += ">\n";
    fillRect({{left, top}, {width, height}}, Color::white());
}

void SvgStreamPainter::finish() {
    buffer_ += "</svg>\n";
    sink_(buffer_);
    buffer_.clear();
}

void SvgStreamPainter::flushIfFull() {
    if (buffer_.size() >= kPieceSize) {
        sink_(buffer_);
        buffer_.clear();
    }
}

void SvgStreamPainter::fillRect(Rect rect, Color color) {
    if (!(rect.size.width > 0 && rect.size.height > 0)) {
        return; // nothing to see
    }
    buffer_ += "<rect";
    appendAttribute(buffer_, "x", rect.origin.x);
    appendAttribute(buffer_, "y", rect.origin.y);
    appendAttribute(buffer_, "width", rect.size.width);
    appendAttribute(buffer_, "height", rect.size.height);
    appendColorAttribute(buffer_, "fill", color);
    buffer_ += "/>\n";
    flushIfFull();
}

void SvgStreamPainter::strokeLine(Point from, Point to, double width, Color color) {
    buffer_ += "<line";
    appendAttribute(buffer_, "x1", from.x);
    appendAttribute(buffer_, "y1", from.y);
    appendAttribute(buffer_, "x2", to.x);
    appendAttribute(buffer_, "y2", to.y);
    appendAttribute(buffer_, "stroke-width", width);
    appendColorAttribute(buffer_, "stroke", color);
    buffer_ += "/>\n";
    flushIfFull();
}

void SvgStreamPainter::strokePath(const Path& path, double width, Color color) {
    buffer_ += "<path";
    appendPathData(buffer_, path);
    buffer_ += " fill=\"none\"";
    appendAttribute(buffer_, "stroke-width", width);
    appendColorAttribute(buffer_, "stroke", color);
    buffer_ += "/>\n";
    flushIfFull();
}

void SvgStreamPainter::fillPath(const Path& path, Color color) {
    buffer_ += "<path";
    appendPathData(buffer_, path);
    appendColorAttribute(buffer_, "fill", color);
    buffer_ += "/>\n";
    flushIfFull();
}

void SvgStreamPainter::drawText(const AttributedString& text, Rect rect) {
    const std::u16string& string = text.string();
    for (const QtTextLine& line : layOutLines(text, fonts_)) {
        const double baseline = rect.origin.y + line.top + line.ascent;
        for (const QtTextSegment& segment : line.segments) {
            const QFont& font = segment.face->font();
            const double size = (font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF()) *
                                segment.face->scale();
            buffer_ += "<text xml:space=\"preserve\" x=\"";
            appendNumber(buffer_, rect.origin.x + segment.x);
            buffer_ += "\" y=\"";
            appendNumber(buffer_, baseline - segment.raise);
            buffer_ += "\" font-family=\"";
            appendEscaped(buffer_, font.family().toStdU16String());
            buffer_ += "\" font-size=\"";
            appendNumber(buffer_, size);
            buffer_ += '"';
            if (font.bold()) {
                buffer_ += " font-weight=\"bold\"";
            }
            if (font.italic()) {
                buffer_ += " font-style=\"italic\"";
            }
            buffer_ += '>';
            appendEscaped(buffer_,
                          std::u16string_view(string).substr(segment.start, segment.length));
            buffer_ += "</text>\n";
        }
    }
    flushIfFull();
}

} // namespace lanthor
