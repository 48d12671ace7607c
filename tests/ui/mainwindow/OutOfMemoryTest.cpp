// Running out of memory after a map is read, while a step is recorded or
// while a state comes back: a message, the map kept, never the end of the
// program. Allocations fail on demand through this program's operator new.

#include "MainformFixture.h"

#include "ObjectStream.h"
#include "UndoHistory.h"

#include <QUndoStack>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// The allocation that fails: the n-th from now (-1: none).
std::atomic<long> failIn{-1};

void FailAfter(long allocations) { failIn.store(allocations); }

std::string Bytes(const TUniverse& universe) {
    std::string out;
    hexlane::WriteObjectStream(universe, out);
    return out;
}

}  // namespace

void* operator new(std::size_t size) {
    if (failIn.load(std::memory_order_relaxed) >= 0 && failIn.fetch_sub(1) == 0) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace hexlane::ui;

class OutOfMemoryTest : public MainformTest {
protected:
    void TearDown() override {
        FailAfter(-1);
        MainformTest::TearDown();
    }
    // A map large enough that its first snapshot makes many allocations.
    static std::unique_ptr<TUniverse> LargerMap() {
        auto u = SmallMap();
        TSector* sector = testutil::AddSector(*u, "Wide", 3, 3);
        for (int i = 0; i < 300; ++i) testutil::AddStar(*sector, "Star " + std::to_string(i), 1 + i % 32, 1 + i / 32);
        return u;
    }
};

TEST_F(OutOfMemoryTest, OpeningKeepsTheOldMapWhenTheFirstSnapshotFails) {
    const QString small = Write(*SmallMap(), "small.map");
    Open(small);
    const std::string before = Bytes(window->Universe());
    const QString title = window->windowTitle();
    for (long n : {0L, 7L, 60L}) {  // within the snapshot of the larger map
        SCOPED_TRACE(n);
        prompter.Log.clear();
        std::unique_ptr<TUniverse> larger = LargerMap();
        const QString path = Path("larger.map");
        FailAfter(n);
        EXPECT_FALSE(window->Document().Replace(std::move(larger), path));
        FailAfter(-1);
        EXPECT_EQ(prompter.Log, QStringList({"error: Not enough memory to open this map."}));
        EXPECT_EQ(Bytes(window->Universe()), before);
        EXPECT_EQ(window->FileName(), small);
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
        EXPECT_EQ(window->ListModel()->rowCount(), 2);
    }
    // With memory, the same map opens.
    EXPECT_TRUE(window->Document().Replace(LargerMap(), Path("larger.map")));
    EXPECT_TRUE(Sector("Wide"));
}

TEST_F(OutOfMemoryTest, AStepThatCannotBeRecordedDropsTheHistoryNotTheChange) {
    Open(Write(*SmallMap(), "small.map"));
    prompter.InputAnswers = {QString("Solomani")};
    window->rmAddAllegianceClick();
    ASSERT_EQ(window->History().Stack().count(), 1);
    window->Edit("Rename", [&] {
        Star("Home")->Name1 = "Haven";
        FailAfter(2);  // the recording of the step fails
    });
    FailAfter(-1);
    ASSERT_EQ(prompter.Log.size(), 2);
    EXPECT_TRUE(prompter.Last().startsWith("error: Not enough memory to keep the undo history")) << prompter.Last().toStdString();
    EXPECT_TRUE(Star("Haven"));
    EXPECT_EQ(window->History().Stack().count(), 0);
    EXPECT_TRUE(window->isWindowModified());
    // The history starts again with the next command.
    prompter.InputAnswers = {QString("Vilani")};
    window->rmAddAllegianceClick();
    window->findChild<QAction*>("rUndo")->trigger();
    EXPECT_FALSE(window->Universe().FindAllegiance("Vilani"));
    EXPECT_TRUE(Star("Haven"));
}

TEST_F(OutOfMemoryTest, AnUndoThatCannotBeDoneKeepsTheMapAsItIs) {
    Open(Write(*SmallMap(), "small.map"));
    window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"});
    SelectRows({0});
    prompter.YesNoAnswers = {true};
    window->rmDeleteStarClick();
    const std::string after = Bytes(window->Universe());
    FailAfter(0);
    window->findChild<QAction*>("rUndo")->trigger();
    FailAfter(-1);
    EXPECT_TRUE(prompter.Last().startsWith("error: Not enough memory to undo")) << prompter.Last().toStdString();
    EXPECT_EQ(Bytes(window->Universe()), after);
    EXPECT_FALSE(window->findChild<QAction*>("rUndo")->isEnabled());
}
