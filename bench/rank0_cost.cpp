// What rank 0 spends on each pattern of a parallel run, beside computing
// patterns of its own: receiving one pattern's values from another rank and
// answering with the next number (the message round trip, measured on the
// sending rank with busy polling), and writing the pattern's block to the
// temporary file.
//
// Usage: mpirun -np 2 build/bench/rank0_cost [DISTANCES]   (default 50)
#include <mpi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "distributed/job_codec.h"
#include "results/tmp_file.h"

namespace {

using Clock = std::chrono::steady_clock;
using qlor::PatternOutcome;
using qlor::distributed::Bytes;

constexpr int kRounds = 20000;
constexpr int kTagResult = 1;
constexpr int kTagAssign = 2;

void wait(MPI_Request& request) {
  for (int done = 0; !done;) MPI_Test(&request, &done, MPI_STATUS_IGNORE);
}

// Rank 1 sends outcomes of `blocks` x `distances` doubles; rank 0 receives,
// decodes and answers. Returns the mean round trip in microseconds (rank 1).
double round_trip(int rank, int distances, int blocks) {
  PatternOutcome outcome;
  outcome.values.assign(
      static_cast<std::size_t>(blocks),
      std::vector<double>(static_cast<std::size_t>(distances), 0.5));
  const Bytes bytes = qlor::distributed::encode_outcome(7, outcome);
  std::int64_t number = 8;
  MPI_Barrier(MPI_COMM_WORLD);
  const auto start = Clock::now();
  for (int i = 0; i < kRounds; ++i) {
    MPI_Request request;
    if (rank == 1) {
      MPI_Isend(bytes.data(), static_cast<int>(bytes.size()), MPI_BYTE, 0,
                kTagResult, MPI_COMM_WORLD, &request);
      wait(request);
      MPI_Irecv(&number, 1, MPI_INT64_T, 0, kTagAssign, MPI_COMM_WORLD,
                &request);
      wait(request);
    } else {
      MPI_Status status;
      for (int flag = 0; !flag;) {
        MPI_Iprobe(MPI_ANY_SOURCE, MPI_ANY_TAG, MPI_COMM_WORLD, &flag, &status);
      }
      int count = 0;
      MPI_Get_count(&status, MPI_BYTE, &count);
      Bytes in(static_cast<std::size_t>(count));
      MPI_Recv(in.data(), count, MPI_BYTE, status.MPI_SOURCE, status.MPI_TAG,
               MPI_COMM_WORLD, MPI_STATUS_IGNORE);
      std::int32_t s = 0;
      PatternOutcome got;
      if (!qlor::distributed::decode_outcome(in, s, got)) std::abort();
      MPI_Isend(&number, 1, MPI_INT64_T, status.MPI_SOURCE, kTagAssign,
                MPI_COMM_WORLD, &request);
      wait(request);
    }
  }
  const std::chrono::duration<double, std::micro> took = Clock::now() - start;
  return took.count() / kRounds;
}

// Mean time to write one block to each of `files` temporary files.
double block_write(int distances, int files) {
  qlor::AnalysisState state;
  state.t_interval = 0.5;
  state.t_min_steps = 1;
  state.last_interval = distances - 1;
  std::vector<double> values(static_cast<std::size_t>(distances));
  for (int i = 0; i < distances; ++i)
    values[static_cast<std::size_t>(i)] = 0.01 * i - 0.2;
  const auto dir = std::filesystem::temp_directory_path();
  std::vector<std::string> paths;
  for (int k = 0; k < files; ++k) {
    paths.push_back(
        (dir / ("qlor_rank0_cost_" + std::to_string(k) + ".tmp")).string());
  }
  qlor::TmpFileWriter writer;
  if (!writer.open(paths).ok()) std::abort();
  const std::vector<const std::vector<double>*> blocks(
      static_cast<std::size_t>(files), &values);
  constexpr int kBlocks = 5000;
  const auto start = Clock::now();
  for (int b = 0; b < kBlocks; ++b) {
    if (!writer.write_block(state, blocks).ok()) std::abort();
  }
  const std::chrono::duration<double, std::micro> took = Clock::now() - start;
  if (!writer.close().ok()) std::abort();
  for (const auto& p : paths) std::filesystem::remove(p);
  return took.count() / kBlocks;
}

}  // namespace

int main(int argc, char** argv) {
  MPI_Init(&argc, &argv);
  int rank = 0;
  int size = 0;
  MPI_Comm_rank(MPI_COMM_WORLD, &rank);
  MPI_Comm_size(MPI_COMM_WORLD, &size);
  const int distances = argc > 1 ? std::atoi(argv[1]) : 50;
  if (size != 2 || distances < 1) {
    if (rank == 0)
      std::fprintf(stderr, "usage: mpirun -np 2 rank0_cost [DISTANCES]\n");
    MPI_Finalize();
    return 2;
  }
  for (int blocks : {1, 4}) {
    round_trip(rank, distances, blocks);  // warm-up
    const double us = round_trip(rank, distances, blocks);
    if (rank == 1) {
      std::printf("message round trip, %d x %d doubles: %.2f us\n", blocks,
                  distances, us);
      std::fflush(stdout);
    }
    MPI_Barrier(MPI_COMM_WORLD);
  }
  if (rank == 0) {
    for (int files : {1, 4}) {
      block_write(distances, files);  // warm-up
      std::printf("temporary-file block, %d file(s) x %d lines: %.2f us\n",
                  files, distances, block_write(distances, files));
    }
  }
  MPI_Finalize();
  return 0;
}
