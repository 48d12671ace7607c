// The one writer of files: what each kind of target gets, and that a failed,
// refused or concurrent write never leaves a broken or foreign file behind.

#include "FileIO.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using hexlane::ReplacingOutputFile;

namespace {

class SafeWrite : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("hexlane-safewrite-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Put(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

bool WriteText(const fs::path& target, const std::string& text) {
    ReplacingOutputFile file(target.string());
    return file.Open() && file.WriteAll(text.data(), text.size());
}

// True when no temporary file of the writer is left in the folder.
bool NoLeftovers(const fs::path& dir) {
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().find(".saving-") != std::string::npos) return false;
    return true;
}

// Runs `body` in a child process; its result is the child's exit status.
int InChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST_F(SafeWrite, EachKindOfTargetIsWrittenOrRefusedUnchanged) {
    struct Case {
        const char* what;
        std::function<bool(const fs::path&)> make;  // false: cannot be set up here
        bool written;
        std::function<void(const fs::path&)> check;  // the folder afterwards
    };
    const Case cases[] = {
        {"new file", [](const fs::path&) { return true; }, true,
         [](const fs::path& d) { EXPECT_EQ(Read(d / "t"), "new"); }},
        {"regular file", [](const fs::path& d) { Put(d / "t", "old"); return true; }, true,
         [](const fs::path& d) { EXPECT_EQ(Read(d / "t"), "new"); }},
        {"link to a file",
         [](const fs::path& d) {
             Put(d / "real", "old");
             fs::create_symlink(d / "real", d / "t");
             return true;
         },
         true,
         [](const fs::path& d) {
             EXPECT_TRUE(fs::is_symlink(d / "t"));
             EXPECT_EQ(Read(d / "real"), "new");
         }},
        {"dangling link", [](const fs::path& d) { fs::create_symlink(d / "missing", d / "t"); return true; }, false,
         [](const fs::path& d) {
             EXPECT_TRUE(fs::is_symlink(d / "t"));
             EXPECT_FALSE(fs::exists(d / "missing"));
         }},
        {"FIFO", [](const fs::path& d) { return ::mkfifo((d / "t").c_str(), 0600) == 0; }, false,
         [](const fs::path& d) { EXPECT_TRUE(fs::is_fifo(d / "t")); }},
        {"link to a FIFO",
         [](const fs::path& d) {
             fs::create_symlink(d / "fifo", d / "t");
             return ::mkfifo((d / "fifo").c_str(), 0600) == 0;
         },
         false, [](const fs::path& d) { EXPECT_TRUE(fs::is_fifo(d / "fifo")); }},
        {"character device (a null device made here)",
         [](const fs::path& d) { return ::mknod((d / "t").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }, false,
         [](const fs::path& d) { EXPECT_TRUE(fs::is_character_file(d / "t")); }},
        {"folder", [](const fs::path& d) { return fs::create_directory(d / "t"); }, false,
         [](const fs::path& d) { EXPECT_TRUE(fs::is_directory(d / "t")); }},
        {"link planted at the old fixed temporary name",
         [](const fs::path& d) {
             Put(d / "t", "old");
             Put(d / "victim", "victim");
             fs::create_symlink(d / "victim", d / "t.saving~");
             return true;
         },
         true,
         [](const fs::path& d) {
             EXPECT_EQ(Read(d / "t"), "new");
             EXPECT_EQ(Read(d / "victim"), "victim");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path d = dir_ / c.what;
        fs::create_directories(d);
        if (!c.make(d)) {
            std::cout << "skipped (cannot be made here): " << c.what << '\n';
            continue;
        }
        EXPECT_EQ(WriteText(d / "t", "new"), c.written);
        c.check(d);
        EXPECT_TRUE(NoLeftovers(d));
    }
}

TEST_F(SafeWrite, AReadOnlyFolderIsWrittenInPlaceWhenTheFileIsWritable) {
    // The folder takes no new file (for root only as another user).
    const uid_t nobody = 65534;
    const bool root = ::geteuid() == 0;
    struct Case {
        fs::perms filePerms;
        bool written;
    };
    for (const Case& c : {Case{fs::perms::all, true}, Case{fs::perms::owner_read | fs::perms::others_read, false}}) {
        const fs::path file = dir_ / "t";
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove(file);
        Put(file, "old content");
        fs::permissions(file, c.filePerms);
        const ino_t inode = fs::status(file).type() == fs::file_type::regular ? [&] {
            struct stat st {};
            ::stat(file.c_str(), &st);
            return st.st_ino;
        }() : 0;
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec);
        const int status = InChild([&] {
            if (root && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) return 3;
            return WriteText(file, "new") ? 0 : 1;
        });
        EXPECT_EQ(status, c.written ? 0 : 1);
        EXPECT_EQ(Read(file), c.written ? "new" : "old content");
        struct stat st {};
        ::stat(file.c_str(), &st);
        EXPECT_EQ(st.st_ino, inode);
    }
}

TEST_F(SafeWrite, SeveralFilesAreRenamedOnlyWhenAllAreComplete) {
    Put(dir_ / "a", "old a");
    Put(dir_ / "b", "old b");
    // A full disk in a child: the second file cannot be completed.
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        ReplacingOutputFile a((dir_ / "a").string()), b((dir_ / "b").string());
        if (!a.Open() || !b.Open()) return 3;
        const std::string big(10000, 'x');
        std::fputs("new a", a.Handle());
        std::fwrite(big.data(), 1, big.size(), b.Handle());
        return ReplacingOutputFile::CommitAll({&a, &b}) ? 0 : 1;
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(Read(dir_ / "a"), "old a");
    EXPECT_EQ(Read(dir_ / "b"), "old b");
    EXPECT_TRUE(NoLeftovers(dir_));

    ReplacingOutputFile a((dir_ / "a").string()), b((dir_ / "b").string());
    ASSERT_TRUE(a.Open() && b.Open());
    std::fputs("new a", a.Handle());
    std::fputs("new b", b.Handle());
    EXPECT_TRUE(ReplacingOutputFile::CommitAll({&a, &b}));
    EXPECT_EQ(Read(dir_ / "a") + Read(dir_ / "b"), "new anew b");
}

TEST_F(SafeWrite, TwoWritersAtOnceLeaveOneWholeFileAtEveryMoment) {
    const fs::path file = dir_ / "t";
    const std::string first(200000, 'a'), second(100000, 'b');
    ASSERT_TRUE(WriteText(file, first));
    std::atomic<bool> done{false};
    std::atomic<int> broken{0};
    std::thread reader([&] {
        while (!done) {
            const std::string now = Read(file);
            if (now != first && now != second) ++broken;
        }
    });
    std::atomic<int> failed{0};
    auto writer = [&](const std::string& text) {
        for (int i = 0; i < 20; ++i)
            if (!WriteText(file, text)) ++failed;
    };
    std::thread one(writer, first), two(writer, second);
    one.join();
    two.join();
    done = true;
    reader.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(broken, 0);
    EXPECT_TRUE(NoLeftovers(dir_));
}

TEST_F(SafeWrite, AWriterKilledMidWriteLeavesTheOldFileAndNoTemporaryFile) {
#if defined(O_TMPFILE)
    const int probe = ::open(dir_.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) GTEST_SKIP() << "this file system has no unnamed files";
    ::close(probe);
    Put(dir_ / "t", "old");
    const int status = InChild([&] {
        ReplacingOutputFile file((dir_ / "t").string());
        if (!file.Open()) return 3;
        std::fputs("half", file.Handle());
        std::fflush(file.Handle());
        ::_exit(0);  // as a kill: no destructor runs
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Read(dir_ / "t"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
#else
    GTEST_SKIP() << "no unnamed files here";
#endif
}
