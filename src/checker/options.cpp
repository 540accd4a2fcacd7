#include "checker/options.h"

namespace keyvane::checker {
namespace {

// "--name" followed by its value, or "--name=value".
bool IsValueOption(const std::string& arg, const std::string& name) {
  return arg == name || arg.starts_with(name + "=");
}

// The file name of such an option, from "--name=value" or from the next argument.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
               std::string& error) {
  const std::string& arg = args[i];
  if (arg.size() > name.size()) {
    value = arg.substr(name.size() + 1);
  } else if (i + 1 < args.size()) {
    value = args[++i];
  } else {
    value.clear();
  }
  if (value.empty()) error = name + " needs a file name (" + name + (name == "--html" ? " OUT.html)" : " OUT)");
  return error.empty();
}

}  // namespace

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
    } else if (IsValueOption(arg, "--trace")) {
      if (!TakeValue(args, i, "--trace", o.tracePath, parsed.error)) return parsed;
    } else if (IsValueOption(arg, "--html")) {
      if (!TakeValue(args, i, "--html", o.htmlPath, parsed.error)) return parsed;
    } else {
      parsed.error = "unknown option \"" + arg + "\"";
      return parsed;
    }
  }
  return parsed;
}

std::string UsageText() {
  return "Usage: keyvane-check [--json] [--trace OUT] [--html OUT.html] [FILE]\n"
         "\n"
         "Shows how the Keyvane keyboard understands a button file: every map with its\n"
         "14 buttons as the two panels show them, and every line the keyboard silently\n"
         "ignores, changes or cannot use, with its line number.\n"
         "\n"
         "  FILE              the button file (default: dovaD.BTN in this directory)\n"
         "  --json            print one JSON object (UTF-8) instead of the plain report\n"
         "  --trace OUT       also write to OUT what the keyboard writes to dovaD.STS\n"
         "                    while it loads the file\n"
         "  --html OUT.html   also write to OUT.html a preview that any browser opens:\n"
         "                    the two panels as the keyboard shows them, with every\n"
         "                    page a click, a right click or a long right hold leads to\n"
         "  --help            show this help\n"
         "  --version         show the version\n"
         "\n"
         "Exit status: 0 no problems found, 1 problems found, 2 the file cannot be\n"
         "read or the arguments are wrong.\n";
}

}  // namespace keyvane::checker
