#pragma once

// The About dialog's 16 x 16 update-state pictures, drawn by the program:
// a busy wheel (one frame per step), an up-to-date tick and a warning sign.

#include <QImage>

namespace vx {

constexpr int kWaitFrames = 8;

QImage DrawWaitPicture(int frame);
QImage DrawOkPicture();
QImage DrawWarnPicture();

}  // namespace vx
