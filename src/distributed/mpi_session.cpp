// The patterns of a run spread over MPI ranks.
//
// Only the main thread of a rank calls MPI (MPI_THREAD_FUNNELED); its worker
// threads compute patterns and never wait on the network. The messages are
// few and small (a number out, one pattern's values back), so one thread
// moving them costs little, and funnelling them keeps the consumption in
// pattern order in one place: rank 0's main thread hands out numbers,
// receives values and writes them in order, as the thread pool's calling
// thread does. A waiting main thread polls with a growing pause instead of
// blocking in MPI, whose blocking calls spin and would take a core from the
// workers.
//
// Rank 0 hands out numbers on request: each rank announces its thread count
// and may hold one number more than it has threads, and every result it
// sends back asks for the next one. Rank 0's own threads take numbers
// directly. A pattern's outcome depends only on the prepared state, s and
// the seed, so the files are those of one process for any number of ranks
// and threads.
#include "distributed/mpi_session.h"

#include <mpi.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <list>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "analysis/pattern_run.h"
#include "analysis/pattern_workers.h"
#include "distributed/job_codec.h"
#include "platform/stop_signal.h"
#include "simulation/null_model.h"

namespace qlor::distributed {

namespace {

// Message tags on the session's communicator. Between two ranks, messages
// arrive in the order they were sent, which the end of a job relies on.
enum Tag : int {
  kControl = 1,  // 0 -> r: a job (its size follows) or the end of the program
  kReady,        // r -> 0: a job's worker thread count
  kAssign,       // 0 -> r: a pattern number
  kResult,       // r -> 0: a pattern's outcome, asking for the next number
  kEnd,          // 0 -> r: no more numbers for this job
  kEndAck,       // r -> 0: nothing more of this job will follow
  kStop,         // r -> 0: a stop signal reached this rank (its number)
};
enum ControlKind : std::int64_t { kFinish = 0, kJob = 1 };

// A failed decode means the ranks run different builds; the job cannot go
// on and ends with this code.
constexpr int kAbortMismatch = 3;

// A waiting main thread polls at once while messages flow and pauses up to
// kMaxPoll when idle.
constexpr std::chrono::microseconds kMinPoll{20};
constexpr std::chrono::microseconds kMaxPoll{1000};

class Backoff {
 public:
  std::chrono::microseconds next() {
    const auto d = pause_;
    pause_ = std::min(pause_ * 2, kMaxPoll);
    return d;
  }
  void reset() { pause_ = kMinPoll; }

 private:
  std::chrono::microseconds pause_ = kMinPoll;
};

// The end of a main thread's loop pass: straight on after activity, else
// a pause that ends early when a worker delivers a pattern.
void pause_unless_active(bool activity, Backoff& backoff, PatternWorkers& pool,
                         bool& news) {
  if (activity) {
    backoff.reset();
    return;
  }
  std::unique_lock lock(pool.mutex());
  pool.delivered().wait_for(lock, backoff.next(), [&] { return news; });
  news = false;
}

// Worker threads of this rank: the request, or (0) the processors this rank
// may run on, which the launcher sets (mpirun's binding, Slurm's
// --cpus-per-task), else every hardware thread.
int rank_threads(int requested) {
  if (requested > 0) return requested;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
    return CPU_COUNT(&set);
  }
  return effective_threads(0);
}

Bytes int_bytes(std::int64_t v) {
  Bytes b(sizeof v);
  std::memcpy(b.data(), &v, sizeof v);
  return b;
}

std::int64_t read_int(const Bytes& b, MPI_Comm comm) {
  std::int64_t v = 0;
  if (b.size() != sizeof v) MPI_Abort(comm, kAbortMismatch);
  std::memcpy(&v, b.data(), sizeof v);
  return v;
}

// Sends in flight with the buffers they read from.
class PendingSends {
 public:
  explicit PendingSends(MPI_Comm comm) : comm_(comm) {}
  PendingSends(const PendingSends&) = delete;
  PendingSends& operator=(const PendingSends&) = delete;
  ~PendingSends() { wait_all(); }

  void send(Bytes bytes, int dest, int tag) {
    Entry& e = sends_.emplace_back();
    e.bytes = std::move(bytes);
    MPI_Isend(e.bytes.data(), static_cast<int>(e.bytes.size()), MPI_BYTE, dest,
              tag, comm_, &e.request);
  }
  // Drops the sends that have completed.
  void test() {
    for (auto it = sends_.begin(); it != sends_.end();) {
      int done = 0;
      MPI_Test(&it->request, &done, MPI_STATUS_IGNORE);
      it = done ? sends_.erase(it) : std::next(it);
    }
  }
  void wait_all() {
    Backoff backoff;
    for (test(); !sends_.empty(); test()) {
      std::this_thread::sleep_for(backoff.next());
    }
  }

 private:
  struct Entry {
    Bytes bytes;
    MPI_Request request = MPI_REQUEST_NULL;
  };
  MPI_Comm comm_;
  std::list<Entry> sends_;  // stable addresses for the buffers
};

// The next message from `source` (or any rank), if one has arrived.
bool receive_any(MPI_Comm comm, int source, int& from, int& tag, Bytes& bytes) {
  int flag = 0;
  MPI_Status status;
  MPI_Iprobe(source, MPI_ANY_TAG, comm, &flag, &status);
  if (!flag) return false;
  int count = 0;
  MPI_Get_count(&status, MPI_BYTE, &count);
  bytes.resize(static_cast<std::size_t>(count));
  MPI_Recv(bytes.data(), count, MPI_BYTE, status.MPI_SOURCE, status.MPI_TAG,
           comm, MPI_STATUS_IGNORE);
  from = status.MPI_SOURCE;
  tag = status.MPI_TAG;
  return true;
}

// The job's bytes from rank 0 to every rank, in pieces MPI's int counts
// can name.
void broadcast(Bytes& bytes, MPI_Comm comm) {
  constexpr std::size_t kPiece = std::size_t{1} << 30;
  for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
    const std::size_t n = std::min(kPiece, bytes.size() - at);
    MPI_Bcast(bytes.data() + at, static_cast<int>(n), MPI_BYTE, 0, comm);
  }
}

// Rank 0's side of one job: its own worker threads, the numbers it hands
// to the other ranks and the consumption in order.
Status coordinate(MPI_Comm comm, int size, const AnalysisState& observed,
                  const NullModel& model, const SummaryFunction& function,
                  std::int32_t first, std::int32_t last,
                  const SimulationEnv& env, int threads,
                  const PatternConsumer& consume) {
  const std::int64_t count = static_cast<std::int64_t>(last) - first + 1;
  const int local =
      static_cast<int>(std::min<std::int64_t>(rank_threads(threads), count));

  // As in the thread pool, nobody runs more than `window` patterns ahead of
  // the consumer; each rank's threads widen the window when they announce
  // themselves.
  std::map<std::int32_t, PatternOutcome> finished;
  OrderedNumbers numbers{first, last, std::int64_t{first} - 1,
                         2 * static_cast<std::int64_t>(local)};
  bool news = false;
  PatternWorkers pool(
      local, observed, model, function, env, [&] { return numbers.claim(); },
      [&](std::int32_t s, PatternOutcome outcome) {
        finished.emplace(s, std::move(outcome));
        news = true;
      });
  std::mutex& mutex = pool.mutex();

  PendingSends sends(comm);
  std::vector<std::int64_t> credit(static_cast<std::size_t>(size), 0);
  Backoff backoff;
  Status status;
  int from = 0;
  int tag = 0;
  Bytes bytes;
  int first_rank = 0;
  for (bool done = false; !done;) {
    bool activity = false;
    while (receive_any(comm, MPI_ANY_SOURCE, from, tag, bytes)) {
      activity = true;
      if (tag == kReady) {
        const std::int64_t t = read_int(bytes, comm);
        credit[static_cast<std::size_t>(from)] += t + 1;
        {
          std::lock_guard lock(mutex);
          numbers.window += 2 * t;
        }
        pool.wake();
      } else if (tag == kStop) {
        request_stop(static_cast<int>(read_int(bytes, comm)));
      } else if (tag == kResult) {
        std::int32_t s = 0;
        PatternOutcome outcome;
        if (!decode_outcome(bytes, s, outcome) || s < first || s > last) {
          MPI_Abort(comm, kAbortMismatch);
        }
        {
          std::lock_guard lock(mutex);
          finished.emplace(s, std::move(outcome));
        }
        credit[static_cast<std::size_t>(from)] += 1;
      }
    }
    // Numbers for the ranks that can take more, starting with a different
    // rank each time.
    for (int k = 0; k < size - 1; ++k) {
      const int r = 1 + (first_rank + k) % (size - 1);
      auto& c = credit[static_cast<std::size_t>(r)];
      while (c > 0) {
        std::int32_t s = 0;
        {
          std::lock_guard lock(mutex);
          const std::int64_t claimed = numbers.claim();
          if (claimed < 0) break;  // none to hand out now
          s = static_cast<std::int32_t>(claimed);
        }
        sends.send(int_bytes(s), r, kAssign);
        --c;
        activity = true;
      }
    }
    first_rank = (first_rank + 1) % std::max(1, size - 1);
    // The patterns that are next in order.
    while (!done) {
      PatternOutcome outcome;
      std::int32_t s = 0;
      {
        std::lock_guard lock(mutex);
        auto it =
            finished.find(static_cast<std::int32_t>(numbers.consumed + 1));
        if (it == finished.end()) break;
        s = it->first;
        outcome = std::move(it->second);
        finished.erase(it);
        numbers.consumed = s;
      }
      pool.wake();
      activity = true;
      status =
          outcome.status.ok() ? consume(s, outcome.values) : outcome.status;
      done = !status.ok() || s == last;
    }
    // Stopped while the next pattern is still being made (or its rank is
    // gone): the patterns consumed so far are whole.
    if (!done && stop_signal() != 0) {
      status =
          interrupted_text(static_cast<std::int32_t>(numbers.consumed), last);
      done = true;
    }
    sends.test();
    if (done) break;
    pause_unless_active(activity, backoff, pool, news);
  }

  pool.stop();
  // End the job everywhere; outcomes still on their way are dropped, and
  // each rank's acknowledgement comes after the last of them.
  for (int r = 1; r < size; ++r) sends.send({}, r, kEnd);
  Backoff drain;
  for (int acks = 0; acks < size - 1;) {
    if (receive_any(comm, MPI_ANY_SOURCE, from, tag, bytes)) {
      if (tag == kEndAck) ++acks;
      drain.reset();
    } else {
      sends.test();
      std::this_thread::sleep_for(drain.next());
    }
  }
  pool.join();
  sends.wait_all();
  return status;
}

// A rank's side of one job: makes the patterns rank 0 assigns and sends
// their outcomes back until rank 0 ends the job. A stop signal (SIGTERM,
// SIGINT) stops the whole job after a whole pattern, whichever rank it
// reached first: this rank passes it on and goes on until rank 0, which
// stops consuming, ends the job.
void serve_job(MPI_Comm comm, const Bytes& job_bytes) {
  JobHeader header;
  AnalysisState observed;
  if (!decode_job(job_bytes, header, observed)) {
    MPI_Abort(comm, kAbortMismatch);
  }
  const SimulationEnv env{header.seed, header.randomize_mode,
                          header.function.intensity, header.null_kind};
  // Every rank prepares the model as rank 0 did, from the same pattern and
  // seed; a failure here fails each pattern this rank makes.
  std::unique_ptr<NullModel> model;
  if (Status prepared = make_null_model(observed, env, model); !prepared.ok()) {
    model = make_failing_model(std::move(prepared));
  }
  const std::unique_ptr<SummaryFunction> function =
      make_summary_function(header.function);
  const std::int64_t count =
      static_cast<std::int64_t>(header.last) - header.first + 1;
  const int workers = static_cast<int>(std::max<std::int64_t>(
      1, std::min<std::int64_t>(rank_threads(header.threads), count)));

  std::deque<std::int32_t> assigned;
  std::vector<std::pair<std::int32_t, PatternOutcome>> done;
  bool news = false;
  PatternWorkers pool(
      workers, observed, *model, *function, env,
      [&]() -> std::int64_t {
        if (assigned.empty()) return PatternWorkers::kWait;
        const std::int32_t s = assigned.front();
        assigned.pop_front();
        return s;
      },
      [&](std::int32_t s, PatternOutcome outcome) {
        done.emplace_back(s, std::move(outcome));
        news = true;
      });
  std::mutex& mutex = pool.mutex();

  PendingSends sends(comm);
  sends.send(int_bytes(workers), 0, kReady);
  Backoff backoff;
  int from = 0;
  int tag = 0;
  Bytes bytes;
  bool stop_passed_on = false;
  for (bool ended = false; !ended;) {
    bool activity = false;
    if (!stop_passed_on && stop_signal() != 0) {
      sends.send(int_bytes(stop_signal()), 0, kStop);
      stop_passed_on = true;
    }
    while (!ended && receive_any(comm, 0, from, tag, bytes)) {
      activity = true;
      if (tag == kAssign) {
        const auto s = static_cast<std::int32_t>(read_int(bytes, comm));
        {
          std::lock_guard lock(mutex);
          assigned.push_back(s);
        }
        pool.wake();
      } else if (tag == kEnd) {
        ended = true;
      }
    }
    std::vector<std::pair<std::int32_t, PatternOutcome>> out;
    {
      std::lock_guard lock(mutex);
      out.swap(done);
    }
    if (!ended) {
      for (const auto& [s, outcome] : out) {
        sends.send(encode_outcome(s, outcome), 0, kResult);
        activity = true;
      }
    }
    sends.test();
    if (ended) break;
    pause_unless_active(activity, backoff, pool, news);
  }
  pool.stop();
  sends.send({}, 0, kEndAck);
  sends.wait_all();
  pool.join();
}

}  // namespace

struct MpiSession::Impl final : PatternExecutor {
  std::unique_ptr<StopWindow> stop_window;
  MPI_Comm comm = MPI_COMM_NULL;
  int rank = 0;
  int size = 1;
  int provided = MPI_THREAD_SINGLE;

  Status run(const AnalysisState& observed, const NullModel& model,
             const SummaryFunction& function, std::int32_t first,
             std::int32_t last, const SimulationEnv& env, int threads,
             const PatternConsumer& consume) override {
    if (first > last) return {};
    if (size == 1) {
      return run_simulations(observed, model, function, first, last, env,
                             rank_threads(threads), consume);
    }
    const JobHeader header =
        make_job_header(first, last, env, function, threads);
    Bytes job = encode_job(header, observed);
    {
      PendingSends sends(comm);
      for (int r = 1; r < size; ++r) {
        Bytes control = int_bytes(kJob);
        const Bytes length = int_bytes(static_cast<std::int64_t>(job.size()));
        control.insert(control.end(), length.begin(), length.end());
        sends.send(std::move(control), r, kControl);
      }
    }
    broadcast(job, comm);
    return coordinate(comm, size, observed, model, function, first, last, env,
                      threads, consume);
  }
};

MpiSession::MpiSession(int* argc, char*** argv)
    : impl_(std::make_unique<Impl>()) {
  MPI_Init_thread(argc, argv, MPI_THREAD_FUNNELED, &impl_->provided);
  MPI_Comm_dup(MPI_COMM_WORLD, &impl_->comm);
  MPI_Comm_rank(impl_->comm, &impl_->rank);
  MPI_Comm_size(impl_->comm, &impl_->size);
  // The other ranks keep a stop signal for rank 0 (serve_job passes it on);
  // rank 0's console catches its own around each run.
  if (impl_->rank != 0) {
    catch_stop_signals();
    impl_->stop_window = std::make_unique<StopWindow>();
  }
}

MpiSession::~MpiSession() {
  MPI_Comm_free(&impl_->comm);
  MPI_Finalize();
}

int MpiSession::rank() const { return impl_->rank; }
int MpiSession::size() const { return impl_->size; }
bool MpiSession::threads_supported() const {
  return impl_->provided >= MPI_THREAD_FUNNELED;
}

PatternExecutor& MpiSession::executor() { return *impl_; }

void MpiSession::serve() {
  Backoff backoff;
  int from = 0;
  int tag = 0;
  Bytes bytes;
  for (;;) {
    // Between runs rank 0 reads files and writes results; waiting here
    // pauses up to kMaxPoll at a time.
    if (!receive_any(impl_->comm, 0, from, tag, bytes)) {
      std::this_thread::sleep_for(backoff.next());
      continue;
    }
    backoff.reset();
    if (tag != kControl || bytes.size() != 2 * sizeof(std::int64_t)) {
      MPI_Abort(impl_->comm, kAbortMismatch);
    }
    std::int64_t kind = 0;
    std::int64_t length = 0;
    std::memcpy(&kind, bytes.data(), sizeof kind);
    std::memcpy(&length, bytes.data() + sizeof kind, sizeof length);
    if (kind == kFinish) return;
    Bytes job(static_cast<std::size_t>(length));
    broadcast(job, impl_->comm);
    serve_job(impl_->comm, job);
  }
}

void MpiSession::finish() {
  PendingSends sends(impl_->comm);
  for (int r = 1; r < impl_->size; ++r) {
    Bytes control = int_bytes(kFinish);
    const Bytes length = int_bytes(0);
    control.insert(control.end(), length.begin(), length.end());
    sends.send(std::move(control), r, kControl);
  }
}

}  // namespace qlor::distributed
