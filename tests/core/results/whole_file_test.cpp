// Files written whole: complete under their final name or not there at all,
// and a failed write leaves the earlier file as it was.
#include "results/whole_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "model/messages.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;

TEST(WholeFile, AppearsOnlyWhenComplete) {
  testing::TempDir dir;
  const std::string path = dir.file("p.ktt");
  WholeFileWriter writer;
  ASSERT_TRUE(writer.open(path).ok());
  ASSERT_TRUE(writer.write("1 0.5\r\n").ok());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::exists(path + kPartialSuffix));
  ASSERT_TRUE(writer.write("2 0.25\r\n").ok());
  ASSERT_TRUE(writer.commit().ok());
  EXPECT_EQ(read_bytes(path), "1 0.5\r\n2 0.25\r\n");
  EXPECT_FALSE(fs::exists(path + kPartialSuffix));

  // Abandoned, or destroyed before its commit: the earlier file stays.
  {
    WholeFileWriter dropped;
    ASSERT_TRUE(dropped.open(path).ok());
    ASSERT_TRUE(dropped.write("half").ok());
  }
  EXPECT_EQ(read_bytes(path), "1 0.5\r\n2 0.25\r\n");
  EXPECT_FALSE(fs::exists(path + kPartialSuffix));
}

TEST(WholeFile, AFailedWriteNamesTheFileAndTheReasonAndKeepsTheOldOne) {
  testing::TempDir dir;
  const std::string path = dir.write("p.sup", "old");
  struct Case {
    const char* ending;
    int error;
    const char* reason;
  };
  const Case cases[] = {
      {"p.sup", ENOSPC, " (No space left on device)"},
      {"p.sup", EDQUOT, " (Disk quota exceeded)"},
      {"p.sup", EIO, " (Input/output error)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    inject_write_failure(c.ending, c.error);
    EXPECT_EQ(write_whole_file(path, "new"), kFileWriteError + path + c.reason);
    inject_write_failure({}, 0);
    EXPECT_EQ(read_bytes(path), "old");
    EXPECT_FALSE(fs::exists(path + kPartialSuffix));
  }
  // A folder in the way, and a folder that is not there.
  fs::create_directory(dir.file("q.ktt"));
  EXPECT_EQ(write_whole_file(dir.file("q.ktt"), "x"),
            kFileWriteError + dir.file("q.ktt") + " (Is a directory)");
  EXPECT_EQ(write_whole_file(dir.file("none/p.ktt"), "x"),
            kFileWriteError + dir.file("none/p.ktt") +
                " (No such file or directory)");
  ASSERT_TRUE(write_whole_file(path, "new").ok());
  EXPECT_EQ(read_bytes(path), "new");
}

}  // namespace
}  // namespace qlor
