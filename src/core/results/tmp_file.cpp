// Writing and reading the temporary file.
#include "results/tmp_file.h"

#include "model/decimal.h"
#include "results/file_names.h"
#include "results/number_format.h"

namespace qlor {

Status TmpFileWriter::open(const std::vector<std::string>& paths) {
  paths_ = paths;
  files_.clear();
  files_.resize(paths.size());
  for (std::size_t k = 0; k < paths.size(); ++k) {
    files_[k].open(paths[k], std::ios::binary | std::ios::trunc);
    if (!files_[k]) return kFileWriteError + paths[k];
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
    files_[k].flush();
    if (!files_[k]) return kFileWriteError + paths_[k];
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
