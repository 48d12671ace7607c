#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#ifdef __linux__
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("hexlane-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path dir_;
};

std::unique_ptr<TUniverse> SmallUniverse() {
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Home", 1, 1);
    testutil::AddStar(*s, "Alpha", 3, 4);
    testutil::AddStar(*s, "Beta", 5, 6);
    return u;
}

}  // namespace

TEST_F(Files, SaveThenLoadGivesTheSameTreeAndClearsTheChangedFlag) {
    auto u = SmallUniverse();
    u->ManagerRequiresSaving = true;
    std::string msg;
    ASSERT_TRUE(u->SaveToFile(Path("a.map"), msg)) << msg;
    EXPECT_FALSE(u->ManagerRequiresSaving);
    EXPECT_FALSE(fs::exists(Path("a.map.saving~")));

    auto back = TUniverse::CreateNew();
    testutil::AddSector(*back, "Old", 9, 9);
    ASSERT_TRUE(back->LoadFromFile(Path("a.map"), msg));
    EXPECT_EQ(back->FindSector("Old"), nullptr);  // previous children discarded
    EXPECT_EQ(testutil::Stream(*back), testutil::Stream(*u));
    EXPECT_FALSE(back->ManagerRequiresSaving);
}

TEST_F(Files, LoadFailuresReportTheirTexts) {
    auto u = SmallUniverse();
    std::string msg = "x";
    EXPECT_FALSE(u->LoadFromFile("", msg));
    EXPECT_EQ(msg, "");
    EXPECT_NE(u->FindStar("Alpha"), nullptr);  // an empty name changes nothing

    EXPECT_FALSE(u->LoadFromFile(Path("missing.map"), msg));
    EXPECT_EQ(msg, "Error Creating Filestream");
    EXPECT_EQ(u->ChildCount(), 0u);  // children are cleared before the file is opened

    std::ofstream(Path("junk.map")) << "TPF1 not a map";
    auto v = SmallUniverse();
    EXPECT_FALSE(v->LoadFromFile(Path("junk.map"), msg));
    EXPECT_EQ(msg, "Error Reading File");
    EXPECT_EQ(v->ChildCount(), 0u);

    EXPECT_FALSE(v->LoadFromFile(dir_.string(), msg));  // a folder is not a map file
    EXPECT_EQ(msg, "Error Creating Filestream");
}

TEST_F(Files, AFileWithoutChildrenGivesAnEmptyRoot) {
    TUniverse bare;
    std::string msg;
    ASSERT_TRUE(bare.SaveToFile(Path("bare.map"), msg));
    auto u = SmallUniverse();
    EXPECT_TRUE(u->LoadFromFile(Path("bare.map"), msg));
    EXPECT_EQ(u->ChildCount(), 0u);
}

TEST_F(Files, SaveThatCannotCreateItsFileLeavesTheOldOneAlone) {
    auto u = SmallUniverse();
    std::string msg;
    ASSERT_TRUE(u->SaveToFile(Path("keep.map"), msg));
    const std::string before = ReadAll(Path("keep.map"));

    u->ManagerRequiresSaving = true;
    EXPECT_FALSE(u->SaveToFile(Path("no/such/folder/x.map"), msg));
    EXPECT_EQ(msg, "Error Creating Filestream");
    EXPECT_TRUE(u->ManagerRequiresSaving);

    fs::create_directory(Path("folder.map"));  // not a file that can be replaced
    testutil::AddSector(*u, "More", 2, 2);
    EXPECT_FALSE(u->SaveToFile(Path("folder.map"), msg));
    EXPECT_EQ(msg, "Error Creating Filestream");
    EXPECT_TRUE(fs::is_directory(Path("folder.map")));
    EXPECT_EQ(ReadAll(Path("keep.map")), before);
}

#ifdef __linux__
TEST_F(Files, SaveThatFailsWhileWritingKeepsTheOldFile) {
    auto u = SmallUniverse();
    std::string msg;
    ASSERT_TRUE(u->SaveToFile(Path("big.map"), msg));
    const std::string before = ReadAll(Path("big.map"));

    TSector* s = testutil::AddSector(*u, "Huge", 2, 1);
    for (int i = 0; i < 3000; ++i) testutil::AddStar(*s, "Star " + std::to_string(i), i % 32 + 1, i % 40 + 1);
    u->ManagerRequiresSaving = true;

    // Limit the size of files this process may write, so the write fails.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = u->SaveToFile(Path("big.map"), msg);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(msg, "Error Saving " + Path("big.map"));
    EXPECT_TRUE(u->ManagerRequiresSaving);
    EXPECT_EQ(ReadAll(Path("big.map")), before);
    EXPECT_FALSE(fs::exists(Path("big.map.saving~")));
}
#endif

TEST_F(Files, SaveKeepsPermissionsAndFollowsSymbolicLinks) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a symbolic link and POSIX mode bits, which Windows file systems do not give";
#endif
    auto u = SmallUniverse();
    std::string msg;
    ASSERT_TRUE(u->SaveToFile(Path("real.map"), msg));
    fs::permissions(Path("real.map"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(Path("real.map"), Path("link.map"));
    testutil::AddSector(*u, "More", 2, 2);
    ASSERT_TRUE(u->SaveToFile(Path("link.map"), msg));
    EXPECT_TRUE(fs::is_symlink(Path("link.map")));
    EXPECT_EQ(ReadAll(Path("real.map")), testutil::Stream(*u));
    EXPECT_EQ(fs::status(Path("real.map")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(Files, SaveRefusesAnEmptyName) {
    auto u = SmallUniverse();
    std::string msg;
    EXPECT_FALSE(u->SaveToFile("", msg));
    EXPECT_EQ(msg, "Error Creating Filestream");
    EXPECT_FALSE(fs::exists(".saving~"));
}

#ifdef __linux__
// Replacing a file by renaming needs only the folder's permission; a
// write-protected map in a writable folder must still be refused. The
// superuser may write anything, so then the save runs in a child process
// that has given up its rights.
TEST_F(Files, SaveRefusesAWriteProtectedFile) {
    auto u = SmallUniverse();
    std::string msg;
    ASSERT_TRUE(u->SaveToFile(Path("locked.map"), msg));
    const std::string before = ReadAll(Path("locked.map"));
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(Path("locked.map"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    testutil::AddSector(*u, "More", 2, 2);
    auto attempt = [&] { return !u->SaveToFile(Path("locked.map"), msg) && msg == "Error Creating Filestream"; };
    if (geteuid() == 0) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
            _exit(dropped && attempt() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else {
        EXPECT_TRUE(attempt()) << msg;
    }
    EXPECT_EQ(ReadAll(Path("locked.map")), before);
    fs::permissions(Path("locked.map"), fs::perms::owner_all);
}
#endif

TEST(Versions, VersionTextAndComparison) {
    EXPECT_EQ(TManager::VersionString(4.51), "Version 4.51.00");
    EXPECT_EQ(TManager::VersionString(4.5), "Version 4.50.00");
    EXPECT_EQ(TManager::VersionString(4), "Version 4.00.00");
    EXPECT_EQ(TManager::VersionString(12.3456), "Version 12.34.56");
    TManager m;
    m.ManagerVersion = 4.51;
    EXPECT_FALSE(m.IsOlderThan(4.51));
    EXPECT_TRUE(m.IsOlderThan(4.52));
    m.ManagerVersion = 0;
    EXPECT_TRUE(m.IsOlderThan(4.51));
    EXPECT_EQ(YesNoText(false), "No");
    EXPECT_EQ(YesNoText(true), "Yes");
}

TEST(Ownership, ChildrenAreOrderedOwnedAndDestroyedWithTheirOwner) {
    auto u = TUniverse::CreateNew();
    TSector* a = testutil::AddSector(*u, "A", 1, 1);
    TSector* b = testutil::AddSector(*u, "B", 2, 1);
    testutil::AddStar(*a, "Alpha", 1, 1);
    EXPECT_EQ(a->Owner(), u->Sectors());
    std::vector<std::string> names;
    u->Sectors()->EnumerateChildren([&](TManager& c) { names.push_back(c.Name1); });
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
    TManager::Destroy(a);
    EXPECT_EQ(u->Sectors()->ChildCount(), 1u);
    EXPECT_EQ(u->Sectors()->Child(0), b);
    EXPECT_EQ(u->FindStar("Alpha"), nullptr);
    EXPECT_TRUE(u->ClearChildren());
    EXPECT_EQ(u->ChildCount(), 0u);
    EXPECT_EQ(u->Sectors(), nullptr);
}

TEST(Clone, CopiesStoredDataNotWorkingValues) {
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Home", 3, 2);
    TStar* star = testutil::AddStar(*s, "Alpha", 3, 4);
    star->Notes = "notes";
    star->Marked = true;
    star->SetBuyValue<2>(2.5);
    star->Visible = true;
    TSector* copy = dynamic_cast<TSector*>(CloneObject(u->Sectors(), *s));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Owner(), u->Sectors());
    EXPECT_EQ(u->Sectors()->ChildCount(), 2u);
    EXPECT_EQ(testutil::Stream(*copy), testutil::Stream(*s));
    const TStar* c = dynamic_cast<TStar*>(copy->Child(0));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Notes, "notes");
    EXPECT_FALSE(c->Marked);
    EXPECT_EQ(c->BuyValue<2>(), 0.0);
    EXPECT_FALSE(c->Visible);
}
