// Run records and the resumption of interrupted runs.
#include "analysis/run_resume.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/decimal.h"
#include "model/version.h"
#include "results/file_names.h"
#include "results/tmp_file.h"
#include "simulation/null_model.h"

namespace qlor {

namespace {

namespace fs = std::filesystem;

const char* randomize_name(RandomizeMode mode) {
  return mode == RandomizeMode::kBothSpecies ? "both species" : "species 2";
}

}  // namespace

Status make_run_record(const AppContext& ctx, const AnalysisState& state,
                       const SummaryFunction& function, const RunFiles& files,
                       const RunSeed& seed, RunRecord& record) {
  record = {};
  const FunctionChoice choice = function.choice();
  std::string checksum;
  if (auto s = file_checksum(files.input_path, checksum); !s.ok()) return s;
  record.add("version", kVersion);
  record.add("sample", path_title(files.input_path));
  record.add("checksum", checksum);
  // The header's parameters as read: plot, distances, simulations and the
  // null model's.
  std::string parameters;
  for (const double v : {state.x_axis, state.y_axis, state.t_min,
                         state.t_interval, state.t_max}) {
    parameters.append(shortest_decimal(v)).append(" ");
  }
  parameters.append(std::to_string(state.n_simulations));
  if (state.process_type != ProcessType::kCsr) {
    parameters.append(" ").append(shortest_decimal(state.radius));
    parameters.append(" ").append(shortest_decimal(state.c));
  }
  if (state.process_type == ProcessType::kCluster) {
    parameters.append(" ").append(std::to_string(state.n_centers));
  }
  record.add("parameters", parameters);
  record.add("function", describe_function(choice));
  record.add("bandwidth", shortest_decimal(choice.bandwidth));
  record.add("intensity", describe_intensity(choice.intensity));
  if (choice.intensity.source == IntensitySource::kFile) {
    std::string grid;
    if (auto s = file_checksum(choice.intensity.path, grid); !s.ok()) return s;
    record.add("intensity-checksum", grid);
  }
  record.add("pairs", pair_set_name(choice.pairs));
  record.add("null", null_model_name(state, ctx.settings.null_model));
  if (state.analysis_type == AnalysisType::kBivariate) {
    record.add("randomize", randomize_name(ctx.settings.randomize_mode));
  }
  record.add("direction", direction_name(choice.direction));
  record.add("generator", generator_name(seed.generator));
  record.add("seed", std::to_string(seed.seed));
  return {};
}

bool recorded_seed(const RunFiles& files, RunSeed& seed) {
  RunRecord record;
  std::error_code ec;
  if (!fs::exists(files.record_path, ec) ||
      !read_run_record(files.record_path, record).ok()) {
    return false;
  }
  const std::string text = record.value("seed");
  std::uint32_t value = 0;
  std::istringstream in(text);
  if (text.empty() || !(in >> value) || !in.eof()) return false;
  seed.seed = value;
  return true;
}

Status resume_point(const RunFiles& files, const RunRecord& requested,
                    const AnalysisState& state, std::int32_t& first) {
  first = 0;
  std::error_code ec;
  const bool has_record = fs::exists(files.record_path, ec);
  std::vector<bool> has_tmp;
  for (const std::string& tmp : files.tmp_paths) {
    has_tmp.push_back(fs::exists(tmp, ec));
  }
  const bool any_tmp =
      std::find(has_tmp.begin(), has_tmp.end(), true) != has_tmp.end();
  if (!has_record) {
    if (!any_tmp) return {};
    return "Cannot resume: " + files.tmp_paths.front() +
           " has no run record (" + files.record_path +
           ") to say which run made it; run without --resume to start again";
  }
  RunRecord recorded;
  if (auto s = read_run_record(files.record_path, recorded); !s.ok()) return s;
  if (auto diff = first_difference(recorded, requested); !diff.empty()) {
    return "Cannot resume: the run recorded in " + files.record_path +
           " differs from this one (" + diff +
           "); run without --resume to start again";
  }
  // The patterns whole in every file; a file that is not yet there has
  // none.
  std::int64_t whole = -1;
  std::vector<TmpFileScan> scans(files.tmp_paths.size());
  for (std::size_t k = 0; k < files.tmp_paths.size(); ++k) {
    if (has_tmp[k]) {
      if (auto s = scan_tmp_file(files.tmp_paths[k], state, scans[k]);
          !s.ok()) {
        return "Cannot resume: " + s.text();
      }
    }
    if (whole < 0 || scans[k].patterns < whole) whole = scans[k].patterns;
  }
  const std::int64_t all = std::int64_t{state.n_simulations} + 1;
  if (whole > all) {
    return "Cannot resume: " + files.tmp_paths.front() + " holds " +
           std::to_string(whole) + " patterns, more than the run's " +
           std::to_string(all);
  }
  // Cut each file back to the patterns whole in all of them.
  for (std::size_t k = 0; k < files.tmp_paths.size(); ++k) {
    if (!has_tmp[k]) continue;
    if (scans[k].patterns > whole) {
      if (auto s = scan_tmp_file(files.tmp_paths[k], state, scans[k], whole);
          !s.ok()) {
        return "Cannot resume: " + s.text();
      }
    }
    if (scans[k].torn) {
      fs::resize_file(files.tmp_paths[k], scans[k].bytes, ec);
      if (ec) {
        return "Cannot resume: " + files.tmp_paths[k] +
               " cannot be cut back to its whole patterns (" + ec.message() +
               ")";
      }
    }
  }
  first = static_cast<std::int32_t>(whole);
  return {};
}

}  // namespace qlor
