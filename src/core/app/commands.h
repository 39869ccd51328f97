// The command numbers of the menu items and accelerators. Every front end
// sends these to the view, which handles them (see view_controller.h).
#pragma once

namespace qlor {

enum CommandId : int {
  kCmdFileOpen = 57601,
  kCmdFileClose = 57602,
  kCmdAppAbout = 57664,
  kCmdAppExit = 57665,
  kCmdViewStatusBar = 59393,

  kCmdSingleFile = 32775,
  kCmdBatchPrecheck = 32776,
  kCmdBatchCheckAnalyse = 32777,
  kCmdBatchAutoAnalyse = 32778,
  kCmdSignificanceOnly = 32779,

  kCmdSignificanceNone = 32780,
  kCmdSignificanceSupremum = 32781,
  kCmdSignificanceCvm = 32782,
  kCmdSignificanceBoth = 32783,

  kCmdDirectionNone = 32784,
  kCmdDirectionCardinal = 32785,
  kCmdDirectionDiagonal = 32786,
  kCmdDirectionHalfPlanes = 32787,

  kCmdRandomizeSpecies2 = 32788,
  kCmdRandomizeBoth = 32789,

  kCmdShowSettings = 32790,
  /// Desktop window only: draws a result file in a window of its own.
  kCmdPlotResult = 32796,

  kCmdFunctionL = 32797,
  kCmdFunctionG = 32798,
  kCmdFunctionO = 32799,
  /// Asks for the kernel's half-width of g and O.
  kCmdBandwidth = 32800,
  /// Asks for the intensity of an inhomogeneous analysis.
  kCmdIntensity = 32801,

  kCmdNullHeader = 32802,
  kCmdNullLabels = 32803,
  kCmdNullShift = 32804,

  kCmdPairsCross = 32805,
  kCmdPairs11 = 32806,
  kCmdPairs22 = 32807,

  kCmdProgressAlways = 32791,
  kCmdProgressAbove1M = 32792,
  kCmdProgressAbove10M = 32793,
  kCmdProgressAbove100M = 32794,
  kCmdProgressNever = 32795,
};

}  // namespace qlor
