// Run records: read back as written, compared entry by entry.
#include "results/run_record.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qlor {
namespace {

RunRecord sample_record() {
  RunRecord r;
  r.add("version", "1.0");
  r.add("sample", "plot 1.dat");
  r.add("function", "L(t) - t");
  r.add("seed", "42");
  return r;
}

TEST(RunRecord, ReadsWhatItWritesAndNamesTheFirstDifference) {
  const RunRecord written = sample_record();
  RunRecord read;
  ASSERT_TRUE(parse_run_record(run_record_text(written), "p.run", read).ok());
  EXPECT_EQ(read.entries, written.entries);
  EXPECT_EQ(first_difference(read, written), "");

  RunRecord other = written;
  other.entries[3].second = "7";
  EXPECT_EQ(first_difference(written, other), "seed: 42 recorded, 7 now");
  other = written;
  other.add("intensity-checksum", "crc32:00000000 size:1");
  EXPECT_EQ(first_difference(written, other),
            "intensity-checksum: not recorded, crc32:00000000 size:1 now");
  EXPECT_EQ(first_difference(other, written),
            "intensity-checksum: crc32:00000000 size:1 recorded, not part of "
            "this run");

  EXPECT_EQ(
      parse_run_record("# c\r\nseed 1\r\nnovalue\n", "p.run", read).text(),
      "p.run, line 3: expected 'KEY VALUE', not 'novalue'");
}

TEST(RunRecord, ChecksumsTheBytes) {
  testing::TempDir dir;
  std::string a;
  std::string b;
  ASSERT_TRUE(file_checksum(dir.write("a", "123456789"), a).ok());
  EXPECT_EQ(a, "crc32:cbf43926 size:9");  // the CRC-32 check value
  ASSERT_TRUE(file_checksum(dir.write("b", ""), b).ok());
  EXPECT_EQ(b, "crc32:00000000 size:0");
  EXPECT_FALSE(file_checksum(dir.file("none"), b).ok());
}

}  // namespace
}  // namespace qlor
