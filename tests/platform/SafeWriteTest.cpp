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

#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <sys/mount.h>
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

// A small file system of its own, to be filled up (needs root; tmpfs).
class SmallDisk {
public:
    SmallDisk(const fs::path& at, const char* size) : path_(at) {
        fs::create_directories(at);
        mounted_ = ::mount("tmpfs", at.c_str(), "tmpfs", 0, (std::string("mode=0755,size=") + size).c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }

private:
    fs::path path_;
    bool mounted_ = false;
};

// Every fsync and rename the writer makes while recording, in order: the
// inode and size of the synced file, the inode of the renamed one.
struct SyncEvent {
    bool rename;
    ino_t inode;
    off_t size;
};
std::mutex eventsLock;
std::vector<SyncEvent> events;
bool recording = false;

void Record(bool rename, const struct stat& st) {
    const std::lock_guard lock(eventsLock);
    if (recording) events.push_back({rename, st.st_ino, st.st_size});
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

// The writer's fsync and rename pass through here while recording.
extern "C" int fsync(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0) Record(false, st);
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    struct stat st {};
    if (::stat(from, &st) == 0) Record(true, st);
    static const auto real = reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

TEST_F(SafeWrite, TheWholeContentIsSyncedBeforeTheRename) {
    const fs::path file = dir_ / "t";
    Put(file, "old");
    const std::string text(100000, 'n');
    {
        const std::lock_guard lock(eventsLock);
        events.clear();
        recording = true;
    }
    const bool written = WriteText(file, text);
    recording = false;
    ASSERT_TRUE(written);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    int synced = -1, renamed = -1;
    for (int i = 0; i < static_cast<int>(events.size()); ++i) {
        const SyncEvent& e = events[static_cast<std::size_t>(i)];
        if (e.inode != st.st_ino) continue;
        if (!e.rename && e.size == static_cast<off_t>(text.size()) && synced < 0) synced = i;
        if (e.rename && renamed < 0) renamed = i;
    }
    ASSERT_GE(renamed, 0) << "no rename seen";
    ASSERT_GE(synced, 0) << "the complete file was never synced";
    EXPECT_LT(synced, renamed);
}

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

// Files written in place (more than one hard link, or a folder that takes no
// new file) against a full disk and a kill: the disk's limit is found before
// the old content is touched, a kill while the content is made leaves the old
// content, and several files are written only once all of them have room.
TEST_F(SafeWrite, InPlaceTargetsKeepTheOldContentOnAFullDiskOrAKill) {
    enum class Fault { None, FullDisk, Kill };
    struct Case {
        const char* what;
        bool hardLink;  // else a read-only folder
        Fault fault;
        int targets;
    };
    const Case cases[] = {
        {"hard link", true, Fault::None, 2},
        {"hard link, full disk", true, Fault::FullDisk, 1},
        {"hard links, the second full", true, Fault::FullDisk, 2},
        {"hard link, killed", true, Fault::Kill, 1},
        {"read-only folder, full disk", false, Fault::FullDisk, 1},
        {"read-only folder, the second full", false, Fault::FullDisk, 2},
        {"read-only folder, killed", false, Fault::Kill, 1},
    };
    const bool root = ::geteuid() == 0;
    const uid_t nobody = 65534;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path d = dir_ / ("disk" + std::to_string(n++));
        SmallDisk disk(d, "64k");
        if (!disk.Mounted()) GTEST_SKIP() << "a small file system of its own needs root";
        std::vector<fs::path> files;
        std::vector<std::string> olds, news;
        std::vector<ino_t> inodes;
        for (int i = 0; i < c.targets; ++i) {
            files.push_back(d / ("t" + std::to_string(i)));
            olds.push_back(std::string(4000, static_cast<char>('a' + i)));
            // The last target of a full disk outgrows it.
            const bool tooBig = c.fault == Fault::FullDisk && i == c.targets - 1;
            news.push_back(std::string(tooBig ? 200000 : 6000, static_cast<char>('A' + i)));
            Put(files.back(), olds.back());
            fs::permissions(files.back(), fs::perms::all);
            if (c.hardLink) fs::create_hard_link(files.back(), d / ("link" + std::to_string(i)));
            struct stat st {};
            ::stat(files.back().c_str(), &st);
            inodes.push_back(st.st_ino);
        }
        if (!c.hardLink) fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                               fs::perms::others_exec);
        const int status = InChild([&] {
            if (!c.hardLink && root && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) return 3;
            std::vector<std::unique_ptr<ReplacingOutputFile>> writers;
            for (std::size_t i = 0; i < files.size(); ++i) {
                writers.push_back(std::make_unique<ReplacingOutputFile>(files[i].string()));
                if (!writers.back()->Open()) return 4;
                std::fwrite(news[i].data(), 1, news[i].size(), writers.back()->Handle());
                if (c.fault == Fault::Kill) {
                    std::fflush(writers.back()->Handle());
                    std::raise(SIGKILL);
                }
            }
            bool ok = true;
            for (auto& w : writers) ok = w->Finish() && ok;
            for (auto& w : writers) ok = ok && w->Commit();
            return ok ? 0 : 1;
        });
        EXPECT_EQ(status, c.fault == Fault::None ? 0 : c.fault == Fault::FullDisk ? 1 : -1);
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string& expected = c.fault == Fault::None ? news[i] : olds[i];
            EXPECT_TRUE(Read(files[i]) == expected) << files[i] << (c.fault == Fault::None ? " lacks the new" : " lost the old") << " content";
            struct stat st {};
            ::stat(files[i].c_str(), &st);
            EXPECT_EQ(st.st_ino, inodes[i]);
            if (c.hardLink) {
                EXPECT_EQ(st.st_nlink, 2u);
                EXPECT_TRUE(Read(d / ("link" + std::to_string(i))) == expected) << "the other link differs";
            }
        }
        fs::permissions(d, fs::perms::owner_all);
        EXPECT_TRUE(NoLeftovers(d));
    }
}

// Set-id bits survive a save by the file's owner, and are not handed to
// another owner.
TEST_F(SafeWrite, SetIdBitsAreKeptWhenTheOwnerIsUnchanged) {
    const bool root = ::geteuid() == 0;
    const uid_t nobody = 65534;
    struct Case {
        const char* what;
        bool hardLink;
        bool otherOwner;  // the file is root's, written by nobody
        fs::perms mode;
        fs::perms expected;
    };
    const fs::perms setId = fs::perms::set_uid | fs::perms::set_gid;
    const fs::perms rwx = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    const Case cases[] = {
        {"replaced", false, false, rwx | setId, rwx | setId},
        {"written in place", true, false, rwx | setId, rwx | setId},
        {"another owner's file", false, true, fs::perms::all | setId, fs::perms::all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.otherOwner && !root) continue;
        const fs::path d = dir_ / c.what;
        fs::create_directories(d);
        const fs::path file = d / "t";
        Put(file, "old");
        if (c.hardLink) fs::create_hard_link(file, d / "link");
        if (root) {
            ::chown(d.c_str(), nobody, nobody);
            if (!c.otherOwner) ::chown(file.c_str(), nobody, nobody);
        }
        fs::permissions(file, c.mode);
        const int status = InChild([&] {
            if (root && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) return 3;
            return WriteText(file, "new") ? 0 : 1;
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(Read(file), "new");
        EXPECT_EQ(fs::status(file).permissions(), c.expected);
    }
}

TEST_F(SafeWrite, TheReaderMeasuresTheFileItOpened) {
    Put(dir_ / "file", "12345");
    ::mkfifo((dir_ / "fifo").c_str(), 0600);
    fs::create_directory(dir_ / "folder");
    struct Case {
        const char* name;
        bool opens;
    };
    for (const Case& c : {Case{"file", true}, Case{"fifo", false}, Case{"folder", false}, Case{"missing", false}}) {
        hexlane::InputFile in((dir_ / c.name).string());
        EXPECT_EQ(in.Open(), c.opens) << c.name;
        if (!c.opens) continue;
        // Replacing the path afterwards changes nothing of what was opened.
        fs::rename(dir_ / c.name, dir_ / "gone");
        Put(dir_ / c.name, "another, longer file");
        EXPECT_EQ(in.Size(), 5u);
        char text[16] = {};
        EXPECT_EQ(std::fread(text, 1, sizeof text, in.Handle()), 5u);
        EXPECT_STREQ(text, "12345");
    }
}
