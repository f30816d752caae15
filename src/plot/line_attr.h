#pragma once

// The look of a drawn line: colour, style, width, visibility. Axes, grids
// and line series share it. Setters always report a change (even when the
// value was already set), through a callback the owner installs.

#include <cstdint>
#include <functional>

#include "canvas/canvas.h"

namespace vx {

class Tsp_CustomLineAttr {
public:
    using TNotify = std::function<void(Tsp_CustomLineAttr* sender)>;

    TColor Color() const { return fColor; }
    TPenStyle Style() const { return fStyle; }
    std::uint16_t Width() const { return fWidth; }
    bool Visible() const { return fVisible; }
    void SetColor(TColor c);
    void SetStyle(TPenStyle s);
    void SetWidth(std::uint16_t w);
    void SetVisible(bool v);

    // Copies colour, style, width and visibility; no change is reported.
    void Assign(const Tsp_CustomLineAttr& source);
    // The canvas pen takes colour, style and width, in copy mode.
    void SetPenAttr(Canvas& canvas) const;
    bool IsSame(const Tsp_CustomLineAttr& other) const;
    void Changed();

    TNotify fOnChange;

private:
    TColor fColor = clBlack;
    TPenStyle fStyle = TPenStyle::psSolid;
    std::uint16_t fWidth = 1;
    TPenMode fMode = TPenMode::pmCopy;  // kept, never used: drawing always copies
    bool fVisible = true;
};

class Tsp_LineAttr : public Tsp_CustomLineAttr {};

}  // namespace vx
