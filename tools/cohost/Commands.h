// The tool's commands. Each returns the process's exit status.
#pragma once
#include "cohost/Session.h"

int listCommand(Session& session);
int infoCommand(Session& session);
int createCommand(Session& session);
int probeCommand(Session& session);
int roundtripCommand(Session& session);
int pickCommand(Session& session);
int thermoCommand(Session& session);
int checkCommand(Session& session);
// --version: no COM needed.
int versionCommand(Session& session);
