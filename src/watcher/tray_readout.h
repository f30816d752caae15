#pragma once

// The tray readout: the current download and upload rate drawn into the
// tray icon as two short lines of figures ("1.2M" over "84K") of a fixed
// width, so that neither the figure nor the panel jumps as the rates change.

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRectF>
#include <string>

namespace vx {

// A rate in at most three figures and a unit letter: bytes per second in
// steps of 1024 ("512B", "84K", "1.2M") for units 0, bits per second in
// steps of 1000 ("512b", "84k", "1.2M") for units 1. Below ten of a unit
// with one decimal, else whole.
std::string ShortRate(double bytesPerSecond, int units);

// Black or white, whichever reads better on `background`.
QColor ReadableOn(const QColor& background);

struct TTrayReadout {
    std::string Download, Upload;  // ShortRate texts
    QColor Ink;                    // the figures; a halo of the other extreme goes round them
};

// The icon of `size` logical pixels at `ratio` device pixels per pixel: the
// download figure above the upload figure, each scaled to the same fixed
// width (that of the widest figure a rate can give), right-aligned.
QImage DrawTrayReadout(const TTrayReadout& readout, int size, qreal ratio = 1.0);

// The sizes tray hosts draw icons at (a StatusNotifierItem host picks among
// the pictures it is given, an XEmbed tray asks for its own size).
inline constexpr int kTrayIconSizes[] = {16, 22, 24, 32};

// The readout at every one of those sizes, for the screen's `ratio`.
QIcon DrawTrayReadoutIcon(const TTrayReadout& readout, qreal ratio);

// Where DrawTrayReadout puts the lines' ink, in logical pixels.
QRectF TrayReadoutLineRect(const std::string& text, int line, int size);

}  // namespace vx
