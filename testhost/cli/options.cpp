#include "options.h"

#include <algorithm>

#include "dialog_picture.h"
#include "memory_budget.h"
#include "report.h"
#include "scene_input.h"
#include "usage_error.h"

namespace cli {

const std::vector<std::string>& KnownOptions() {
  static const std::vector<std::string> names = {
      "--object", "--script", "--json",    "--png",     "--interactive", "-i",    "--plugins", "--scene",
      "--max-memory", "--csv", "--tsv",    "-j",        "--jobs",        "--help", "-h",       "--version",
      "--tree",   "--children", "--nonpoly", "--pause", "--"};
  return names;
}

namespace {

// Options of a run over several files as a whole, which no file's own process gets.
bool ShapesTheRun(const std::string& option) {
  return option == "--scene" || option == "--max-memory" || option == "--csv" || option == "--tsv" || option == "-j" ||
         option == "--jobs";
}

void SetTableFormat(Options& options, const std::string& option) {
  const TableFormat format = option == "--csv" ? TableFormat::kCsv : TableFormat::kTsv;
  if (options.tableFormatGiven && options.tableFormat != format) throw UsageError{"--csv and --tsv: give one of them"};
  options.tableFormat = format;
  options.tableFormatGiven = true;
}

int ParseJobs(const std::string& option, const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 3 && text.find_first_not_of("0123456789") == std::string::npos;
  const int jobs = digits ? std::stoi(text) : 0;
  if (jobs < 1 || jobs > kMostJobs)
    throw UsageError{option + " takes the number of files counted at once, 1 to " + std::to_string(kMostJobs) +
                     ", not '" + text + "'"};
  return jobs;
}

bool Switch(const std::string& option, const std::string& value) {
  if (value == "on") return true;
  if (value == "off") return false;
  throw UsageError{"option " + option + " takes on or off, not '" + value + "'"};
}

// Combinations that say nothing sensible, refused before anything runs.
void CheckCombinations(const Options& options) {
  if (options.tree && (options.interactive || !options.script.empty() || !options.png.empty() || !options.object.empty()))
    throw UsageError{"--tree lists every object once: it cannot be combined with --interactive, --script, --png or --object"};
  if (options.tree && options.includeChildren == false)
    throw UsageError{"--tree counts each object with its children: it cannot be combined with --children off"};
  if (options.tree && options.pause == true)
    throw UsageError{"--tree counts each object as it is selected: it cannot be combined with --pause on"};
  if (options.interactive && (options.json || !options.script.empty()))
    throw UsageError{"--interactive cannot be combined with --json or --script"};
  if (options.interactive && options.scene == kStandardInput)
    throw UsageError{"--interactive reads events from the standard input: the scene cannot come from it too"};
  if (options.scene == kStandardInput && options.script == kStandardInput)
    throw UsageError{"the scene and the script cannot both come from the standard input"};
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  bool optionsEnded = false;  // after "--" every argument is a scene, even "-x"
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::size_t first = i;
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw UsageError{"option " + argument + " needs a value"};
      return arguments[++i];
    };
    const bool endsOptions = argument == "--" && !optionsEnded;
    const bool isScene =
        !endsOptions && (optionsEnded || argument.empty() || argument[0] != '-' || argument == kStandardInput);
    if (endsOptions) {
      optionsEnded = true;
    } else if (isScene) {
      options.scenes.push_back(argument);
    } else if (std::find(KnownOptions().begin(), KnownOptions().end(), argument) == KnownOptions().end()) {
      throw UsageError{"unknown option " + argument + " (see --help)"};
    } else if (argument == "--help" || argument == "-h") options.help = true;
    else if (argument == "--version") options.version = true;
    else if (argument == "--json") options.json = true;
    else if (argument == "--tree") options.tree = true;
    else if (argument == "--children") options.includeChildren = Switch(argument, value());
    else if (argument == "--nonpoly") options.includeNonPoly = Switch(argument, value());
    else if (argument == "--pause") options.pause = Switch(argument, value());
    else if (argument == "--interactive" || argument == "-i") options.interactive = true;
    else if (argument == "--object") options.object = value();
    else if (argument == "--script") options.script = value();
    else if (argument == "--png") options.png = value();
    else if (argument == "--plugins") options.pluginFolders.push_back(value());
    else if (argument == "--scene") options.scenes.push_back(value());  // the older spelling
    else if (argument == "--max-memory") options.maxMemory = ParseMemorySize(argument, value());
    else if (argument == "--csv" || argument == "--tsv") SetTableFormat(options, argument);
    else if (argument == "-j" || argument == "--jobs") options.jobs = ParseJobs(argument, value());
    else throw UsageError{"unknown option " + argument + " (see --help)"};
    if (!endsOptions && !isScene && !ShapesTheRun(argument))
      options.perFileOptions.insert(options.perFileOptions.end(), arguments.begin() + static_cast<std::ptrdiff_t>(first),
                                    arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1);
  }
  if (options.scenes.size() == 1) options.scene = options.scenes.front();
  CheckCombinations(options);
  if (options.json && !JsonAvailable()) throw UsageError{"--json is not available in this build"};
  if (!options.png.empty() && !PicturesAvailable()) throw UsageError{"--png is not available in this build"};
  return options;
}

bool WantsJson(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--json") return true;
  }
  return false;
}

std::string HelpText() {
  std::string formats;
  for (const std::string& extension : testhost::input::ImportedExtensions()) formats += " " + extension;
  return "Usage: statlume-host [options] [FILE|FOLDER...]\n"
         "       statlume-host validate [options] [PLUGIN_FOLDER]   (below)\n"
         "\n"
         "Loads the Statlume plug-in into the test host, opens the scene FILE, runs the\n"
         "command \"Statlume\" on the active object and prints the dialog as the user\n"
         "sees it.\n"
         "\n"
         "FILE is a JSON scene (.json), a text scene (.scene) or a 3D file the importer\n"
         "reads; a 3D file becomes one top-level object named after the file. Without\n"
         "FILE the bundled scene is used (share/statlume-host/scenes/default.scene,\n"
         "beside the program's bin/ folder); FILE - reads it from the standard input,\n"
         "by its content (a 3D file read so is named stdin).\n"
         "\n"
         "Several files, or a FOLDER (its scenes and the 3D files of the formats listed\n"
         "below, in subfolders too, sorted by path), give a table of one row per file: the\n"
         "counts of its default active object (a 3D file's whole file), or why it\n"
         "failed. Each file is counted in a process of its own, so a file that crashes\n"
         "the plug-in or the importer fails in its row alone. --object, --script, --png,\n"
         "--interactive, --tree and - concern one file and are refused there.\n"
         "\n"
         "Options:\n"
         "  --object PATH     make PATH the active object, e.g. Robot/Head (default: the\n"
         "                    object the scene names, else its first top-level object);\n"
         "                    NAME[N] is the Nth of the siblings called NAME, e.g.\n"
         "                    model.obj/Bolt[2] for the second Bolt\n"
         "  --script FILE     replay the events in FILE, one per line, printing the dialog\n"
         "                    after each (see the README for the events); --script -\n"
         "                    reads them from the standard input\n"
         "  --tree            every object of the scene, indented as the hierarchy, with\n"
         "                    its path (as --object takes it) and the eight fields the\n"
         "                    plug-in shows with that object active and its children\n"
         "                    included\n"
         "  --children on|off, --nonpoly on|off, --pause on|off\n"
         "                    the dialog's options as the run starts: Include Child\n"
         "                    Objects, Include Non-Poly/Point Objects, Pause\n"
         "  --json            print each state as one JSON document per line, the counts\n"
         "                    as numbers beside the texts shown (with --tree: one array\n"
         "                    of path, depth and fields); a failure ends the output with\n"
         "                    an object holding error and status (the schema of all of\n"
         "                    it: share/statlume-host/statlume-host.schema.json\n"
         "                    beside the program's bin/ folder); with several files, per\n"
         "                    file its state or its error object, with \"file\"\n"
         "  --csv             several files as CSV: a header row (file, status, the\n"
         "                    eight fields as polygons_current ... objects_editable,\n"
         "                    error), a row per file, RFC 4180 quoting, CRLF line ends;\n"
         "                    status is ok, bad input, plug-in fault or crashed\n"
         "  --tsv             the same as TSV: a tab, line feed, carriage return or\n"
         "                    backslash in a field is written \\t, \\n, \\r or \\\\\n"
         "  -j N, --jobs N    count N files at once (default: one per core)\n"
         "  --png FILE        draw the dialog into FILE; with --script, one numbered\n"
         "                    picture per state (FILE-01.png, FILE-02.png, ...)\n"
         "  --interactive, -i a terminal session: type events, the dialog follows; on a\n"
         "                    terminal with line editing, history (~/.statlume-host_history)\n"
         "                    and Tab completing events and object paths; \"help\" lists\n"
         "                    the events\n"
         "  --plugins FOLDER  load the plug-in from FOLDER (a plug-in folder, or a folder\n"
         "                    of them); default: plugins/statlume beside the program's\n"
         "                    bin/ folder\n"
         "  --max-memory SIZE the memory the program may take, e.g. 512M or 4G, or\n"
         "                    unlimited (default: half of the machine's memory); a file\n"
         "                    that needs more ends with status 2; with several files,\n"
         "                    the files counted at once share it\n"
         "  --scene FILE      the same as giving FILE\n"
         "  --help, -h        this text\n"
         "  --version         the program's version\n"
         "  --                ends the options: a FILE may then start with '-'\n"
         "\n"
         "Exit status: 0 success, 1 the plug-in crashed or the host recorded a fault of\n"
         "it, 2 bad input (a file that is not a plug-in or a scene, or needs more memory).\n"
         "With several files, the worst of theirs: 1 over 2 over 0.\n" +
         (formats.empty() ? std::string() : "\n3D formats read:" + formats + "\n");
}

std::string VersionText() { return "statlume-host 1.0 (test host for the Statlume plug-in)\n"; }

}  // namespace cli
