// The run record: a small text file beside a run's temporary file
// ("plot1.run", "plot1_g.run") that says what made the run, so that it can
// be repeated and an interrupted run resumed. One "key value" line each,
// in a fixed order; lines starting with "#" are comments.
//
//   # QLOR run record
//   version 1.0
//   sample plot1.dat
//   checksum crc32:1c291ca3 size:2894
//   function L(t) - t
//   ...
//   generator philox
//   seed 1700000000
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/status.h"

namespace qlor {

inline constexpr const char* kRunRecordExtension = ".run";

struct RunRecord {
  /// Keys (one word) and values (the rest of the line), in order.
  std::vector<std::pair<std::string, std::string>> entries;

  void add(std::string key, std::string value) {
    entries.emplace_back(std::move(key), std::move(value));
  }
  /// The value of `key`; "" when there is none.
  [[nodiscard]] std::string value(const std::string& key) const;
};

[[nodiscard]] std::string run_record_text(const RunRecord& record);

/// Reads a record's text; `name` is for the messages. Returns "" or the
/// message naming the file and the line.
[[nodiscard]] Status parse_run_record(const std::string& text,
                                      const std::string& name,
                                      RunRecord& record);

/// Reads the record file at `path` as parse_run_record does.
[[nodiscard]] Status read_run_record(const std::string& path,
                                     RunRecord& record);

/// The first entry in which `recorded` and `requested` differ, as "seed:
/// 5 recorded, 7 now"; "" when they agree entry for entry.
[[nodiscard]] std::string first_difference(const RunRecord& recorded,
                                           const RunRecord& requested);

/// The CRC-32 of a file's bytes and their count, as a record writes them:
/// "crc32:1c291ca3 size:2894". Returns "" or the message naming the file.
[[nodiscard]] Status file_checksum(const std::string& path,
                                   std::string& checksum);

}  // namespace qlor
