#pragma once
// Every figure of one benchmark run, set against its goal.

#include <vector>

#include "FigureTable.h"
#include "IdleBench.h"
#include "PacingBench.h"
#include "StartUpBench.h"

struct TBenchFigures {
  std::vector<TCommandFigures> pacing;
  TStartUpFigures korvaStart, bareStart;
  TIdleFigures korvaIdle, bareIdle;
};

TFigureTable Report(const TBenchFigures& figures);
