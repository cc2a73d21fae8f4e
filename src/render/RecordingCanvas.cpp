#include "render/RecordingCanvas.h"

#include <algorithm>
#include <iterator>

namespace corvelt {

void RecordingCanvas::clear(Rgb colour) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::clear;
    call.colour = colour;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::fillPolygon(std::span<const Pixel> corners, Rgb colour) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::fillPolygon;
    call.points.assign(corners.begin(), corners.end());
    call.colour = colour;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::drawPath;
    call.points.assign(corners.begin(), corners.end());
    call.closed = closed;
    call.pen = pen;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::drawCircle(Pixel centre, int radius, const Pen& pen) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::drawCircle;
    call.points = {centre};
    call.radius = radius;
    call.pen = pen;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::drawBox(int left, int top, int right, int bottom, Rgb fill,
                              const Pen& border) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::drawBox;
    call.points = {Pixel{left, top}, Pixel{right, bottom}};
    call.colour = fill;
    call.pen = border;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::drawText;
    call.points = {topLeft};
    call.colour = colour;
    call.fontHeight = font.height;
    call.fontWidth = font.width;
    call.fontFace = font.face;
    call.text = text;
    calls_.push_back(std::move(call));
}

std::vector<CanvasCall> RecordingCanvas::callsOf(CanvasCall::Kind kind) const {
    std::vector<CanvasCall> matching;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(matching),
                 [kind](const CanvasCall& call) { return call.kind == kind; });
    return matching;
}

}  // namespace corvelt
