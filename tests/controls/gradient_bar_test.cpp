#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>

#include "canvas/painter_canvas.h"
#include "controls/gradient_bar.h"
#include "support/recording_canvas.h"
#include "watcher/interface_pictures.h"

namespace vx {
namespace {

using Op = test::TRecordingCanvas::Op;

std::vector<TPixmap> pictures16() {
    std::vector<TPixmap> list;
    for (const QImage& img : InterfacePictures16()) list.push_back(fromQImage(img));
    return list;
}

TEST(GradientBarTest, BottomBorderOnly) {
    TGradientBar bar;
    bar.resize(120, 30);
    bar.SetBorder(true);
    bar.SetBorderEdges(1u << beBottom);
    test::TRecordingCanvas canvas({0, 0, 120, 30});
    bar.Paint(canvas);
    const auto lines = canvas.callsOf(Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<TPoint>{{120, 29}, {-1, 29}}));
    EXPECT_EQ(lines[0].pen.color, 0x211713);
    for (const auto& fill : canvas.callsOf(Op::FillRect)) EXPECT_LE(fill.rect.bottom, 29);
    EXPECT_EQ(bar.contentsMargins(), QMargins(0, 0, 0, 1));  // children stay inside the border
}

TEST(GradientBarTest, StatesPickTheirColoursAndFonts) {
    QWidget parent;
    auto* bar = new TGradientBar(&parent);
    bar->SetColors(0x0000AA, 0x0000BB);
    bar->SetSelectedColors(0x00AA00, 0x00BB00);
    bar->SetHotColors(0xAA0000, 0xBB0000);
    TFontAttr big;
    big.height = -20;
    big.color = clRed;
    bar->SetSelectedFont(big);
    auto firstFill = [&] {
        test::TRecordingCanvas canvas;
        bar->Paint(canvas);
        return canvas.callsOf(Op::FillRect).front().brush.color;
    };
    EXPECT_EQ(firstFill(), 0x0000AA);
    bar->SetSelected(true);
    EXPECT_EQ(firstFill(), 0x00AA00);
    EXPECT_EQ(bar->StateColor(), 0x00AA00);
    test::TRecordingCanvas canvas;
    bar->Paint(canvas);
    const auto text = canvas.callsOf(Op::DrawText);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].font.height, bar->Font().height);  // the state font takes the normal height
    EXPECT_EQ(text[0].font.color, clRed);
    bar->setEnabled(false);
    EXPECT_FALSE(bar->Selected());  // disabling drops the selection
    EXPECT_EQ(bar->StateColor(), bar->Color(TThemeBuffer::DisabledColorFrom));
}

TEST(GradientBarTest, ButtonGroups) {
    QWidget parent;
    std::vector<TGradientBar*> bars;
    for (int i = 0; i < 3; ++i) {
        bars.push_back(new TGradientBar(&parent));
        bars.back()->SetButtonMode(true);
        bars.back()->SetGroupIndex(1);
        bars.back()->setGeometry(0, i * 30, 100, 30);
    }
    parent.show();
    QTest::mouseClick(bars[0], Qt::LeftButton);
    QTest::mouseClick(bars[2], Qt::LeftButton);
    EXPECT_FALSE(bars[0]->Selected());
    EXPECT_FALSE(bars[1]->Selected());
    EXPECT_TRUE(bars[2]->Selected());  // radio: one of the group

    auto* lone = new TGradientBar(&parent);
    lone->SetButtonMode(true);
    lone->SetGroupIndex(2);
    lone->show();
    QTest::mouseClick(lone, Qt::LeftButton);
    EXPECT_TRUE(lone->Selected());
    QTest::mouseClick(lone, Qt::LeftButton);
    EXPECT_FALSE(lone->Selected());  // alone in its group: toggles

    auto* momentary = new TGradientBar(&parent);
    momentary->SetButtonMode(true);
    momentary->show();
    int clicks = 0;
    QObject::connect(momentary, &TGradientBar::clicked, [&] { ++clicks; });
    QTest::mousePress(momentary, Qt::LeftButton);
    EXPECT_TRUE(momentary->Selected());
    QTest::mouseRelease(momentary, Qt::LeftButton);
    EXPECT_FALSE(momentary->Selected());
    EXPECT_EQ(clicks, 1);
}

TEST(GradientBarTest, Clamps) {
    TGradientBar bar;
    bar.SetColorCount(0);
    EXPECT_EQ(bar.ColorCount(), 1);
    bar.SetLuminosityScale(5000);
    EXPECT_EQ(bar.LuminosityScale(), 999);
    bar.SetLuminosityScale(-5000);
    EXPECT_EQ(bar.LuminosityScale(), -1000);
}

TEST(GradientBarTest, ThemeBufferEntries) {
    TGradientBar bar;
    TThemeBuffer before;
    bar.GetThemeBuffer(before);
    TThemeBuffer none;
    none.colors.fill(clNone);
    bar.SetThemeBuffer(none, false);
    TThemeBuffer after;
    bar.GetThemeBuffer(after);
    EXPECT_EQ(after, before);

    TThemeBuffer all;
    all.colors.fill(0x123456);
    bar.SetThemeBuffer(all, true);
    bar.GetThemeBuffer(after);
    EXPECT_EQ(after[TThemeBuffer::ColorFrom], 0x123456);
    EXPECT_EQ(after[TThemeBuffer::SelectedColorFrom], before[TThemeBuffer::SelectedColorFrom]);  // excluded
    EXPECT_EQ(after[TThemeBuffer::SelectionBarColor], before[TThemeBuffer::SelectionBarColor]);  // never taken
    bar.RestoreThemeBuffer();
    bar.GetThemeBuffer(after);
    EXPECT_EQ(after, before);
}

TEST(GradientBarTest, DisabledPictureIsGreyWithWhiteTransparent) {
    const std::vector<TPixmap> images = pictures16();
    TGradientBar bar;
    bar.SetImages(&images);
    bar.SetImageIndex(7);
    test::TRecordingCanvas canvas;
    bar.Paint(canvas);
    ASSERT_EQ(canvas.callsOf(Op::Pixmap).size(), 1u);
    EXPECT_EQ(canvas.callsOf(Op::Pixmap)[0].transparent, clNone);
    bar.setEnabled(false);
    canvas.clear();
    bar.Paint(canvas);
    ASSERT_EQ(canvas.callsOf(Op::Pixmap).size(), 1u);
    EXPECT_EQ(canvas.callsOf(Op::Pixmap)[0].transparent, clWhite);
    EXPECT_EQ(bar.IconWidth(), 16);
    bar.SetImageIndex(-1);
    EXPECT_EQ(bar.IconWidth(), 0);
}

TEST(GradientBarTest, CaptionLayout) {
    TGradientBar bar;
    bar.resize(100, 40);
    bar.SetCaption("first line\r\nsecond line");
    test::TRecordingCanvas canvas;
    bar.Paint(canvas);
    auto texts = canvas.callsOf(Op::DrawText);
    ASSERT_EQ(texts.size(), 1u);  // the measuring pass draws nothing
    EXPECT_EQ(texts[0].rect.top, bar.TopIndent());
    EXPECT_EQ(texts[0].rect.right, 100 - bar.RightIndent());

    bar.SetCaption("a caption far too long for the bar");
    bar.SetWordWrapMode(wwmEndEllipsis);
    bar.SetAlignment(taRightJustify);
    canvas.clear();
    bar.Paint(canvas);
    texts = canvas.callsOf(Op::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].flags, dt::EndEllipsis | dt::Right);
    bar.SetWordWrapMode(wwmNone);
    canvas.clear();
    bar.Paint(canvas);
    EXPECT_EQ(canvas.callsOf(Op::DrawText)[0].flags, dt::EditControl | dt::Right);
}

TEST(GradientBarTest, AutoWidthFollowsTheCaption) {
    QWidget parent;
    auto* bar = new TGradientBar(&parent);
    bar->setGeometry(10, 0, 300, 30);
    bar->SetCaption("eth0");
    bar->SetAutoWidth(true);
    const int shortWidth = bar->width();
    EXPECT_LT(shortWidth, 300);
    bar->SetCaption("a much longer interface name");
    EXPECT_GT(bar->width(), shortWidth);
    EXPECT_EQ(bar->x(), 10);
}

// The watcher header: flat money green, bold black caption with a 16-pixel
// picture, a combo box and a button at the right. VX_SAVE_PNG=path keeps the picture.
TEST(GradientBarTest, WatcherHeader) {
    const std::vector<TPixmap> images = pictures16();
    QWidget panel;
    panel.resize(475, 29);
    auto* bar = new TGradientBar(&panel);
    bar->setGeometry(0, 0, 475, 29);
    bar->SetTopIndent(7);
    bar->SetColors(clMoneyGreen, clMoneyGreen);
    bar->SetColor(TThemeBuffer::BorderColor, clBlack);
    bar->SetColor(TThemeBuffer::DisabledColorFrom, 5194044);
    bar->SetColor(TThemeBuffer::DisabledColorTo, 5194044);
    bar->SetSelectedColors(5194044, 3550247);
    bar->SetHotColors(9007719, 7494226);
    bar->SetColor(TThemeBuffer::SelectionBarColor, 2588671);
    TFontAttr font;
    font.height = -11;
    font.bold = true;
    font.color = clBlack;
    bar->SetFont(font);
    bar->SetImages(&images);
    bar->SetImageIndex(7);
    bar->SetCaption("eth0");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 3, 4, 3);
    row->addStretch(1);
    auto* units = new QComboBox(bar);
    units->addItems({"Transfer", "Speed"});
    row->addWidget(units);
    row->addWidget(new QPushButton("Properties...", bar));
    panel.show();
    QApplication::processEvents();
    const QImage shot = panel.grab().toImage();
    if (const char* path = std::getenv("VX_SAVE_PNG")) shot.save(path);

    const QColor background = shot.pixelColor(250, 2);
    EXPECT_EQ(rgbColor(background.red(), background.green(), background.blue()), clMoneyGreen);
    int dark = 0;  // the bold black caption
    for (int x = 25; x < 70; ++x)
        for (int y = 7; y < 22; ++y) dark += qGray(shot.pixel(x, y)) < 80;
    EXPECT_GT(dark, 15);
    EXPECT_NE(shot.pixelColor(10, 14), background);  // the picture at the left indent
}

}  // namespace
}  // namespace vx
