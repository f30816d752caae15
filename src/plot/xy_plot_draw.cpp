// The plot's picture: the surroundings (bands, axes, captions), the field
// (background, grids, markers, series) and the border.
#include "plot/xy_plot.h"

namespace vx {

void Tsp_XYPlot::DrawAround() {
    Canvas& c = *fDCanvas;
    c.setBrush({FColor, TBrushStyle::bsSolid});
    c.fillRect({0, 0, fDWidth, FR.top});
    c.fillRect({0, FR.bottom + 1, fDWidth, fDHeight});
    c.fillRect({0, FR.top, FR.left, FR.bottom + 1});
    c.fillRect({FR.right, FR.top, fDWidth, FR.bottom + 1});
    DrawAxes();

    // Captions: the axes' margins give them their room.
    if (BA.DrawCaption()) {
        TFontAttr f = c.font();
        f.bold = true;
        c.setFont(f);
        c.textOut((FR.right + FR.left - c.textWidth(BA.Caption())) / 2, fDHeight - BA.Margin(), BA.Caption());
    }
    if (TA.DrawCaption())
        c.textOut((FR.right + FR.left - c.textWidth(TA.Caption())) / 2, TA.Margin() - 1 - c.textHeight("8"),
                  TA.Caption());
    if (LA.DrawCaption() || RA.DrawCaption()) {
        c.setFont(VFont);
        const int h8 = c.textHeight("8");
        if (LA.DrawCaption())
            c.textOut(LA.Margin() - 1 - h8, (FR.bottom + FR.top + c.textWidth(LA.Caption())) / 2, LA.Caption());
        if (RA.DrawCaption())
            c.textOut(fDWidth - RA.Margin(), (FR.bottom + FR.top + c.textWidth(RA.Caption())) / 2, RA.Caption());
    }
    DrawBorder();
}

void Tsp_XYPlot::DrawAxes() {
    Canvas& c = *fDCanvas;
    c.setBrush({c.brush().color, TBrushStyle::bsClear});
    auto width = [](Tsp_Axis& a) { return static_cast<std::uint16_t>(a.LineAttr().Visible() ? a.LineAttr().Width() : 0); };
    TA.DrawLine(c, 0, width(RA));
    RA.DrawLine(c, width(BA), 0);
    BA.DrawLine(c, width(LA), 0);
    LA.DrawLine(c, 0, width(TA));
    c.setPen({FFont.color, TPenStyle::psSolid, 1, TPenMode::pmCopy});
    c.setFont(FFont);
    for (Tsp_Axis* a : {&TA, &RA, &LA, &BA}) a->DrawTicks(c);
}

void Tsp_XYPlot::DrawField() {
    Canvas& c = *fDCanvas;
    const TRect savedClip = c.clipRect();
    c.setClipRect(FR);
    if (FBColor != clNone) {
        c.setBrush({FBColor, TBrushStyle::bsSolid});
        c.fillRect(FR);
    }
    DoFieldDraw();
    c.setBrush({c.brush().color, TBrushStyle::bsClear});
    for (Tsp_Axis* a : {&LA, &BA, &RA, &TA}) {
        if (!a->GridAttr().Visible() || a->TickCount() == 0) continue;
        a->GridAttr().SetPenAttr(c);
        const bool vertical = a->Flags() & sf::Vertical;
        for (int i = 0; i < a->TickCount(); ++i) {
            const int p = a->TickPos(i);
            if (vertical && FR.top < p && p < FR.bottom - 1) {
                c.moveTo(FR.left, p);
                c.lineTo(FR.right, p);
            } else if (!vertical && FR.left < p && p < FR.right - 1) {
                c.moveTo(p, FR.top);
                c.lineTo(p, FR.bottom);
            }
        }
    }
    for (Tsp_PlotMarker* m : fBSML)
        if (m->Visible()) m->Draw(c);
    for (Tsp_DataSeries* s : fSeries)
        if (s->Active()) s->Draw();
    for (Tsp_PlotMarker* m : fASML)
        if (m->Visible()) m->Draw(c);
    c.setClipRect(savedClip);
}

void Tsp_XYPlot::DrawBorder() {
    Canvas& c = *fDCanvas;
    const int W = fDWidth, H = fDHeight;
    const TRect R{0, 0, W, H};
    const TRect inner{1, 1, W - 1, H - 1};
    c.setBrush({c.brush().color, TBrushStyle::bsClear});
    auto outline = [&c](const TRect& r, TColor color) {
        c.setPen({color, TPenStyle::psSolid, 1, TPenMode::pmCopy});
        c.rectangle(r);
    };
    auto frame3D = [&c, &R](TColor topLeft, TColor bottomRight) {
        c.setPen({topLeft, TPenStyle::psSolid, 1, TPenMode::pmCopy});
        c.moveTo(R.left, R.bottom - 1);
        c.lineTo(R.left, R.top);
        c.lineTo(R.right - 1, R.top);
        c.setPen({bottomRight, TPenStyle::psSolid, 1, TPenMode::pmCopy});
        c.lineTo(R.right - 1, R.bottom - 1);
        c.lineTo(R.left - 1, R.bottom - 1);
    };
    switch (fFrameStyle) {
        case bs_None:
            outline(R, FColor);
            outline(inner, FColor);
            break;
        case bs_Raised:
            frame3D(clBtnHighlight, clBtnShadow);
            outline(inner, FColor);
            break;
        case bs_Lowered:
            frame3D(clBtnShadow, clBtnHighlight);
            outline(inner, FColor);
            break;
        case bs_Gutter:
            outline({1, 1, W, H}, clBtnHighlight);
            outline({0, 0, W - 1, H - 1}, clBtnShadow);
            break;
        case bs_BlackRect:
            outline(R, clBlack);
            outline(inner, FColor);
            break;
        case bs_BoldRect:
            outline(R, clBlack);
            outline(inner, clBlack);
            break;
        case bs_FocusRect: {
            c.setBrush({clWhite, TBrushStyle::bsSolid});
            c.setPen({clBlack, TPenStyle::psDot, 1, TPenMode::pmCopy});
            const TPoint a[] = {{0, 0}, {W - 2, 0}, {W - 2, H - 1}, {1, H - 1}, {1, 0}};
            const TPoint b[] = {{1, 1}, {W - 1, 1}, {W - 1, H - 2}, {0, H - 2}, {0, 0}};
            c.polyline(a);
            c.polyline(b);
            break;
        }
    }
}

}  // namespace vx
