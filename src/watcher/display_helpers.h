#pragma once

// Small helpers that the interface list, the watchers and the adapter dialog
// share: which picture an interface gets, and the texts of byte and bit
// quantities. Texts use the user's decimal separator (FormatSettings).

#include <cstdint>
#include <QFont>
#include <QString>
#include <string>

namespace vx {

inline constexpr int kUnitsTransfer = 0;  // bytes, binary steps: B, KB, MB, GB
inline constexpr int kUnitsSpeed = 1;     // bits, decimal steps: bps, Kbps, Mbps, Gbps

// The interface picture (index into the interface image lists) for a
// platform type and operational status number; 0 (warning) for anything
// not working and for unknown types.
int GetInterfaceImageIndex(std::uint32_t ifType, std::uint32_t status);

// "%1.2f" and a unit, chosen by the value rounded to the nearest integer
// (halves to even): bytes step at 1024, 1048576 and 1073741824; bits (the
// value times 8) at 1000, 1000000 and 1000000000. Negative byte values show
// in GB, negative bit values in bps. "" for any other unit index.
std::string FormatValue(int units, double value);
// FormatValue(kUnitsTransfer, value).
std::string FormatSize(double value);

// An interface's name as the user reads it: the uplink total's in the
// user's language, any other as the kernel names it.
QString ShownName(const std::string& name);

// `font`, or where its figures differ in width a fixed-pitch font of its
// size and weight: figures of one width keep a changing value from jumping.
QFont WithTabularFigures(const QFont& font);

}  // namespace vx
