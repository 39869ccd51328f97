// Writing and reading the temporary file.
#include "results/tmp_file.h"

#include <cerrno>
#include <string_view>

#include "model/decimal.h"
#include "results/file_names.h"
#include "results/number_format.h"
#include "results/whole_file.h"

namespace qlor {

Status TmpFileWriter::open(const std::vector<std::string>& paths, bool append) {
  paths_ = paths;
  files_.clear();
  files_.resize(paths.size());
  const auto mode =
      std::ios::binary | (append ? std::ios::app : std::ios::trunc);
  for (std::size_t k = 0; k < paths.size(); ++k) {
    errno = 0;
    files_[k].open(paths[k], mode);
    if (!files_[k]) return write_error(paths[k], errno);
  }
  return {};
}

Status TmpFileWriter::write_block(
    const AnalysisState& state,
    const std::vector<const std::vector<double>*>& values) {
  for (std::size_t k = 0; k < files_.size(); ++k) {
    line_.clear();
    const auto& v = *values[k];
    for (std::int32_t i = 0; i <= state.last_interval; ++i) {
      append_g(line_, state.t_of(i));
      line_ += ' ';
      append_g(line_, v[static_cast<std::size_t>(i)]);
      line_ += "\r\n";
    }
    // Each block is flushed whole, so a file on disk always ends with
    // complete patterns.
    files_[k].write(line_.data(), static_cast<std::streamsize>(line_.size()));
    errno = 0;
    files_[k].flush();
    if (!files_[k]) return write_error(paths_[k], errno);
  }
  return {};
}

Status TmpFileWriter::close() {
  Status status;
  for (std::size_t k = 0; k < files_.size(); ++k) {
    if (!files_[k].is_open()) continue;
    files_[k].close();
    if (!files_[k] && status.ok()) status = kFileWriteError + paths_[k];
  }
  files_.clear();
  return status;
}

Status scan_tmp_file(const std::string& path, const AnalysisState& state,
                     TmpFileScan& scan, std::int64_t limit) {
  scan = {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return path + ": cannot be read";
  const auto lines_per_block =
      static_cast<std::size_t>(state.last_interval) + 1;
  std::vector<std::string> t_texts(lines_per_block);
  for (std::size_t i = 0; i < lines_per_block; ++i) {
    append_g(t_texts[i], state.t_of(static_cast<std::int32_t>(i)));
    t_texts[i] += ' ';
  }
  std::string line;
  std::int64_t number = 0;  // of the line
  std::size_t in_block = 0;
  std::uint64_t offset = 0;
  while (scan.patterns != limit && std::getline(in, line)) {
    ++number;
    const bool ended = !in.eof();
    offset += line.size() + (ended ? 1 : 0);
    const std::string& t = t_texts[in_block];
    double v = 0;
    const bool whole =
        ended && line.size() > t.size() + 1 && line.back() == '\r' &&
        line.compare(0, t.size(), t) == 0 &&
        parse_decimal(
            std::string_view(line).substr(t.size(), line.size() - t.size() - 1),
            v);
    if (!whole) {
      // Only the last line may be cut off, and only as the start of the
      // line it would have been.
      std::string_view start(line);
      if (!start.empty() && start.back() == '\r') start.remove_suffix(1);
      const bool cut = !ended && (start.size() <= t.size()
                                      ? t.compare(0, start.size(), start) == 0
                                      : start.compare(0, t.size(), t) == 0 &&
                                            start.find_first_not_of(
                                                "0123456789.eE+-", t.size()) ==
                                                std::string_view::npos);
      if (!cut) {
        return path + ", line " + std::to_string(number) +
               ": not a line of this run's patterns";
      }
      scan.torn = true;
      break;
    }
    if (++in_block == lines_per_block) {
      in_block = 0;
      ++scan.patterns;
      scan.bytes = offset;
    }
  }
  if (in.bad()) return path + ": cannot be read";
  if (in_block != 0 || (scan.patterns == limit && in.peek() != EOF)) {
    scan.torn = true;
  }
  return {};
}

bool TmpFileReader::open(const std::string& path) {
  in_.open(path, std::ios::binary);
  pos_ = len_ = 0;
  return static_cast<bool>(in_);
}

bool TmpFileReader::fill() {
  if (pos_ < len_) return true;
  if (!in_) return false;
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  len_ = static_cast<std::size_t>(in_.gcount());
  pos_ = 0;
  return len_ > 0;
}

bool TmpFileReader::next_token(std::string& token) {
  token.clear();
  auto is_space = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' ||
           c == '\f';
  };
  while (fill() && is_space(buffer_[pos_])) ++pos_;
  while (fill() && !is_space(buffer_[pos_])) {
    token += buffer_[pos_++];
    if (token.size() > 512) return false;  // no number is this long
  }
  return !token.empty();
}

bool TmpFileReader::next_number(double& v) {
  return next_token(token_) && parse_decimal(token_, v);
}

bool TmpFileReader::read_block(std::vector<double>& values) {
  double t = 0;
  for (auto& v : values) {
    if (!next_number(t) || !next_number(v)) return false;
  }
  return true;
}

bool TmpFileReader::at_end() { return !next_token(token_); }

}  // namespace qlor
