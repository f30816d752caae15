#include <gtest/gtest.h>

#include <QApplication>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>

#include "persistence/desktop_metrics.h"
#include "persistence/ini_storage.h"
#include "persistence/layout_manager.h"
#include "persistence/layout_test_widgets.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

using test::ReadWholeFile;
using test::TTestControl;
using test::TTestForm;

// A layout-aware form with one control, on a pinned 1920x1080 desktop at 96 DPI.
class LayoutManagerTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::string file = dir.file("vantrix.ini");
    std::shared_ptr<TLayoutManagerINIStorage> storage = std::make_shared<TLayoutManagerINIStorage>();
    QSize desktop{1920, 1080};
    int dpi = 96;

    void SetUp() override {
        storage->SetFileName(file);
        DesktopMetrics() = {[this] { return desktop; }, [this](const QWidget*) { return dpi; }};
    }
    void TearDown() override { ResetDesktopMetrics(); }

    // Builds the form the way the main window is built.
    std::unique_ptr<TTestForm> makeForm(TTestControl** control = nullptr) {
        auto form = std::make_unique<TTestForm>();
        form->LayoutManager().SetStorage(storage);
        form->SetLayoutControl(true);
        auto* tree = new TTestControl(form.get());
        tree->setObjectName("Tree");
        form->setCentralWidget(tree);
        form->LayoutManager().Add(tree, {"Visible", "Tag"});
        if (control) *control = tree;
        return form;
    }
};

TEST_F(LayoutManagerTest, WholeFormSaveWritesTheGoldenFile) {
    TTestControl* tree = nullptr;
    auto form = makeForm(&tree);
    form->LayoutManager().StoredValues().AddItem("Units", 0);
    form->LayoutManager().StoredValues().AddItem("Period", 1);
    form->show();
    form->resize(491, 488);
    form->move(714, 296);
    tree->SetTag(1);
    form->LayoutManager().Save();
    EXPECT_EQ(ReadWholeFile(file),
              "[TTestForm]\n"
              "Size=491,488\n"
              "Size(1920x1080x96)=491,488\n"
              "Pos=714,296\n"
              "Pos(1920x1080)=714,296\n"
              "Align=0\n"
              "State=0\n"
              "Style=0\n"
              "LayoutReadOnly=0\n"
              "\n"
              "[TTestForm\\Tree]\n"
              "Tag=1\n"
              "Visible=1\n"
              "\n"
              "[Settings]\n"
              "Units=0\n"
              "Period=1\n");
    EXPECT_FALSE(storage->Opened());  // closed between operations
}

// A whole-form save reaches the disk as one replace of the file: a crash
// at any moment leaves the state before or after a whole save, never a mix.
TEST_F(LayoutManagerTest, WholeFormSaveIsOneReplace) {
    TTestControl* tree = nullptr;
    auto form = makeForm(&tree);
    auto* second = new TTestControl(form.get());
    second->setObjectName("Second");
    form->LayoutManager().Add(second, {"Tag", "Caption"});
    form->LayoutManager().StoredValues().AddItem("Units", 0);
    form->show();
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    auto replaces = [&] {
        int count = 0;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                if ((e->mask & IN_MOVED_TO) && e->len && std::string(e->name) == "vantrix.ini") ++count;
                p += sizeof(inotify_event) + e->len;
            }
        return count;
    };
    for (int generation = 1; generation <= 3; ++generation) {
        tree->SetTag(generation);
        second->SetTag(generation);
        form->LayoutManager().Save();
        EXPECT_FALSE(storage->Opened());  // nothing gathered is left behind
        EXPECT_EQ(replaces(), 1) << generation;
        EXPECT_EQ(storage->ReadInteger("TTestForm\\Second", "Tag", 0), generation);
        storage->Close();
    }
    ::close(watch);
}

TEST_F(LayoutManagerTest, WindowStatesDecideWhichKeysAreWritten) {
    struct Case {
        Qt::WindowState state;
        bool geometry;
        const char* stateKey;
    };
    const Case cases[] = {
        {Qt::WindowMaximized, false, "2"},
        {Qt::WindowMinimized, false, nullptr},
        {Qt::WindowNoState, true, "0"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(file);
        auto form = makeForm();
        form->show();
        form->setWindowState(c.state);
        form->LayoutManager().Save();
        EXPECT_EQ(storage->ValueExists("TTestForm", "Size"), c.geometry) << c.state;
        EXPECT_EQ(storage->ValueExists("TTestForm", "Pos(1920x1080)"), c.geometry) << c.state;
        EXPECT_TRUE(storage->ValueExists("TTestForm", "Align"));
        EXPECT_TRUE(storage->ValueExists("TTestForm", "Style"));
        EXPECT_EQ(storage->ValueExists("TTestForm", "State"), c.stateKey != nullptr);
        if (c.stateKey) {
            EXPECT_EQ(storage->ReadString("TTestForm", "State", ""), c.stateKey);
        }
    }
}

TEST_F(LayoutManagerTest, RestorePrefersTheKeysOfTheSameDesktop) {
    struct Case {
        QSize desktop;
        int dpi;
        QPoint pos;
        QSize size;
    };
    const Case cases[] = {
        {{1920, 1080}, 96, {110, 120}, {500, 400}},
        {{1920, 1080}, 144, {110, 120}, {300, 200}},  // other DPI: only the size falls back
        {{2560, 1440}, 96, {10, 20}, {300, 200}},
    };
    for (const auto& c : cases) {
        test::WriteWholeFile(file,
                             "[TTestForm]\nSize=300,200\nSize(1920x1080x96)=500,400\nPos=10,20\n"
                             "Pos(1920x1080)=110,120\nState=0\nStyle=3\n");
        desktop = c.desktop;
        dpi = c.dpi;
        auto form = makeForm();
        form->LayoutManager().Restore();
        EXPECT_EQ(form->pos(), c.pos) << c.desktop.width() << " " << c.dpi;
        EXPECT_EQ(form->size(), c.size) << c.desktop.width() << " " << c.dpi;
        EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    }
}

TEST_F(LayoutManagerTest, MalformedPositionTextsChangeOnlyWhatParses) {
    struct Case {
        const char* text;
        QPoint expected;
    };
    const Case cases[] = {
        {"abc", {50, 60}},
        {"x,70", {50, 70}},
        {"80,y", {80, 60}},
        {"80,70", {80, 70}},
        {"80,70,5", {80, 60}},
        {"", {50, 60}},
    };
    for (const auto& c : cases) {
        test::WriteWholeFile(file, std::string("[TTestForm]\nPos=") + c.text + "\n");
        auto form = makeForm();
        form->move(50, 60);
        form->LayoutManager().Restore();
        EXPECT_EQ(form->pos(), c.expected) << c.text;
    }
}

TEST_F(LayoutManagerTest, RegistrationRules) {
    auto form = makeForm();
    TLayoutManager& lm = form->LayoutManager();
    auto* other = new QWidget(form.get());
    EXPECT_EQ(lm.Count(), 2);
    EXPECT_EQ(lm.Add(form.get(), {}, nullptr, kAllLayoutOptions), -1);  // already there
    EXPECT_EQ(lm.Add(nullptr, {}), -1);
    EXPECT_EQ(lm.Add(other, {}, nullptr, kAllLayoutOptions), 2);
    EXPECT_EQ(lm.Add(other, {"Tag"}), -1);
    EXPECT_EQ(lm.Count(), 3);
    QAction action(form.get());
    EXPECT_EQ(lm.Add(&action, {"Checked"}), 3);
    EXPECT_EQ(lm.GetControl(3)->Options(), 0);  // not a widget: no layout options
    lm.Delete(other);
    EXPECT_EQ(lm.FindComponent(other), -1);
    EXPECT_EQ(lm.Count(), 3);
}

TEST_F(LayoutManagerTest, ReadOnlyStopsWholeFormSavesButNotStoredValues) {
    auto form = makeForm();
    form->LayoutManager().StoredValues().AddItem("Units", 1);
    form->SetLayoutReadOnly(true);
    form->LayoutManager().Save();
    form->LayoutManager().Save(form.get());
    EXPECT_FALSE(std::filesystem::exists(file));
    form->LayoutManager().StoredValues().Save();
    EXPECT_EQ(ReadWholeFile(file), "[Settings]\nUnits=1\n");
}

TEST_F(LayoutManagerTest, StoredReadOnlyFlagAppliesInTheMiddleOfTheRestore) {
    test::WriteWholeFile(file, "[TTestForm]\nLayoutReadOnly=1\n[TTestForm\\Tree]\nTag=5\n");
    TTestControl* tree = nullptr;
    auto form = makeForm(&tree);
    ASSERT_FALSE(form->LayoutReadOnly());
    bool readOnlySeenByLaterEntries = false;
    form->LayoutManager().OnAfterRestore = [&](TLayoutManager* lm) { readOnlySeenByLaterEntries = lm->ReadOnly(); };
    form->LayoutManager().Restore();
    EXPECT_TRUE(form->LayoutReadOnly());
    EXPECT_TRUE(readOnlySeenByLaterEntries);
    EXPECT_EQ(tree->Tag(), 5);  // the entries after the form were still restored
    const std::string before = ReadWholeFile(file);
    form->LayoutManager().Save();
    EXPECT_EQ(ReadWholeFile(file), before);
}

TEST_F(LayoutManagerTest, EventsAndTheRestoringFlag) {
    std::vector<std::string> events;  // outlives the form, which saves once more when destroyed
    auto form = makeForm();
    TLayoutManager& lm = form->LayoutManager();
    lm.OnBeforeSave = [&](TLayoutManager* sender) {
        EXPECT_EQ(sender, &lm);
        events.push_back("before save");
    };
    lm.OnAfterSave = [&](TLayoutManager*) { events.push_back("after save"); };
    lm.OnBeforeRestore = [&](TLayoutManager*) {
        events.push_back("before restore");
        lm.Save();  // ignored: a restore is running
        lm.Save(form.get());
    };
    lm.OnAfterRestore = [&](TLayoutManager* sender) {
        EXPECT_TRUE(sender->Restoring());
        events.push_back("after restore");
    };
    lm.Restore();
    EXPECT_FALSE(lm.Restoring());
    EXPECT_FALSE(std::filesystem::exists(file));
    lm.Save();
    EXPECT_EQ(events, (std::vector<std::string>{"before restore", "after restore", "before save", "after save"}));
}

TEST_F(LayoutManagerTest, PropertiesOfEveryKindRoundTrip) {
    const QStringList names{"ratio", "Caption", "Items", "Action", "Alignment", "NoSuchProperty", "caption"};
    {
        auto form = makeForm();
        auto* action = new QAction(form.get());
        action->setObjectName("acRefresh");
        auto* control = new TTestControl(form.get());
        control->setObjectName("Panel");
        control->SetRatio(0.25);
        control->SetCaption("eth0 — wired");
        control->SetItems({"one", "two"});
        control->SetAction(action);
        control->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
        form->LayoutManager().Add(control, names);
        form->LayoutManager().Save(control);
        form->SetLayoutReadOnly(true);  // no whole-form save when it goes
    }
    EXPECT_EQ(ReadWholeFile(file),
              "[TTestForm\\Panel]\n"
              "Action=acRefresh\n"
              "Alignment=130\n"
              "Caption=eth0 — wired\n"
              "Ratio=0.25\n"
              "\n"
              "[TTestForm\\Panel\\Items]\n"
              "Count=2\n"
              "0=one\n"
              "1=two\n");

    auto form = makeForm();
    auto* action = new QAction(form.get());
    action->setObjectName("acRefresh");
    auto* control = new TTestControl(form.get());
    control->setObjectName("Panel");
    control->SetItems({"default line"});
    form->LayoutManager().Add(control, names);
    form->LayoutManager().Restore(control);
    EXPECT_EQ(control->Ratio(), 0.25);
    EXPECT_EQ(control->Caption(), "eth0 — wired");
    EXPECT_EQ(control->Items(), (QStringList{"one", "two"}));  // replaced, not appended to
    EXPECT_EQ(control->Action(), action);
    EXPECT_EQ(control->Alignment(), Qt::AlignRight | Qt::AlignVCenter);

    // An emptied list stays empty after the next start.
    control->SetItems({});
    form->LayoutManager().Save(control);
    control->SetItems({"default line"});
    form->LayoutManager().Restore(control);
    EXPECT_TRUE(control->Items().isEmpty());
}

// A damaged or hostile count cannot make a restore read forever: the list
// holds no more lines than its section has values.
TEST_F(LayoutManagerTest, StringListCountIsCappedByTheSection) {
    struct Case {
        const char* count;
        QStringList expected;
    };
    const Case cases[] = {
        {"9223372036854775807", {"one", "two", ""}},
        {"-5", {}},
        {"2", {"one", "two"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        test::WriteWholeFile(file, std::string("[TTestForm\\Panel\\Items]\nCount=") + c.count + "\n0=one\n1=two\n");
        auto form = makeForm();
        auto* control = new TTestControl(form.get());
        control->setObjectName("Panel");
        form->LayoutManager().Add(control, {"Items"});
        form->LayoutManager().Restore(control);
        EXPECT_EQ(control->Items(), c.expected);
        form->SetLayoutReadOnly(true);
    }
}

TEST_F(LayoutManagerTest, OtherWidgetsKeepGeometryVisibilityAndState) {
    TTestControl* tree = nullptr;
    {
        auto form = makeForm(&tree);
        auto* panel = new QWidget(form.get());
        panel->setObjectName("Panel");
        panel->setGeometry(5, 6, 70, 80);
        panel->setEnabled(false);
        form->LayoutManager().Add(panel, {}, nullptr, kAllLayoutOptions);
        form->show();
        form->LayoutManager().Save(panel);
        form->SetLayoutReadOnly(true);  // no whole-form save when it goes
    }
    EXPECT_EQ(ReadWholeFile(file), "[TTestForm\\Panel]\nWidth=70\nHeight=80\nLeft=5\nTop=6\nVisible=1\nEnabled=0\n");
    auto form = makeForm(&tree);
    auto* panel = new QWidget(form.get());
    panel->setObjectName("Panel");
    form->LayoutManager().Add(panel, {}, nullptr, kAllLayoutOptions);
    form->LayoutManager().Restore(panel);
    EXPECT_EQ(panel->geometry(), QRect(5, 6, 70, 80));
    EXPECT_FALSE(panel->isEnabled());
}

// A hook saves its own data; its section is "<entry>\Layout".
TEST_F(LayoutManagerTest, LayoutHooks) {
    struct Hook : TLayoutManagerControlLayout {
        std::vector<std::string>* log;
        explicit Hook(std::vector<std::string>* l) : log(l) {}
        void SaveDefault() override { log->push_back("default"); }
        void Save() override {
            log->push_back("save");
            FLMC->Storage()->WriteInteger(FLMC->SectionName() + "\\Layout", "Columns", 3);
        }
        void RestoreDefault() override {}
        void Restore() override { log->push_back("restore"); }
    };
    std::vector<std::string> log;
    auto form = makeForm();
    auto* panel = new QWidget(form.get());
    panel->setObjectName("Panel");
    form->LayoutManager().Add(panel, {}, [&] { return std::make_unique<Hook>(&log); }, 0);
    form->LayoutManager().Save(panel);
    form->LayoutManager().Restore(panel);
    EXPECT_EQ(log, (std::vector<std::string>{"default", "save", "restore"}));
    EXPECT_TRUE(storage->ValueExists("TTestForm\\Panel\\Layout", "Columns"));
    form->LayoutManager().GetControl(form->LayoutManager().FindComponent(panel))->Layout()->DeleteData();
    EXPECT_FALSE(storage->SectionExists("TTestForm\\Panel\\Layout"));

    auto* readOnlyPanel = new QWidget(form.get());
    form->SetLayoutReadOnly(true);
    form->LayoutManager().Add(readOnlyPanel, {}, [&] { return std::make_unique<Hook>(&log); }, 0);
    EXPECT_EQ(log.size(), 3u);  // no SaveDefault while read-only
}

TEST_F(LayoutManagerTest, DeleteDataErasesEntrySectionsOnly) {
    auto form = makeForm();
    form->LayoutManager().StoredValues().AddItem("Units", 2);
    form->show();
    form->LayoutManager().Save();
    form->LayoutManager().DeleteData();
    EXPECT_FALSE(storage->SectionExists("TTestForm"));
    EXPECT_FALSE(storage->SectionExists("TTestForm\\Tree"));
    EXPECT_TRUE(storage->SectionExists("Settings"));
}

}  // namespace
}  // namespace vx
