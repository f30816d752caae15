#pragma once

// The interface pictures, drawn by the program itself at 16 and 32 pixels:
//  0 warning triangle      5 Bluetooth symbol      10 card with circular arrows
//  1 question mark         6 USB symbol            11 card with a cloud
//  2 power plug            7 network card          12 card with a SIM card
//  3 cable connector plug  8 radio waves           13 computer screen
//  4 IEEE 1394 symbol      9 card with sharing     14 address label
// In the 16-pixel list pictures 0, 8 and 14 are empty (fully transparent):
// the interface list and caption bars show no picture for an interface that
// does not work or is wireless.

#include <QIcon>
#include <QImage>
#include <vector>

namespace vx {

inline constexpr int kInterfacePictureCount = 15;
// The program's own icon (window, tray, desktop entry): the network card.
inline constexpr int kProgramIconPicture = 7;

// The picture `size` pixels wide in drawing units, with the pixels of a
// screen of device pixel ratio `ratio` (sharp on HiDPI screens).
QImage DrawInterfacePicture(int index, int size, qreal ratio = 1.0);
// The 16-pixel list picture as an icon with pixels for ratios 1, 1.5, 2
// and 3, so that the list shows it sharp on every screen.
QIcon InterfaceIcon16(std::size_t index);

// The two picture lists, made on first use.
const std::vector<QImage>& InterfacePictures16();
const std::vector<QImage>& InterfacePictures32();

}  // namespace vx
