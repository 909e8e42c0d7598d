#include "ppdialog/CCOTHConfig.h"

CCOTHConfig::CCOTHConfig(HWND parent)
    : allowSubsets(0), freeCompounds(0), treatAsHypos(0), recovLog(0), recovPopUp(0), recovTrace(0),
      requestLiquid2(0), doOrderPhases(0), critPopUp(0), critLog(0), critTrace(0), allowModifications(true),
      owner(nullptr), parent_(parent) {}

CCOTHConfig::~CCOTHConfig() {}
