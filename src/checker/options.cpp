#include "checker/options.h"

namespace keyvane::checker {

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments parsed;
  Options& o = parsed.options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
    if (!isOption) {
      if (o.buttonFileGiven) {
        parsed.error = "more than one button file given (\"" + o.buttonFile + "\" and \"" + arg + "\")";
        return parsed;
      }
      o.buttonFile = arg;
      o.buttonFileGiven = true;
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      o.json = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--trace" || arg.starts_with("--trace=")) {
      if (arg == "--trace") {
        if (i + 1 == args.size()) {
          parsed.error = "--trace needs a file name (--trace OUT)";
          return parsed;
        }
        o.tracePath = args[++i];
      } else {
        o.tracePath = arg.substr(8);
      }
      if (o.tracePath.empty()) {
        parsed.error = "--trace needs a file name (--trace OUT)";
        return parsed;
      }
    } else {
      parsed.error = "unknown option \"" + arg + "\"";
      return parsed;
    }
  }
  return parsed;
}

std::string UsageText() {
  return "Usage: keyvane-check [--json] [--trace OUT] [FILE]\n"
         "\n"
         "Shows how the Keyvane keyboard understands a button file: every map with its\n"
         "14 buttons as the two panels show them, and every line the keyboard silently\n"
         "ignores, changes or cannot use, with its line number.\n"
         "\n"
         "  FILE         the button file (default: dovaD.BTN in the current directory)\n"
         "  --json       print one JSON object (UTF-8) instead of the plain report\n"
         "  --trace OUT  also write to OUT what the keyboard writes to dovaD.STS while\n"
         "               it loads the file\n"
         "  --help       show this help\n"
         "  --version    show the version\n"
         "\n"
         "Exit status: 0 no problems found, 1 problems found, 2 the file cannot be\n"
         "read or the arguments are wrong.\n";
}

}  // namespace keyvane::checker
