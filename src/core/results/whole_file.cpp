// Whole files on POSIX: write, fsync, rename within the folder.
#include "results/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "model/messages.h"

namespace qlor {

namespace {

struct InjectedFailure {
  std::string ending;
  int error = 0;
};

InjectedFailure& injected() {
  static InjectedFailure failure;
  return failure;
}

}  // namespace

void inject_write_failure(std::string ending, int error) {
  injected() = {std::move(ending), error};
}

std::string write_error(const std::string& path, int error) {
  std::string text = kFileWriteError + path;
  if (error != 0) {
    text.append(" (")
        .append(std::generic_category().message(error))
        .append(")");
  }
  return text;
}

Status write_whole_file(const std::string& path, std::string_view text) {
  WholeFileWriter writer;
  if (auto s = writer.open(path); !s.ok()) return s;
  if (auto s = writer.write(text); !s.ok()) return s;
  return writer.commit();
}

Status WholeFileWriter::open(const std::string& path) {
  abandon();
  path_ = path;
  partial_ = path + kPartialSuffix;
  fd_ =
      ::open(partial_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) return write_error(path_, errno);
  return {};
}

Status WholeFileWriter::write(std::string_view text) {
  if (fd_ < 0) return write_error(path_, EBADF);
  const InjectedFailure& failure = injected();
  if (!failure.ending.empty() && path_.ends_with(failure.ending)) {
    return fail(failure.error);
  }
  while (!text.empty()) {
    const ssize_t n = ::write(fd_, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

Status WholeFileWriter::commit() {
  if (fd_ < 0) return write_error(path_, EBADF);
  if (::fsync(fd_) != 0) return fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int error = errno;
    std::remove(partial_.c_str());
    return write_error(path_, error);
  }
  if (std::rename(partial_.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    std::remove(partial_.c_str());
    return write_error(path_, error);
  }
  return {};
}

void WholeFileWriter::abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  std::remove(partial_.c_str());
}

Status WholeFileWriter::fail(int error) {
  abandon();
  return write_error(path_, error);
}

}  // namespace qlor
