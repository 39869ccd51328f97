// Writing, reading and comparing run records.
#include "results/run_record.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace qlor {

std::string RunRecord::value(const std::string& key) const {
  for (const auto& [k, v] : entries) {
    if (k == key) return v;
  }
  return {};
}

std::string run_record_text(const RunRecord& record) {
  std::string text =
      "# QLOR run record: what made this run. qlor single FILE --resume "
      "goes on from it.\n";
  for (const auto& [key, value] : record.entries) {
    text.append(key).append(" ").append(value).append("\n");
  }
  return text;
}

Status parse_run_record(const std::string& text, const std::string& name,
                        RunRecord& record) {
  RunRecord read;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    const auto blank = line.find(' ');
    const std::string where = name + ", line " + std::to_string(number) + ": ";
    if (blank == 0 || blank == std::string::npos || blank + 1 == line.size() ||
        line.find_first_of(std::string("\0\r", 2)) != std::string::npos) {
      return where + "expected 'KEY VALUE', not '" + line.substr(0, 80) + "'";
    }
    std::string key = line.substr(0, blank);
    if (!read.value(key).empty()) return where + key + " is given twice";
    read.add(std::move(key), line.substr(blank + 1));
  }
  if (in.bad()) return name + ": cannot be read";
  record = std::move(read);
  return {};
}

Status read_run_record(const std::string& path, RunRecord& record) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return path + ": cannot be read";
  std::ostringstream text;
  text << in.rdbuf();
  return parse_run_record(text.str(), path, record);
}

std::string first_difference(const RunRecord& recorded,
                             const RunRecord& requested) {
  for (const auto& [key, value] : requested.entries) {
    const std::string before = recorded.value(key);
    if (before == value) continue;
    if (before.empty()) return key + ": not recorded, " + value + " now";
    return key + ": " + before + " recorded, " + value + " now";
  }
  for (const auto& [key, value] : recorded.entries) {
    if (requested.value(key).empty()) {
      return key + ": " + value + " recorded, not part of this run";
    }
  }
  return {};
}

Status file_checksum(const std::string& path, std::string& checksum) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return path + ": cannot be read (" +
           std::generic_category().message(errno) + ")";
  }
  uLong crc = crc32(0L, Z_NULL, 0);
  unsigned long long size = 0;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const auto n = static_cast<uInt>(in.gcount());
    crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer), n);
    size += n;
    if (!in) break;
  }
  if (in.bad()) return path + ": cannot be read";
  char text[64];
  std::snprintf(text, sizeof text, "crc32:%08lx size:%llu",
                static_cast<unsigned long>(crc), size);
  checksum = text;
  return {};
}

}  // namespace qlor
