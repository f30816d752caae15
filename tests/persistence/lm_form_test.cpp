#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "persistence/desktop_metrics.h"
#include "persistence/ini_storage.h"
#include "persistence/layout_test_widgets.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

using test::ReadWholeFile;
using test::TTestForm;

class LMFormTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::string file = dir.file("cfg/vantrix.ini");
    std::shared_ptr<TLayoutManagerINIStorage> storage = std::make_shared<TLayoutManagerINIStorage>();

    void SetUp() override { storage->SetFileName(file); }

    std::unique_ptr<TTestForm> makeForm(bool layoutControl = true) {
        auto form = std::make_unique<TTestForm>();
        form->LayoutManager().SetStorage(storage);
        form->SetLayoutControl(layoutControl);
        return form;
    }
};

TEST_F(LMFormTest, RealWindowSavesAndRestoresGeometryStateAndStyle) {
    QPoint where;  // the frame's place as the window system reports it
    {
        auto form = makeForm();
        form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        form->show();
        form->move(120, 130);
        form->resize(400, 300);
        where = form->pos();
    }  // saved at destruction
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(storage->ReadString("TTestForm", "Size", ""), "400,300");
    EXPECT_EQ(storage->ReadString("TTestForm", "Pos", ""),
              std::to_string(where.x()) + "," + std::to_string(where.y()));
    EXPECT_EQ(storage->ReadInteger("TTestForm", "Style", -1), 3);

    auto form = makeForm();
    form->show();  // restored before it appears
    EXPECT_EQ(form->size(), QSize(400, 300));
    EXPECT_EQ(form->pos(), where);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    form->setWindowState(Qt::WindowMaximized);
    form.reset();

    auto maximized = makeForm();
    maximized->show();
    EXPECT_TRUE(maximized->isMaximized());
}

TEST_F(LMFormTest, WithoutLayoutControlNothingIsReadOrWritten) {
    test::WriteWholeFile(dir.file("cfg-marker"), "");
    std::filesystem::create_directories(dir.path() / "cfg");
    test::WriteWholeFile(file, "[TTestForm]\nSize=333,222\n");
    {
        auto form = makeForm(false);
        form->resize(100, 100);
        form->show();
        EXPECT_EQ(form->size(), QSize(100, 100));
    }
    EXPECT_EQ(ReadWholeFile(file), "[TTestForm]\nSize=333,222\n");
}

TEST_F(LMFormTest, SavesWhenAMoveHasSettled) {
    auto form = makeForm();
    form->show();
    form->move(40, 50);
    EXPECT_FALSE(std::filesystem::exists(file));  // not while the window may still be moving
    QTest::qWait(TLMForm::kSettleMs + 200);
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(LMFormTest, StoredReadOnlyStopsTheNextSave) {
    std::filesystem::create_directories(dir.path() / "cfg");
    test::WriteWholeFile(file, "[TTestForm]\nLayoutReadOnly=1\n");
    {
        auto form = makeForm();
        ASSERT_FALSE(form->LayoutReadOnly());
        form->show();
        EXPECT_TRUE(form->LayoutReadOnly());
        form->move(300, 300);
        QTest::qWait(TLMForm::kSettleMs + 200);
    }
    EXPECT_EQ(ReadWholeFile(file), "[TTestForm]\nLayoutReadOnly=1\n");
}

TEST_F(LMFormTest, SecondFormTakesOverTheMainFormsStorageAndReadOnly) {
    auto main = makeForm();
    main->SetLayoutReadOnly(true);
    ASSERT_EQ(TLMForm::MainForm(), main.get());
    TTestForm second;
    EXPECT_EQ(second.LayoutManager().Storage(), storage);
    EXPECT_TRUE(second.LayoutReadOnly());
}

TEST_F(LMFormTest, Centring) {
    TTestForm outer, inner;
    outer.setGeometry(100, 100, 600, 400);
    inner.resize(401, 201);
    inner.CenterTo(&outer);
    EXPECT_EQ(inner.pos(), QPoint(199, 199));

    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint onWorkArea(work.left() + (work.width() - 401) / 2, work.top() + (work.height() - 201) / 2);
    for (int index : {-1, static_cast<int>(QGuiApplication::screens().size())}) {
        inner.move(0, 0);
        inner.CenterToMonitor(index);
        EXPECT_EQ(inner.pos(), onWorkArea) << index;
    }
    inner.CenterToMonitor(0);
    const QRect screen = QGuiApplication::screens().at(0)->geometry();
    EXPECT_EQ(inner.pos(), QPoint(screen.left() + (screen.width() - 401) / 2, screen.top() + (screen.height() - 201) / 2));
}

TEST_F(LMFormTest, DisplayChangeRereadsGeometryButNotState) {
    std::filesystem::create_directories(dir.path() / "cfg");
    test::WriteWholeFile(file, "[TTestForm]\nPos=10,20\nSize=300,200\nState=2\n");
    auto form = makeForm();
    form->show();
    ASSERT_TRUE(form->isMaximized());
    form->setWindowState(Qt::WindowNoState);
    form->setGeometry(500, 500, 100, 100);
    bool fired = false;
    form->OnDisplayChange = [&](QObject*) { fired = true; };
    form->DisplayChanged();
    EXPECT_TRUE(fired);
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(form->size(), QSize(300, 200));
    EXPECT_EQ(form->LayoutOptions(), kAllLayoutOptions);
    EXPECT_EQ(form->LayoutManager().GetControl(0)->Options(), kAllLayoutOptions);
}

TEST_F(LMFormTest, WindowStateEventsAndDroppedFiles) {
    auto form = makeForm(false);
    std::vector<std::string> events;
    form->OnMinimize = [&](QObject*) { events.push_back("minimize"); };
    form->OnMaximize = [&](QObject*) { events.push_back("maximize"); };
    form->OnRestore = [&](QObject*) { events.push_back("restore"); };
    form->show();
    form->setWindowState(Qt::WindowMaximized);
    form->setWindowState(Qt::WindowNoState);
    form->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(events, (std::vector<std::string>{"maximize", "restore", "minimize"}));

    QStringList dropped;
    form->OnDropFiles = [&](QObject*, const QStringList& files) { dropped = files; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.ini"), QUrl("https://example.invalid/x"), QUrl::fromLocalFile("/tmp/b")});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Delivered straight to the window: outside a real drag the application
    // does not route drop events.
    QObject* target = form.get();
    target->event(&drop);
    EXPECT_TRUE(dropped.isEmpty());  // AcceptFiles is off
    form->SetAcceptFiles(true);
    EXPECT_TRUE(form->acceptDrops());
    target->event(&drop);
    EXPECT_EQ(dropped, (QStringList{"/tmp/a.ini", "/tmp/b"}));
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// A settings file that cannot be written must not end the program from an
// automatic save (after a move, or when the window goes).
TEST_F(LMFormTest, RefusedAutomaticSavesLeaveTheFileAndTheProgramAlone) {
    std::filesystem::create_directories(dir.path() / "cfg");
    test::WriteWholeFile(file, "[TTestForm]\nSize=300,200\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    {
        auto form = makeForm();
        form->show();
        form->move(77, 88);
        QTest::qWait(TLMForm::kSettleMs + 200);
    }
    EXPECT_EQ(ReadWholeFile(file), "[TTestForm]\nSize=300,200\n");
}

}  // namespace
}  // namespace vx
