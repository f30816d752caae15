#include "plot/line_attr.h"

namespace vx {

void Tsp_CustomLineAttr::SetColor(TColor c) {
    fColor = c;
    Changed();
}

void Tsp_CustomLineAttr::SetStyle(TPenStyle s) {
    fStyle = s;
    Changed();
}

void Tsp_CustomLineAttr::SetWidth(std::uint16_t w) {
    fWidth = w;
    Changed();
}

void Tsp_CustomLineAttr::SetVisible(bool v) {
    fVisible = v;
    Changed();
}

void Tsp_CustomLineAttr::Assign(const Tsp_CustomLineAttr& source) {
    fColor = source.fColor;
    fStyle = source.fStyle;
    fWidth = source.fWidth;
    fVisible = source.fVisible;
}

void Tsp_CustomLineAttr::SetPenAttr(Canvas& canvas) const {
    canvas.setPen({fColor, fStyle, fWidth, TPenMode::pmCopy});
}

bool Tsp_CustomLineAttr::IsSame(const Tsp_CustomLineAttr& other) const {
    return fColor == other.fColor && fStyle == other.fStyle && fWidth == other.fWidth && fVisible == other.fVisible;
}

void Tsp_CustomLineAttr::Changed() {
    if (fOnChange) fOnChange(this);
}

}  // namespace vx
