// Bad inputs given to the console program. Each case runs in a fresh
// folder and must end with its exit status and exactly its messages, write
// exactly the files it lists and leave every other file as it was; nothing
// is ever deleted. docs/robustness.md is generated from this table: the
// test fails when the document differs, and QLOR_UPDATE_DOCS=1 rewrites it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "results/whole_file.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;

// What stands in the folder before a run.
struct Item {
  enum Kind { kFile, kFolder, kFullDisk };  // kFullDisk: a link to /dev/full
  std::string name;
  std::string content;
  Kind kind = kFile;
};

Item folder(std::string name) { return {std::move(name), "", Item::kFolder}; }
Item full_disk(std::string name) {
  return {std::move(name), "", Item::kFullDisk};
}

struct Case {
  std::string input;  // what the case gives, in words
  std::vector<Item> items;
  std::vector<std::string> args;  // after "qlor"; standard input is empty
  int status;
  std::string err;                   // all of standard error
  std::vector<std::string> out;      // texts standard output holds
  std::vector<std::string> written;  // files created or changed, sorted
};

const std::string kAborted = "A N A L Y S I S    A B O R T E D  \n";
const std::string kComplete = "C A L C U L A T I O N    C O M P L E T E  ";
const std::string kOpenError = "QLOR - File open error!\n";
const std::string kTmpIncomplete =
    "QLOR - Temporary file incomplete or unreadable !\n" + kAborted;

std::string maf(const std::string& cause) {
  return "MEMORY ALLOCATION FAILED !  \n\nUnsuccessful allocation for "
         "array(s) determined by :  \n\n" +
         cause + "  \n" + kAborted;
}

// Six points well inside a 20 x 20 plot.
const std::string kPoints = "1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n";
std::string dat(const std::string& header) { return header + "\n" + kPoints; }
const std::string kSample = dat("20 20 1 1 5 19");

// A literal with its NUL bytes.
template <std::size_t N>
std::string bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

std::string repeated(const std::string& text, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += text;
  return s;
}

std::string garbage(std::size_t size) {
  std::string s;
  std::uint32_t x = 12345;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    s += static_cast<char>(x >> 16);
  }
  return s;
}

// A temporary file for kSample: 20 blocks of t = 1..5, cut to `size` bytes.
std::string tmp_file(std::size_t size = std::string::npos) {
  std::string s;
  for (int block = 0; block < 20; ++block) {
    for (int t = 1; t <= 5; ++t) {
      s += std::to_string(t) + " -0.12" + std::to_string(block % 10) + "\r\n";
    }
  }
  return s.substr(0, size);
}

std::string summaries(int n) {
  return std::to_string(n) + " x \"NO  DATA  ERRORS  DETECTED\"";
}

std::string unknown_line(int n) {
  return "QLOR.INI :\n\nUnknown parameter in line " + std::to_string(n) +
         "  \n\nDefault value set\n";
}

const std::vector<Case>& cases() {
  // clang-format off
  static const std::vector<Case> table = {
      // Sample data files that cannot be read.
      {"empty file", {{"p.dat", ""}}, {"single", "p.dat", "--yes"},
       1, "Input error: File is empty  \n" + kAborted, {}, {}},
      {"4 KiB of binary garbage", {{"p.dat", garbage(4096)}},
       {"single", "p.dat", "--yes"},
       1, "Input error: wrong number of parameters in line 1  \n" + kAborted, {}, {}},
      {"CR-only line ends (no line feed anywhere)",
       {{"p.dat", "20 20 1 1 5 19\r1 1\r5 5\r9.5 3\r12 17\r"}},
       {"single", "p.dat", "--yes"},
       1, "Input error: File is empty  \n" + kAborted, {}, {}},
      {"a folder as the sample data file", {folder("p.dat")}, {"single", "p.dat", "--yes"},
       1, kOpenError, {}, {}},
      {"a device that never ends", {}, {"single", "/dev/zero", "--yes"},
       1, kOpenError, {}, {}},
      {"missing file", {}, {"single", "missing.dat", "--yes"},
       1, kOpenError, {}, {}},
      // Header values.
      {"header: nan as x_axis", {{"p.dat", dat("nan 20 1 1 5 19")}},
       {"single", "p.dat", "--yes"},
       1, "Input error: non-numeric value in line 1  \n" + kAborted, {}, {}},
      {"header: inf as t_max", {{"p.dat", dat("20 20 1 1 inf 19")}},
       {"single", "p.dat", "--yes"},
       1, "Input error: non-numeric value in line 1  \n" + kAborted, {}, {}},
      {"header: 1e308 as both plot sides (the area overflows)",
       {{"p.dat", dat("1e308 1e308 1 1 5 19")}}, {"single", "p.dat", "--yes"},
       1, "Values for plot length or width are incorrect  \n" + kAborted, {}, {}},
      {"header: -0 as x_axis", {{"p.dat", dat("-0 20 1 1 5 19")}},
       {"single", "p.dat", "--yes"},
       1, "Values for plot length or width are incorrect  \n" + kAborted, {}, {}},
      {"header: -0 as t_min", {{"p.dat", dat("20 20 -0 1 5 19")}},
       {"single", "p.dat", "--yes"},
       0, "", {"t_min =\t-0\n", kComplete}, {"p.ktt", "p.tmp"}},
      {"header: 1e-300 as t_interval (10^300 distances)",
       {{"p.dat", dat("20 20 1 1e-300 5 19")}}, {"single", "p.dat", "--yes"},
       1, maf("number of intervals of 't' = item 4 (3,5) in first record"), {}, {}},
      {"header: n_simulations 2147483647", {{"p.dat", dat("20 20 1 1 5 2147483647")}},
       {"single", "p.dat", "--yes"},
       1, maf("number of simulations = item 6 in first record"), {}, {}},
      {"header: n_simulations 0", {{"p.dat", dat("20 20 1 1 5 0")}},
       {"single", "p.dat", "--yes"},
       1, "Number of simulations must be 19, 99, or >=100  \n" + kAborted, {}, {}},
      {"header: n_simulations -19", {{"p.dat", dat("20 20 1 1 5 -19")}},
       {"single", "p.dat", "--yes"},
       1, "Number of simulations must be 19, 99, or >=100  \n" + kAborted, {}, {}},
      {"header: cluster process with 0 centres", {{"p.dat", dat("20 20 1 1 5 19 2 0.5 0")}},
       {"single", "p.dat", "--yes"},
       1, "Number of centers must be >= 1  \n" + kAborted, {}, {}},
      {"header: cluster process with -3 centres", {{"p.dat", dat("20 20 1 1 5 19 2 0.5 -3")}},
       {"single", "p.dat", "--yes"},
       1, "Number of centers must be >= 1  \n" + kAborted, {}, {}},
      {"header only, no point records", {{"p.dat", "20 20 1 1 5 19\n"}},
       {"single", "p.dat", "--yes"},
       1, "Input error: non-numeric value in sample record 1  \n" + kAborted, {}, {}},
      // Point records.
      {"points on the lower edges and just inside the upper ones",
       {{"p.dat", "20 20 1 1 5 19\n0 0\n19.999 19.999\n0 19.999\n19.999 0\n10 10\n"}},
       {"single", "p.dat", "--yes"},
       0, "", {kComplete}, {"p.ktt", "p.tmp"}},
      {"x = x_axis (on the upper edge)", {{"p.dat", "20 20 1 1 5 19\n1 1\n20 5\n"}},
       {"single", "p.dat", "--yes"},
       1, "x-coordinate out of range: sample record 2  \n" + kAborted, {}, {}},
      {"y = -0.001", {{"p.dat", "20 20 1 1 5 19\n1 1\n5 -0.001\n"}},
       {"single", "p.dat", "--yes"},
       1, "y-coordinate out of range: sample record 2  \n" + kAborted, {}, {}},
      {"x = 1e308", {{"p.dat", "20 20 1 1 5 19\n1e308 1\n"}}, {"single", "p.dat", "--yes"},
       1, "x-coordinate out of range: sample record 1  \n" + kAborted, {}, {}},
      {"100 000 points at the same position",
       {{"p.dat", "20 20 1 1 5 19\n" + repeated("5 5\n", 100000)}},
       {"single", "p.dat", "--yes"},
       1, "Identical coordinates for samples 1 and 2  \n" + kAborted, {}, {}},
      {"bivariate file with species 1 only",
       {{"p.dat", "20 20 1 1 5 19\n1 1 0\n5 5 0\n9.5 3 0\n"}}, {"single", "p.dat", "--yes"},
       1, "Bivariate analysis requires points of both species  \n" + kAborted, {}, {}},
      {"sample data file named like its own temporary file", {{"p.tmp", kSample}},
       {"single", "p.tmp", "--yes"},
       1, "QLOR - File write error: p.tmp\n" + kAborted, {}, {}},
      // Batch files.
      {"batch file listing itself", {{"b.bat", "b.bat\n"}}, {"precheck", "b.bat"},
       1, "FILE :\tb.bat  \n\nERROR :\tInput error: wrong number of parameters in line 1  \n"
          "BATCHFILE :\tb.bat  \n\nQLOR has detected errors in one or more files  \n\n"
          "These files must be corrected before analysis  \n", {}, {}},
      {"batch file listing itself", {{"b.bat", "b.bat\n"}}, {"auto", "b.bat"},
       0, "", {kComplete}, {"b.err"}},
      {"batch file named like its own error file", {{"p.dat", kSample},
        {"list.err", "p.dat\nmissing.dat\n"}}, {"auto", "list.err"},
       1, "QLOR - File write error: list.err\n" + kAborted, {}, {}},
      {"batch file named like its entry's result file", {{"good1.dat", kSample},
        {"good1.ktt", "good1.dat\n"}}, {"check-analyse", "good1.ktt", "--yes"},
       1, "QLOR - File write error: good1.ktt\n" + kAborted, {}, {}},
      {"batch file named like its entry's result file", {{"good1.dat", kSample},
        {"good1.ktt", "good1.dat\n"}}, {"auto", "good1.ktt"},
       1, "QLOR - File write error: good1.ktt\n" + kAborted, {}, {}},
      {"batch file that is a folder", {folder("b.bat")}, {"precheck", "b.bat"},
       1, kOpenError, {}, {}},
      {"batch entries: a folder, a missing file, an empty line, /dev/zero",
       {folder("d"), {"p.dat", kSample}, {"b.bat", "d\nmissing.dat\n\n/dev/zero\np.dat\n"}},
       {"auto", "b.bat"},
       0, "", {kComplete}, {"b.err", "p.ktt", "p.tmp"}},
      {"missing batch file", {}, {"auto", "missing.bat"},
       1, kOpenError, {}, {}},
      {"10 000-entry batch file",
       {{"p.dat", kSample}, {"b.bat", repeated("p.dat\n", 10000)}}, {"precheck", "b.bat"},
       0, "", {summaries(10000), "BATCHFILE :\tb.bat  \n\nCHECK  COMPLETE"}, {}},
      {"batch entry with a NUL byte (p<NUL>.dat, beside a sample file p)",
       {{"p", kSample}, {"b.bat", bytes("p\0.dat\n")}}, {"auto", "b.bat"},
       0, "", {kComplete}, {"b.err"}},
      // The configuration file.
      {"qlor.ini: a 10 000-character line, a NUL in a key and in the INFILE path "
       "(p<NUL>.dat, beside a sample file p)",
       {{"p", kSample},
        {"qlor.ini", "PROGRESS_CTRL_BAR=4\nDIRECTION=" + std::string(10000, '1') +
                         bytes("\nRANDO\0MIZE=2\nINFILE=p\0.dat\nSIGNIFICANCE=1\n")}},
       {"single", "--yes"},
       1, unknown_line(2) + unknown_line(3) + unknown_line(4) + "QLOR - open file ...\npath: ",
       {}, {}},
      {"qlor.ini: a 10 000-character INFILE path",
       {{"qlor.ini", "PROGRESS_CTRL_BAR=4\nINFILE=" + std::string(10000, 'a') + ".dat\n"}},
       {"single", "--yes"},
       1, kOpenError, {}, {}},
      {"qlor.ini: AUTORUN with an INFILE path holding a space (spaces are dropped)",
       {{"plot 1.dat", kSample},
        {"qlor.ini", "PROGRESS_CTRL_BAR=4\nAUTORUN=1\nINFILE=plot 1.dat\n"}},
       {},
       1, "", {}, {"plot1.err"}},
      {"qlor.ini is a folder", {folder("qlor.ini"), {"p.dat", kSample}},
       {"single", "p.dat", "--yes", "--progress", "4"},
       0, "File  'QLOR.INI'  not found - using default settings  \n", {kComplete},
       {"p.ktt", "p.tmp"}},
      // Paths.
      {"path with spaces", {{"my plots/plot 1.dat", kSample}},
       {"single", "my plots/plot 1.dat", "--yes"},
       0, "", {kComplete}, {"my plots/plot 1.ktt", "my plots/plot 1.tmp"}},
      {"path with non-ASCII characters", {{"données/été.dat", kSample}},
       {"single", "données/été.dat", "--yes"},
       0, "", {kComplete}, {"données/été.ktt", "données/été.tmp"}},
      {"path with a leading ./", {{"p.dat", kSample}}, {"single", "./p.dat", "--yes"},
       0, "", {kComplete}, {"p.ktt", "p.tmp"}},
      {"batch entries with spaces, non-ASCII characters and ./",
       {{"my plots/plot 1.dat", kSample}, {"é.dat", kSample}, {"p.dat", kSample},
        {"b.bat", "my plots/plot 1.dat\né.dat\n./p.dat\n"}},
       {"auto", "b.bat"},
       0, "", {kComplete},
       {"my plots/plot 1.ktt", "my plots/plot 1.tmp", "p.ktt", "p.tmp", "é.ktt", "é.tmp"}},
      // Outputs that cannot be written: a folder standing in the way, or a
      // link to /dev/full (a full disk).
      {"a folder named p.tmp", {{"p.dat", kSample}, folder("p.tmp")},
       {"single", "p.dat", "--yes"},
       1, "QLOR - File write error: p.tmp (Is a directory)\n" + kAborted, {}, {}},
      {"a folder named p.ktt", {{"p.dat", kSample}, folder("p.ktt")},
       {"single", "p.dat", "--yes"},
       1, "QLOR - File write error: p.ktt (Is a directory)\n" + kAborted, {}, {"p.tmp"}},
      {"full disk for p.tmp", {{"p.dat", kSample}, full_disk("p.tmp")},
       {"single", "p.dat", "--yes"},
       1, "QLOR - File write error: p.tmp (No space left on device)\n" + kAborted, {}, {}},
      {"full disk for p.ktt", {{"p.dat", kSample}, full_disk("p.ktt")},
       {"single", "p.dat", "--yes"},
       1, "QLOR - File write error: p.ktt (No space left on device)\n" + kAborted, {}, {"p.tmp"}},
      {"full disk for p.sup, both tests", {{"p.dat", kSample}, full_disk("p.sup")},
       {"single", "p.dat", "--yes", "--significance", "both"},
       1, "QLOR - File write error: p.sup (No space left on device)\n" + kAborted, {}, {"p.cvm", "p.ktt", "p.tmp"}},
      {"full disk for the error file of a batch",
       {{"b.bat", "missing.dat\n"}, full_disk("b.err")}, {"auto", "b.bat"},
       1, "QLOR - File write error: b.err\n" + kAborted, {}, {}},
      // The significance-only run.
      {"complete temporary file", {{"p.dat", kSample}, {"p.tmp", tmp_file()}},
       {"significance", "p.tmp", "--significance", "both"},
       0, "", {kComplete}, {"p.cvm", "p.sup"}},
      {"temporary file cut in the middle of a line",
       {{"p.dat", kSample}, {"p.tmp", tmp_file(455)}},
       {"significance", "p.tmp", "--significance", "both"},
       1, kTmpIncomplete, {}, {}},
      {"temporary file cut before its last value",
       {{"p.dat", kSample}, {"p.tmp", tmp_file(tmp_file().size() - 8)}},
       {"significance", "p.tmp", "--significance", "both"},
       1, kTmpIncomplete, {}, {}},
      {"temporary file with one pair more than its run wrote",
       {{"p.dat", kSample}, {"p.tmp", tmp_file() + "6 -0.5\r\n"}},
       {"significance", "p.tmp", "--significance", "both"},
       1, kTmpIncomplete, {}, {}},
      {"temporary file with an unreadable last value",
       {{"p.dat", kSample}, {"p.tmp", tmp_file(tmp_file().size() - 2) + "x\r\n"}},
       {"significance", "p.tmp", "--significance", "both"},
       1, kTmpIncomplete, {}, {}},
      {"complete temporary file whose last line end was lost",
       {{"p.dat", kSample}, {"p.tmp", tmp_file(tmp_file().size() - 2)}},
       {"significance", "p.tmp", "--significance", "both"},
       0, "", {kComplete}, {"p.cvm", "p.sup"}},
      {"complete temporary file with trailing blanks",
       {{"p.dat", kSample}, {"p.tmp", tmp_file() + "  \r\n \r\n  "}},
       {"significance", "p.tmp", "--significance", "both"},
       0, "", {kComplete}, {"p.cvm", "p.sup"}},
      {"temporary file without its sample data file", {{"p.tmp", tmp_file()}},
       {"significance", "p.tmp", "--significance", "both"},
       1, "QLOR - Corresponding DAT-File not found !\n", {}, {}},
  };
  // clang-format on
  return table;
}

// The folder's entries: links by target, folders as such, files by content.
std::map<std::string, std::string> snapshot() {
  std::map<std::string, std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(".")) {
    const std::string name = fs::relative(e.path(), ".").string();
    if (e.is_symlink()) {
      entries[name] = "link " + fs::read_symlink(e.path()).string();
    } else if (e.is_directory()) {
      entries[name] = "folder";
    } else {
      entries[name] = "file " + read_bytes(e.path());
    }
  }
  return entries;
}

void make(const Item& item) {
  const fs::path path(item.name);
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  switch (item.kind) {
    case Item::kFile:
      std::ofstream(path, std::ios::binary) << item.content;
      break;
    case Item::kFolder:
      fs::create_directory(path);
      break;
    case Item::kFullDisk:
      // A file written in place meets the full device; a file written
      // whole (beside, then renamed) meets the same failure injected.
      fs::create_symlink("/dev/full", path);
      inject_write_failure(item.name, ENOSPC);
      break;
  }
}

struct Outcome {
  int status = -1;
  std::string out, err;
  std::vector<std::string> written, deleted;
};

// Makes `dir` the current folder for its lifetime, whatever happens.
class InFolder {
 public:
  explicit InFolder(const fs::path& dir) : saved_(fs::current_path()) {
    fs::current_path(dir);
  }
  ~InFolder() {
    std::error_code ec;
    fs::current_path(saved_, ec);
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  fs::path saved_;
};

// Runs the case with `dir` as the current folder.
Outcome run_case(const Case& c, const fs::path& dir) {
  const InFolder in_dir(dir);
  bool own_ini = false;
  for (const Item& item : c.items) {
    make(item);
    own_ini = own_ini || item.name == "qlor.ini";
  }
  if (!own_ini) make({"qlor.ini", "PROGRESS_CTRL_BAR=4\n"});
  const auto before = snapshot();

  std::vector<const char*> argv{"qlor"};
  for (const auto& a : c.args) argv.push_back(a.c_str());
  std::istringstream in;
  std::ostringstream out, err;
  Outcome o;
  o.status = run_cli(static_cast<int>(argv.size()), argv.data(), in, out, err);
  inject_write_failure({}, 0);
  o.out = out.str();
  o.err = err.str();

  // Run records (NAME.run) are written by every run that starts; their
  // own tests check them.
  const auto after = snapshot();
  for (const auto& [name, state] : after) {
    const auto it = before.find(name);
    if (name.ends_with(".run")) continue;
    if (it == before.end() || it->second != state) o.written.push_back(name);
  }
  for (const auto& [name, state] : before) {
    if (!after.contains(name)) o.deleted.push_back(name);
  }
  return o;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos;
       at = text.find(part, at + part.size())) {
    ++n;
  }
  return n;
}

TEST(Robustness, EveryBadInputEndsAsTheTableSays) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.input + " / " + (c.args.empty() ? "" : c.args[0]));
    testing::TempDir dir;
    const Outcome o = run_case(c, dir.path());
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, c.err);
    for (const std::string& text : c.out) {
      // "N x "text"" counts the text.
      const auto x = text.find(" x \"");
      if (x != std::string::npos && text.back() == '"') {
        EXPECT_EQ(count(o.out, text.substr(x + 4, text.size() - x - 5)),
                  std::stoul(text.substr(0, x)));
      } else {
        EXPECT_NE(o.out.find(text), std::string::npos) << text;
      }
    }
    EXPECT_EQ(o.written, c.written);
    EXPECT_TRUE(o.deleted.empty());
  }
}

// Markdown text of a message: line feeds and tabs shown as \n and \t.
std::string shown(const std::string& text) {
  std::string s;
  for (char ch : text) {
    if (ch == '\n') {
      s += "\\n";
    } else if (ch == '\t') {
      s += "\\t";
    } else if (ch == '|') {
      s += "\\|";
    } else if (ch == '`') {
      s += "'";
    } else {
      s += ch;
    }
  }
  return "`" + s + "`";
}

std::string joined(const std::vector<std::string>& names) {
  if (names.empty()) return "none";
  std::string s;
  for (const auto& n : names) s += (s.empty() ? "" : ", ") + n;
  return s;
}

std::string command_line(const std::vector<std::string>& args) {
  std::string s = "qlor";
  for (const auto& a : args) {
    s += ' ';
    s += a.find(' ') == std::string::npos ? a : "\"" + a + "\"";
  }
  return s;
}

std::string document() {
  std::ostringstream md;
  md << "# Bad inputs and what QLOR does with them\n\n"
        "Generated from the table in `tests/cli/robustness_test.cpp`, which "
        "runs every case and fails when this file differs from what it "
        "generates (run it with `QLOR_UPDATE_DOCS=1` to rewrite the file).\n\n"
        "Each case runs `qlor` in a fresh folder holding the files named "
        "in its *Files given* column and, unless the case brings its own, a "
        "`qlor.ini` with `PROGRESS_CTRL_BAR=4`; standard input is empty. "
        "*Standard error* is everything the run writes there: its stop "
        "messages, one a line (`\\n` and `\\t` stand for a line feed and a "
        "tab inside a message). *Standard output* lists texts the output "
        "holds (`N x` counts one). *Written* lists every file created or "
        "changed; every other file is left as it was, and no case deletes "
        "a file. A temporary file is complete when it holds every value its "
        "run wrote: blanks after the last value, or no line end at all, do "
        "not matter (so a file cut inside its very last number reads as "
        "that shorter number). No case crashes, hangs or draws a sanitizer "
        "report (the "
        "suite also runs under AddressSanitizer and "
        "UndefinedBehaviorSanitizer). The readers are fuzzed besides: `fuzz/` "
        "holds libFuzzer targets for the sample data, temporary, "
        "configuration, batch, intensity grid, origin and run record files "
        "and CSV import, and ctest replays their corpora and "
        "every input that ever failed (`tests/data/fuzz_regressions/`).\n\n"
        "| Input | Files given | Command | Exit | Standard error | "
        "Standard output | Written |\n"
        "|---|---|---|---|---|---|---|\n";
  for (const Case& c : cases()) {
    std::vector<std::string> given;
    for (const Item& item : c.items) {
      given.push_back(item.kind == Item::kFolder ? item.name + "/"
                      : item.kind == Item::kFullDisk
                          ? item.name + " → /dev/full"
                          : item.name);
    }
    std::string out;
    for (const auto& text : c.out)
      out += (out.empty() ? "" : " ") + shown(text);
    md << "| " << c.input << " | " << joined(given) << " | `"
       << command_line(c.args) << "` | " << c.status << " | "
       << (c.err.empty() ? "nothing" : shown(c.err)) << " | "
       << (out.empty() ? "-" : out) << " | " << joined(c.written) << " |\n";
  }
  return md.str();
}

TEST(Robustness, DocumentMatchesTheTable) {
  const fs::path doc =
      fs::path(QLOR_TEST_DATA_DIR) / ".." / ".." / "docs" / "robustness.md";
  const char* update = std::getenv("QLOR_UPDATE_DOCS");
  if (update != nullptr && std::string(update) == "1") {
    fs::create_directories(doc.parent_path());
    std::ofstream(doc, std::ios::binary) << document();
  }
  EXPECT_EQ(read_bytes(doc), document())
      << "run with QLOR_UPDATE_DOCS=1 to regenerate " << doc.string();
}

}  // namespace
}  // namespace qlor
