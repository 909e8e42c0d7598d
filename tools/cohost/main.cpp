// cohost: plays the host of TxCOGUI.dll from the command line. Lists the CAPE-OPEN
// components of the machine as the Component Manager does, shows what the DLL knows of
// one, creates, probes and persists it, opens the dialogs for a person, and checks every
// registration for the faults that make a component "not show up".
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <vector>
#include "cohost/Commands.h"
#include "framework/Raii.h"
#include "framework/WideText.h"

namespace {

const char kUsage[] =
    "usage: cohost <command> [arguments] [--json] [--batch]\n"
    "       cohost --help | --version\n"
    "  list [--filter N] [--server S] [--json]      the catalogue of CAPE-OPEN components\n"
    "       [--view 32|64] [--match TEXT]           as a host of that bitness sees it; only what\n"
    "                                               matches TEXT (name, ProgID, description, CLSID)\n"
    "  info PROGID [--parent P] [--json]            what the registry says of one component\n"
    "  create PROGID [--parent P] --filter N        create it and check its CAPE-OPEN version\n"
    "  probe PROGID [--server S] [--json]           the interfaces it answers\n"
    "  roundtrip PROGID --file CASE [--parent P] [--filter N]\n"
    "                                               save it into a compound file and load it back\n"
    "  pick [--filter N]                            the Component Manager, for a person\n"
    "  thermo PACKAGE [--parent SYSTEM]             the property package dialog, for a person: a\n"
    "                                               package component, or a package of SYSTEM\n"
    "  check [--json]                               validate every CAPE-OPEN registration, in the\n"
    "                                               64-bit and the 32-bit registry view\n"
    "  help, --help, -h                             this text, on stdout\n"
    "  --version                                    cohost's version and the registered DLL's\n"
    "  --json: the result as JSON on stdout. --batch: message boxes are printed to stderr and\n"
    "  answered with their default button.\n"
    "  Filters (decimal): 4 property systems, 8 property packages, 32 unit operations (bits combine).\n"
    "  Exit status: 0 done, 1 failed (check: errors found), 2 bad command line.\n";

const char kMoreHelp[] = "run 'cohost --help' for usage";

struct Command {
  const char* name;
  int (*run)(Session&);
};

const Command kCommands[] = {{"list", listCommand},   {"info", infoCommand},           {"create", createCommand},
                             {"probe", probeCommand}, {"roundtrip", roundtripCommand}, {"pick", pickCommand},
                             {"thermo", thermoCommand}, {"check", checkCommand}};

}  // namespace

namespace {

int run(const std::vector<std::string>& arguments) {
  Options options;
  std::string error;
  if (!Options::parse(arguments, &options, &error)) {
    printText(stderr, "cohost: %s; %s\n", error.c_str(), kMoreHelp);
    return kExitUsage;
  }
  if (options.help) {
    writeText(stdout, kUsage);
    return kExitOk;
  }
  if (options.version) {
    if (!options.command.empty() || !options.values.empty()) {
      printText(stderr, "cohost: --version takes no command and no option; %s\n", kMoreHelp);
      return kExitUsage;
    }
    Session session(options);
    return versionCommand(session);
  }
  if (options.command.empty()) {
    writeText(stderr, kUsage);
    return kExitUsage;
  }
  const Command* command = nullptr;
  for (const Command& c : kCommands)
    if (options.command == c.name) command = &c;
  if (!command) {
    printText(stderr, "cohost: unknown command '%s'; %s\n", options.command.c_str(), kMoreHelp);
    return kExitUsage;
  }

  // The validator runs unattended: the DLL's boxes are its findings.
  if (options.command == "check") options.batch = true;
  fw::ComInit com;
  if (FAILED(com.result())) {
    printText(stderr, "cohost: COM cannot be initialised (0x%08lX)\n", static_cast<unsigned long>(com.result()));
    return kExitFailed;
  }
  Session session(options);
  return command->run(session);
}

}  // namespace

// Wide arguments: ProgIDs, paths and search texts in any script, whatever the code page.
int wmain(int argc, wchar_t** argv) {
  try {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(narrowFromWide(argv[i]));
    return run(arguments);
  } catch (const std::exception& e) {
    printText(stderr, "cohost: internal error: %s\n", e.what());
  } catch (...) {
    printText(stderr, "cohost: internal error\n");
  }
  return kExitFailed;
}
