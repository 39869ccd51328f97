// qlor plot: the figure of a result file, painted without a display.
#include <cctype>
#include <cmath>
#include <filesystem>

#include "cli/file_commands.h"
#include "plot/figure_painter.h"
#include "plot/global_figure.h"
#include "plot/gui_application.h"
#include "results/file_names.h"

namespace qlor {

namespace {

bool is_image_path(const std::string& path) {
  const std::string ext = lower_extension(path);
  return ext == ".svg" || ext == ".png";
}

}  // namespace

int run_plot(const FileCommands& c, std::ostream& err) {
  QSize size;
  if (!c.image_size.empty()) {
    double width = 0;
    double height = 0;
    if (!parse_size(c.image_size, width, height) || width < 50 || height < 50 ||
        width > 20000 || height > 20000) {
      err << "qlor: --size takes WIDTHxHEIGHT in pixels from 50 to 20000, "
             "such as 800x600\n";
      return 2;
    }
    size = QSize(static_cast<int>(std::lround(width)),
                 static_cast<int>(std::lround(height)));
  }
  if (!c.output.empty() && !is_image_path(c.output)) {
    err << "qlor: the figure is written as .svg or .png, not '" << c.output
        << "'\n";
    return 2;
  }
  if (!(c.alpha > 0 && c.alpha < 1)) {
    err << "qlor: --alpha takes a level between 0 and 1, such as 0.05\n";
    return 2;
  }
  ResultFigure figure;
  if (auto s = load_result_figure(c.file, figure); !s.empty()) {
    err << "qlor: " << s << '\n';
    return 1;
  }
  if (c.global) {
    if (auto s = add_global_envelopes(figure, c.alpha); !s.empty()) {
      err << "qlor: " << s << '\n';
      return 1;
    }
  }
  ensure_gui_application();
  if (size.isEmpty()) size = default_figure_size(figure);
  const std::string output =
      c.output.empty() ? figure.default_output : c.output;
  if (auto s = save_figure(figure, output, size); !s.empty()) {
    err << "qlor: " << s << '\n';
    return 1;
  }
  err << "qlor: wrote '" << output << "'\n";
  return 0;
}

}  // namespace qlor
