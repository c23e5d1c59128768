#include "FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"

namespace {

using testing_support::TempDir;

class FileSystemTest : public ::testing::Test {
protected:
    std::string Entries() const {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            names += entry.path().filename().string() + ";";
        }
        return names;
    }

    TempDir dir_;
};

TEST_F(FileSystemTest, NativePathTurnsBackslashesIntoSeparators) {
    dir_.Write("Cfg/Sub/Data.xml", "x");
    const std::string root = dir_.path();
    EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + "\\Cfg\\Sub\\Data.xml")),
              root + "/Cfg/Sub/Data.xml");
    EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + "/Cfg\\Sub/")), root + "/Cfg/Sub/");
    EXPECT_EQ(TOOLS::NativePath(L""), "");
    EXPECT_EQ(TOOLS::NativePath(L"relative\\missing.xml"), "relative/missing.xml");
}

TEST_F(FileSystemTest, NativePathMatchesComponentsWithoutRegardToCase) {
    dir_.Write("Cfg/Sub/Data.XML", "x");
    dir_.Write("Cfg/Sub/中文Äb.xml", "x");
    const std::string root = dir_.path();
    struct Case {
        std::string written;
        std::string expected;
    } cases[] = {
        {"\\cfg\\SUB\\data.xml", "/Cfg/Sub/Data.XML"},
        {"\\CFG\\sub\\中文äB.XML", "/Cfg/Sub/中文Äb.xml"},
        // Matched as far as the folders exist, the rest kept as written.
        {"\\cfg\\sub\\New.xml", "/Cfg/Sub/New.xml"},
        {"\\cfg\\Missing\\data.xml", "/Cfg/Missing/data.xml"},
        {"\\cfg\\.\\sub\\..\\SUB\\data.xml", "/Cfg/./Sub/../Sub/Data.XML"},
        {"\\cfg\\sub\\", "/Cfg/Sub/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + c.written)), root + c.expected);
    }
}

TEST_F(FileSystemTest, NativePathPrefersTheExactNameThenTheOrdinallySmallest) {
    dir_.Write("data.xml", "lower");
    dir_.Write("DATA.xml", "upper");
    dir_.Write("Data.xml", "mixed");
    const std::string root = dir_.path();
    EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + "/data.xml")), root + "/data.xml");
    EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + "/Data.xml")), root + "/Data.xml");
    EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + "/dATA.XML")), root + "/DATA.xml");
}

TEST_F(FileSystemTest, ReadWholeFileReadsEveryByte) {
    const std::string bytes = std::string("a\0b\r\n\xFF", 6) + std::string(100000, 'z');
    const std::string path = dir_.Write("data.bin", bytes);
    std::string read = "previous content";
    std::string error;
    ASSERT_TRUE(TOOLS::ReadWholeFile(path, read, error));
    EXPECT_EQ(read, bytes);
    ASSERT_TRUE(TOOLS::ReadWholeFile(dir_.Write("empty", ""), read, error));
    EXPECT_TRUE(read.empty());
}

TEST_F(FileSystemTest, ReadWholeFileRefusesWhatIsNotAFile) {
    const std::string fifo = dir_.Folder() + "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        const char* error;
    } cases[] = {{dir_.Folder() + "missing", "No such file or directory"},
                 {dir_.path(), "Is a directory"},
                 // Opening a FIFO without writer would block; it is refused at once.
                 {fifo, "not a regular file"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string bytes = "previous";
        std::string error;
        EXPECT_FALSE(TOOLS::ReadWholeFile(c.path, bytes, error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(bytes.empty());
    }
}

TEST_F(FileSystemTest, ReplaceFileAtomicallyCreatesAndReplaces) {
    const std::string path = dir_.Folder() + "out.xml";
    std::string error;
    ASSERT_TRUE(TOOLS::ReplaceFileAtomically(path, "first", error));
    EXPECT_EQ(dir_.Read("out.xml"), "first");
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    ASSERT_TRUE(TOOLS::ReplaceFileAtomically(path, "second", error));
    EXPECT_EQ(dir_.Read("out.xml"), "second");
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(Entries(), "out.xml;");  // no temporary file left
}

TEST_F(FileSystemTest, ReplaceFileAtomicallyWritesThroughSymbolicLinks) {
    dir_.Write("real.xml", "old");
    const std::string link = dir_.Folder() + "link.xml";
    ASSERT_EQ(::symlink("real.xml", link.c_str()), 0);
    std::string error;
    ASSERT_TRUE(TOOLS::ReplaceFileAtomically(link, "new", error));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(dir_.Read("real.xml"), "new");
}

TEST_F(FileSystemTest, ReplaceFileAtomicallyFailureLeavesEverythingAsItWas) {
    std::filesystem::create_directory(dir_.Folder() + "folder");
    dir_.Write("folder/inside.xml", "inside");
    struct Case {
        std::string path;
        const char* error;
    } cases[] = {{dir_.Folder() + "folder", "Is a directory"},
                 {dir_.Folder() + "missing/out.xml", "No such file or directory"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string error;
        EXPECT_FALSE(TOOLS::ReplaceFileAtomically(c.path, "bytes", error));
        EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(dir_.Read("folder/inside.xml"), "inside");
    EXPECT_EQ(Entries(), "folder;");
}

}  // namespace
