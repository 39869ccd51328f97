// The menu tree. Separators, ampersands and the two leading blanks of the
// last two menu titles are part of the window's look.
#include "app/menu_definition.h"

namespace qlor {

namespace {

MenuItem item(std::string_view text, int command,
              std::string_view shortcut = {}) {
  return {MenuItem::Kind::kCommand, text, command, shortcut, false, {}};
}

MenuItem check_item(std::string_view text, int command) {
  return {MenuItem::Kind::kCommand, text, command, {}, true, {}};
}

MenuItem separator() {
  return {MenuItem::Kind::kSeparator, {}, 0, {}, false, {}};
}

MenuItem submenu(std::string_view text, std::vector<MenuItem> items) {
  return {MenuItem::Kind::kSubmenu, text, 0, {}, false, std::move(items)};
}

std::vector<Menu> build_menu_bar() {
  return {
      {"&File",
       {item("&Open...", kCmdFileOpen, "Ctrl+O"),
        item("&Close", kCmdFileClose, "Ctrl+C"), separator(),
        item("E&xit", kCmdAppExit, "Ctrl+X")}},
      {"&Analysis",
       {item("Single &File", kCmdSingleFile, "Ctrl+F"), separator(),
        submenu("Batch File",
                {item("&PreCheck", kCmdBatchPrecheck, "Ctrl+P"), separator(),
                 item("Check && &Analyse", kCmdBatchCheckAnalyse, "Ctrl+A"),
                 separator(),
                 item("A&uto Analyse", kCmdBatchAutoAnalyse, "Ctrl+U")}),
        separator(), item("&Significance only", kCmdSignificanceOnly, "Ctrl+S"),
        separator(),
        submenu("&Function",
                {check_item("L(t) - t", kCmdFunctionL), separator(),
                 check_item("g(t) - pair correlation", kCmdFunctionG),
                 check_item("O(t) - O-ring", kCmdFunctionO), separator(),
                 item("&Bandwidth...", kCmdBandwidth), separator(),
                 item("&Intensity...", kCmdIntensity)}),
        submenu("&Null model",
                {check_item("Header's model", kCmdNullHeader), separator(),
                 check_item("Random labelling", kCmdNullLabels),
                 check_item("Toroidal shift", kCmdNullShift)}),
        submenu("&Pairs",
                {check_item("Across species", kCmdPairsCross), separator(),
                 check_item("Within species 1", kCmdPairs11),
                 check_item("Within species 2", kCmdPairs22)})}},
      {"&Significance",
       {check_item("No test", kCmdSignificanceNone), separator(),
        check_item("Ripley's Supremum", kCmdSignificanceSupremum), separator(),
        check_item("Cramer-von Mises", kCmdSignificanceCvm), separator(),
        check_item("Both tests", kCmdSignificanceBoth)}},
      {"&Direction",
       {check_item("None", kCmdDirectionNone), separator(),
        check_item("90\xC2\xB0 W,N,E,S", kCmdDirectionCardinal), separator(),
        check_item("90\xC2\xB0 SW,NW,NE,SE", kCmdDirectionDiagonal),
        separator(),
        check_item("180\xC2\xB0 N-S, W-E", kCmdDirectionHalfPlanes)}},
      {"&Randomize 1|2",
       {check_item("Randomize species 2 only", kCmdRandomizeSpecies2),
        separator(), check_item("Randomize both species", kCmdRandomizeBoth)}},
      {"  &View",
       {item("Sho&w settings", kCmdShowSettings, "Ctrl+W"),
        item("&Plot result...", kCmdPlotResult), separator(),
        check_item("Status Bar", kCmdViewStatusBar), separator(),
        submenu("Progress Ctrl Bar",
                {check_item("Show always", kCmdProgressAlways), separator(),
                 check_item("Show if >1 M", kCmdProgressAbove1M),
                 check_item("Show if >10 M", kCmdProgressAbove10M),
                 check_item("Show if >100 M", kCmdProgressAbove100M),
                 separator(), check_item("Do not show", kCmdProgressNever)})}},
      {"  &?", {item("About QLOR...", kCmdAppAbout)}},
  };
}

struct Prompt {
  int command;
  std::string_view text;
};

constexpr Prompt kPrompts[] = {
    {kCmdSingleFile, "Analyse one input file\nSingle file"},
    {kCmdBatchPrecheck, "Check batch file for input errors\nCheck batch"},
    {kCmdBatchCheckAnalyse, "Analyse input files from batch file\nBatch file"},
    {kCmdBatchAutoAnalyse,
     "Non-interactive analysis of batch file\nBatch file"},
    {kCmdSignificanceOnly,
     "Test of significance of analysed file\nTest of significance"},
    {kCmdSignificanceNone,
     "No significance test performed\nNo significance test"},
    {kCmdSignificanceSupremum,
     "Significance test by Ripley's supremum\nRipley's supremum"},
    {kCmdSignificanceCvm,
     "Significance test of Cramer-von Mises\nCramer-von Mises test"},
    {kCmdSignificanceBoth, "Perform both tests of significance\nBoth tests"},
    {kCmdDirectionNone,
     "Cardinal direction not considered in bivariate pattern "
     "analysis\nDirection not considered"},
    {kCmdDirectionCardinal,
     "Analyse bivariate pattern considering cardinal direction - 90\xC2\xB0 "
     "sectors W,N,E,S\n90\xC2\xB0 sectors W,N,E,S"},
    {kCmdDirectionDiagonal,
     "Analyse bivariate pattern considering cardinal direction - 90\xC2\xB0 "
     "sectors SW,NW,NE,SE\n90\xC2\xB0sectors SW,NW,NE,SE"},
    {kCmdDirectionHalfPlanes,
     "Analyse bivariate pattern considering cardinal direction - 180\xC2\xB0 "
     "sectors N,S,W,E\n180\xC2\xB0 sectors N,S,W,E"},
    {kCmdRandomizeSpecies2,
     "Randomize species 2 only for bivariate analysis\nRandomize species 2"},
    {kCmdRandomizeBoth,
     "Randomize both species for bivariate analysis\nRandomize both species"},
    {kCmdShowSettings, "Show current settings for analysis\nShow settings"},
    {kCmdFunctionL,
     "Analyse L(t) - t, the cumulative second-order function\nL(t) - t"},
    {kCmdFunctionG,
     "Analyse the pair correlation function g(t)\nPair correlation"},
    {kCmdFunctionO, "Analyse the O-ring statistic O(t)\nO-ring statistic"},
    {kCmdBandwidth, "Half-width of the kernel of g(t) and O(t)\nBandwidth"},
    {kCmdPlotResult,
     "Draw a result file: envelope and observed L(t) - t\nPlot result"},
    {kCmdProgressAlways,
     "Always show Progress Ctrl Bar\nToggle ProgressCtrlBar"},
    {kCmdProgressAbove1M,
     "Show Progress Ctrl Bar if >1 M i-j calculations\nToggle ProgressCtrlBar"},
    {kCmdProgressAbove10M,
     "Show Progress Ctrl Bar if >10 M i-j calculations\nToggle "
     "ProgressCtrlBar"},
    {kCmdProgressAbove100M,
     "Show Progress Ctrl Bar if >100 M i-j calculations\nToggle "
     "ProgressCtrlBar"},
    {kCmdProgressNever,
     "Do not show Progress Ctrl Bar\nToggle ProgressCtrlBar"},
    {kCmdFileOpen, "Open an existing file\nOpen"},
    {kCmdFileClose, "Close the active file\nClose"},
    {kCmdAppExit, "Quit the application\nExit"},
    {kCmdViewStatusBar, "Show or hide the status bar\nToggle StatusBar"},
    {kCmdAppAbout,
     "Display program information, version number and copyright\nAbout"},
};

}  // namespace

const std::vector<Menu>& menu_bar() {
  static const std::vector<Menu> kMenuBar = build_menu_bar();
  return kMenuBar;
}

const std::vector<Accelerator>& accelerators() {
  static const std::vector<Accelerator> kAccelerators = {
      {'O', kCmdFileOpen},         {'C', kCmdFileClose},
      {'X', kCmdAppExit},          {'F', kCmdSingleFile},
      {'P', kCmdBatchPrecheck},    {'A', kCmdBatchCheckAnalyse},
      {'U', kCmdBatchAutoAnalyse}, {'S', kCmdSignificanceOnly},
      {'W', kCmdShowSettings},
  };
  return kAccelerators;
}

std::string_view command_prompt(int command) {
  for (const auto& p : kPrompts) {
    if (p.command == command) return p.text;
  }
  return {};
}

std::string_view prompt_help(std::string_view prompt) {
  return prompt.substr(0, prompt.find('\n'));
}

}  // namespace qlor
