// Field-by-field encoding of the job and of pattern outcomes.
#include "distributed/job_codec.h"

#include <array>
#include <cstring>
#include <type_traits>

#include "analysis/run_state.h"

namespace qlor::distributed {

namespace {

// Changes whenever the encoded layout changes.
constexpr std::uint64_t kJobMagic = 0x514c4f524a4f4206ull;      // "QLORJOB" 6
constexpr std::uint64_t kOutcomeMagic = 0x514c4f524f555401ull;  // "QLOROUT" 1

// A new field of the run's parameters must be added to visit_parameters;
// the size check makes a forgotten one a build error on the usual target.
#if defined(__x86_64__) && defined(__GLIBCXX__)
static_assert(sizeof(RunParameters) == 88,
              "RunParameters changed: update visit_parameters");
#endif

class Writer {
 public:
  template <class T>
  void put(const T& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    append(&v, sizeof(T));
  }
  template <class T>
  void put(const std::vector<T>& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    put(static_cast<std::uint64_t>(v.size()));
    append(v.data(), v.size() * sizeof(T));
  }
  template <class T, std::size_t N>
  void put(const std::array<std::vector<T>, N>& a) {
    for (const auto& v : a) put(v);
  }
  void put(const std::string& s) {
    put(static_cast<std::uint64_t>(s.size()));
    append(s.data(), s.size());
  }
  [[nodiscard]] Bytes take() { return std::move(bytes_); }

 private:
  void append(const void* p, std::size_t n) {
    const char* c = static_cast<const char*>(p);
    bytes_.insert(bytes_.end(), c, c + n);
  }
  Bytes bytes_;
};

// Reads what Writer wrote; every read checks the remaining length, and a
// failed read leaves the reader failed.
class Reader {
 public:
  explicit Reader(std::span<const char> bytes) : bytes_(bytes) {}
  template <class T>
  void get(T& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (!take(sizeof(T))) return;
    std::memcpy(&v, bytes_.data() + pos_ - sizeof(T), sizeof(T));
  }
  template <class T>
  void get(std::vector<T>& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::uint64_t n = 0;
    get(n);
    if (!ok_ || n > (bytes_.size() - pos_) / sizeof(T)) {
      ok_ = false;
      return;
    }
    v.resize(static_cast<std::size_t>(n));
    if (n == 0) return;
    const std::size_t size = static_cast<std::size_t>(n) * sizeof(T);
    std::memcpy(v.data(), bytes_.data() + pos_, size);
    pos_ += size;
  }
  template <class T, std::size_t N>
  void get(std::array<std::vector<T>, N>& a) {
    for (auto& v : a) get(v);
  }
  void get(std::string& s) {
    std::uint64_t n = 0;
    get(n);
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      return;
    }
    s.assign(bytes_.data() + pos_, static_cast<std::size_t>(n));
    pos_ += static_cast<std::size_t>(n);
  }
  /// True when every read succeeded and nothing is left over.
  [[nodiscard]] bool done() const { return ok_ && pos_ == bytes_.size(); }
  [[nodiscard]] bool ok() const { return ok_; }

 private:
  bool take(std::size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      return false;
    }
    pos_ += n;
    return true;
  }
  std::span<const char> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// One visitor for both directions keeps the field lists from drifting
// apart: `io` is a Writer (const state) or a Reader. Only the parameters and
// the points travel; every rank derives the rest as the first one did.
template <class Io, class State>
void visit_parameters(Io& io, State& s) {
  io.put_or_get(s.x_axis);
  io.put_or_get(s.y_axis);
  io.put_or_get(s.t_min);
  io.put_or_get(s.t_interval);
  io.put_or_get(s.t_max);
  io.put_or_get(s.n_simulations);
  io.put_or_get(s.radius);
  io.put_or_get(s.c);
  io.put_or_get(s.n_centers);
  io.put_or_get(s.analysis_type);
  io.put_or_get(s.process_type);
  io.put_or_get(s.t_min_steps);
  io.put_or_get(s.n_points);
  io.put_or_get(s.last_interval);
  io.put_or_get(s.points);
}

// The intensity of an inhomogeneous run: its source, the kernel's sigma and
// the grid file's name and cells.
void put_intensity(Writer& w, const Intensity& intensity) {
  w.put(intensity.source);
  w.put(intensity.sigma);
  w.put(intensity.path);
  const std::uint8_t grid = intensity.grid != nullptr ? 1 : 0;
  w.put(grid);
  if (grid == 0) return;
  const IntensityGrid& g = *intensity.grid;
  w.put(g.x0);
  w.put(g.y0);
  w.put(g.dx);
  w.put(g.dy);
  w.put(g.nx);
  w.put(g.ny);
  w.put(static_cast<std::uint64_t>(g.values.size()));
  for (const auto& v : g.values) w.put(v);
}

bool get_intensity(Reader& r, Intensity& intensity) {
  intensity = {};
  r.get(intensity.source);
  r.get(intensity.sigma);
  r.get(intensity.path);
  std::uint8_t grid = 0;
  r.get(grid);
  const auto source = static_cast<std::int32_t>(intensity.source);
  if (!r.ok() || source < 0 || source > 2 || grid > 1) return false;
  if (grid == 0) return intensity.source != IntensitySource::kFile;
  auto g = std::make_shared<IntensityGrid>();
  r.get(g->x0);
  r.get(g->y0);
  r.get(g->dx);
  r.get(g->dy);
  r.get(g->nx);
  r.get(g->ny);
  std::uint64_t species = 0;
  r.get(species);
  if (!r.ok() || species > 2 || g->nx <= 0 || g->ny <= 0) return false;
  g->values.assign(static_cast<std::size_t>(species), {});
  const auto cells =
      static_cast<std::size_t>(g->nx) * static_cast<std::size_t>(g->ny);
  for (auto& v : g->values) {
    r.get(v);
    if (v.size() != cells) return false;
  }
  intensity.grid = std::move(g);
  return r.ok();
}

struct StateWriter {
  Writer& w;
  template <class T>
  void put_or_get(const T& v) {
    w.put(v);
  }
};

struct StateReader {
  Reader& r;
  template <class T>
  void put_or_get(T& v) {
    r.get(v);
  }
};

}  // namespace

Bytes encode_job(const JobHeader& header, const AnalysisState& observed) {
  Writer w;
  w.put(kJobMagic);
  w.put(header.first);
  w.put(header.last);
  w.put(header.function.kind);
  w.put(header.function.direction);
  w.put(header.function.estimator);
  w.put(header.function.bandwidth);
  w.put(header.function.pairs);
  put_intensity(w, header.function.intensity);
  w.put(header.threads);
  w.put(header.randomize_mode);
  w.put(header.null_kind);
  w.put(header.seed.generator);
  w.put(header.seed.seed);
  StateWriter sw{w};
  visit_parameters(sw, observed);
  return w.take();
}

bool decode_job(std::span<const char> bytes, JobHeader& header,
                AnalysisState& observed) {
  Reader r(bytes);
  std::uint64_t magic = 0;
  r.get(magic);
  if (!r.ok() || magic != kJobMagic) return false;
  r.get(header.first);
  r.get(header.last);
  r.get(header.function.kind);
  r.get(header.function.direction);
  r.get(header.function.estimator);
  r.get(header.function.bandwidth);
  r.get(header.function.pairs);
  if (const auto p = static_cast<std::int32_t>(header.function.pairs);
      !r.ok() || p < 0 || p > 2) {
    return false;
  }
  if (!get_intensity(r, header.function.intensity)) return false;
  r.get(header.threads);
  r.get(header.randomize_mode);
  r.get(header.null_kind);
  if (const auto n = static_cast<std::int32_t>(header.null_kind);
      !r.ok() || n < 0 || n > 2) {
    return false;
  }
  r.get(header.seed.generator);
  r.get(header.seed.seed);
  StateReader sr{r};
  visit_parameters(sr, observed);
  if (!r.done()) return false;
  return complete_run_state(observed, header.function.direction).ok();
}

JobHeader make_job_header(std::int32_t first, std::int32_t last,
                          const SimulationEnv& env,
                          const SummaryFunction& function, int threads) {
  JobHeader header;
  header.first = first;
  header.last = last;
  header.function = function.choice();
  header.threads = threads;
  header.randomize_mode = env.randomize_mode;
  header.null_kind = env.null_kind;
  header.seed = env.seed;
  return header;
}

Bytes encode_outcome(std::int32_t s, const PatternOutcome& outcome) {
  Writer w;
  w.put(kOutcomeMagic);
  w.put(s);
  w.put(outcome.status.text());
  w.put(static_cast<std::uint64_t>(outcome.values.size()));
  for (const auto& v : outcome.values) w.put(v);
  return w.take();
}

bool decode_outcome(std::span<const char> bytes, std::int32_t& s,
                    PatternOutcome& outcome) {
  Reader r(bytes);
  std::uint64_t magic = 0;
  r.get(magic);
  if (!r.ok() || magic != kOutcomeMagic) return false;
  r.get(s);
  std::string status;
  r.get(status);
  outcome.status = std::move(status);
  std::uint64_t blocks = 0;
  r.get(blocks);
  // One array, or one per sector.
  if (!r.ok() || blocks > 4) return false;
  outcome.values.assign(static_cast<std::size_t>(blocks), {});
  for (auto& v : outcome.values) r.get(v);
  return r.done();
}

}  // namespace qlor::distributed
