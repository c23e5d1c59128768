#include "FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestSupport.h"

namespace {

using testing_support::TempDir;

// Windows takes either separator and matches names without regard to case itself, so there a
// path keeps the form it was written in.
#if defined(_WIN32)
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

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
              root + (kWindows ? "\\Cfg\\Sub\\Data.xml" : "/Cfg/Sub/Data.xml"));
    EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + "/Cfg\\Sub/")),
              root + (kWindows ? "/Cfg\\Sub/" : "/Cfg/Sub/"));
    EXPECT_EQ(TOOLS::NativePath(L""), "");
    EXPECT_EQ(TOOLS::NativePath(L"relative\\missing.xml"),
              kWindows ? "relative\\missing.xml" : "relative/missing.xml");
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
        EXPECT_EQ(TOOLS::NativePath(TempDir::Wide(root + c.written)),
                  root + (kWindows ? c.written : c.expected));
    }
    // Either way the file opens.
    std::string bytes;
    std::string error;
    EXPECT_TRUE(TOOLS::ReadWholeFile(
        TOOLS::NativePath(TempDir::Wide(root + "\\CFG\\sub\\中文äB.XML")), bytes, error));
}

TEST_F(FileSystemTest, NativePathPrefersTheExactNameThenTheOrdinallySmallest) {
    if (kWindows) GTEST_SKIP() << "a Windows folder cannot hold names that differ only in case";
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
#if defined(_WIN32)
    const std::string device = "NUL";
#else
    const std::string device = dir_.Folder() + "fifo";
    ASSERT_EQ(::mkfifo(device.c_str(), 0600), 0);
#endif
    struct Case {
        std::string path;
        const char* error;
    } cases[] = {{dir_.Folder() + "missing", "No such file or directory"},
                 {dir_.path(), "Is a directory"},
                 // Opening a FIFO without writer would block; it is refused at once, as is a
                 // Windows device.
                 {device, "not a regular file"}};
    TOOLS::FileBytes fileBytes;
    std::string error;
    ASSERT_TRUE(TOOLS::ReadWholeFile(dir_.Write("previous", "previous"), fileBytes, error));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string bytes = "previous";
        EXPECT_FALSE(TOOLS::ReadWholeFile(c.path, bytes, error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(bytes.empty());
        error.clear();
        EXPECT_FALSE(TOOLS::ReadWholeFile(c.path, fileBytes, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(fileBytes.size(), 0u);
    }
}

TEST_F(FileSystemTest, ReadConfigurationFileReadsWhatNativePathNames) {
    dir_.Write("Cfg/Sub/Data.XML", "upper");
    dir_.Write("Cfg/Sub/data.xml", "lower");
    dir_.Write("Cfg/中文Äb.xml", "wide");
    std::filesystem::create_directories(TempDir::Native(dir_.Folder() + "Cfg/Folder"));
#if !defined(_WIN32)
    ASSERT_EQ(::mkfifo((dir_.Folder() + "Cfg/fifo").c_str(), 0600), 0);
#endif
    const std::string root = dir_.path();
    struct Case {
        std::string written;
        const char* bytes;  // null when the read fails
        const char* error;
    } cases[] = {
        {"\\Cfg\\Sub\\data.xml", "lower", ""},
        // (A Windows folder holds one of the two names, with the content written last.)
        {"/Cfg/Sub/Data.XML", kWindows ? "lower" : "upper", ""},
        {"\\cfg\\SUB\\DATA.xml", kWindows ? "lower" : "upper", ""},
        {"\\CFG\\中文äB.XML", "wide", ""},
        {"\\Cfg\\Missing.xml", nullptr, "No such file or directory"},
        {"\\cfg\\missing\\data.xml", nullptr, "No such file or directory"},
        {"\\cfg\\folder", nullptr, "Is a directory"},
#if !defined(_WIN32)
        {"\\cfg\\FIFO", nullptr, "not a regular file"},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        const CString path = TempDir::Wide(root + c.written);
        TOOLS::FileBytes read;
        std::string error;
        ASSERT_EQ(TOOLS::ReadConfigurationFile(path, read, error), c.bytes != nullptr);
        EXPECT_EQ(std::string(read.data(), read.size()), c.bytes ? c.bytes : "");
        EXPECT_EQ(error, c.error);
        // The same as reading what NativePath names.
        std::string bytes;
        std::string nativeError;
        EXPECT_EQ(TOOLS::ReadWholeFile(TOOLS::NativePath(path), bytes, nativeError),
                  c.bytes != nullptr);
        EXPECT_EQ(bytes, std::string(read.data(), read.size()));
        EXPECT_EQ(nativeError, error);
    }
}

TEST_F(FileSystemTest, ReadWholeFileLeavesTheBytePastTheFileWritable) {
    // One buffer for all: each read replaces what the one before left, larger or smaller.
    TOOLS::FileBytes read;
    for (const size_t size :
         {size_t{4097}, size_t{0}, size_t{1}, size_t{4096}, size_t{100000}, size_t{3}}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
        std::string error;
        ASSERT_TRUE(TOOLS::ReadWholeFile(dir_.Write("data.bin", bytes), read, error));
        ASSERT_EQ(read.size(), size);
        EXPECT_GE(read.capacity(), size);
        EXPECT_EQ(std::string(read.data(), read.size()), bytes);
        read.data()[read.size()] = '\0';  // the sanitizers check that the byte is there
    }
}

TEST_F(FileSystemTest, ReadWholeFileStopsAtTheLargestSizeAllowed) {
    struct Case {
        size_t size;
        bool read;
    } cases[] = {{TOOLS::kMaxFileSize, true}, {TOOLS::kMaxFileSize + 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string path = dir_.Write("large.bin", "");
        std::filesystem::resize_file(TempDir::Native(path), c.size);
        TOOLS::FileBytes read;
        std::string error;
        EXPECT_EQ(TOOLS::ReadWholeFile(path, read, error), c.read);
        EXPECT_EQ(read.size(), c.read ? c.size : 0);
        EXPECT_EQ(error, c.read ? "" : "file too large (more than 33554432 bytes)");
    }
}

#if defined(__linux__)
TEST_F(FileSystemTest, ReadWholeFileReadsOnWhenTheFileIsLargerThanItsSize) {
    // A file of /proc says it holds nothing and yet holds text: the size the read starts from is
    // wrong, as it is for a file that grows while it is read.
    const std::string path = "/proc/self/cmdline";
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    ASSERT_TRUE(S_ISREG(info.st_mode));
    ASSERT_EQ(info.st_size, 0);
    std::ifstream in(path, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    ASSERT_FALSE(expected.empty());
    TOOLS::FileBytes read;
    std::string error;
    ASSERT_TRUE(TOOLS::ReadWholeFile(path, read, error));
    EXPECT_EQ(std::string(read.data(), read.size()), expected);
    std::string text;
    ASSERT_TRUE(TOOLS::ReadWholeFile(path, text, error));
    EXPECT_EQ(text, expected);
}
#endif

TEST_F(FileSystemTest, ReplaceFileAtomicallyCreatesAndReplaces) {
    const std::string path = dir_.Folder() + "out.xml";
    std::string error;
    ASSERT_TRUE(TOOLS::ReplaceFileAtomically(path, "first", error));
    EXPECT_EQ(dir_.Read("out.xml"), "first");
#if !defined(_WIN32)  // POSIX modes; Windows has no such bits
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
#endif
    ASSERT_TRUE(TOOLS::ReplaceFileAtomically(path, "second", error));
    EXPECT_EQ(dir_.Read("out.xml"), "second");
#if !defined(_WIN32)
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
#endif
    EXPECT_EQ(Entries(), "out.xml;");  // no temporary file left
}

TEST_F(FileSystemTest, ReplaceFileAtomicallyWritesThroughSymbolicLinks) {
#if defined(_WIN32)
    GTEST_SKIP() << "symbolic links need rights that Windows users seldom have";
#else
    dir_.Write("real.xml", "old");
    const std::string link = dir_.Folder() + "link.xml";
    ASSERT_EQ(::symlink("real.xml", link.c_str()), 0);
    std::string error;
    ASSERT_TRUE(TOOLS::ReplaceFileAtomically(link, "new", error));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(dir_.Read("real.xml"), "new");
#endif
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
