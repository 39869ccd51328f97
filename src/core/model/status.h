// The outcome of a stage of a run: success, a message for the user, or an
// allocation failure with the cause that the memory-failure report names.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace qlor {

/// What the size of an array that could not be allocated depends on. The
/// digit is the one of the tag that error files show ("MAF:1" … "MAF:4").
enum class AllocationCause : char {
  kSamplePoints = '1',
  kIntervals = '2',
  kSimulations = '3',
  kSimulationsOrIntervals = '4',
};

class Status {
 public:
  /// Success.
  Status() = default;
  /// A message for the user, shown and written exactly as it stands.
  Status(std::string message) : text_(std::move(message)) {}
  Status(const char* message) : text_(message) {}

  [[nodiscard]] static Status allocation_failure(AllocationCause cause) {
    return Status(std::string("MAF:") + static_cast<char>(cause));
  }

  [[nodiscard]] bool ok() const { return text_.empty(); }

  /// The cause of an allocation failure; nothing for success or a message.
  /// Derived from the text form, so a status that travelled as text (an
  /// error file line, a message between processes) keeps its cause.
  [[nodiscard]] std::optional<AllocationCause> allocation_cause() const {
    if (text_.size() != 5 || text_.compare(0, 4, "MAF:") != 0) {
      return std::nullopt;
    }
    const char digit = text_[4];
    if (digit < '1' || digit > '4') return std::nullopt;
    return static_cast<AllocationCause>(digit);
  }

  /// The text form: "" for success, the message, or the tag "MAF:n".
  [[nodiscard]] const std::string& text() const { return text_; }

  [[nodiscard]] bool starts_with(std::string_view prefix) const {
    return text_.starts_with(prefix);
  }

  friend bool operator==(const Status& a, const Status& b) {
    return a.text_ == b.text_;
  }
  /// For test failure messages; the program writes `text()`.
  friend void PrintTo(const Status& s, std::ostream* os) {
    *os << '"' << s.text_ << '"';
  }

 private:
  std::string text_;
};

}  // namespace qlor
