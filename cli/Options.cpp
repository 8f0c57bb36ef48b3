#include "cli/Options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>

#include "cli/FloatText.h"
#include "cli/InputError.h"

namespace cli {

namespace {

constexpr unsigned kMaxTimeoutSeconds = 86400;
// Where the help of an option starts, and the width of the help.
constexpr std::size_t kHelpColumn = 21;
constexpr std::size_t kHelpWidth = 88;

// The options of one command and the reader that walks its arguments. Each
// option is declared once, with its names, its value, its help line and what
// it sets; Parse and Help both read that table.
class OptionParser {
public:
    using Take = std::function<void(const std::string& flag, const std::string& value)>;

    explicit OptionParser(std::string command) : command_(std::move(command)) {}

    // An option with a value: "-o OUT", "--seed N", "--seed=N".
    void Value(std::initializer_list<const char*> names, const char* value, const char* help,
               Take take) {
        options_.push_back({{names.begin(), names.end()}, value, help, std::move(take)});
    }
    // An option without a value: "--fill".
    void Flag(std::initializer_list<const char*> names, const char* help,
              std::function<void(const std::string& flag)> take) {
        options_.push_back({{names.begin(), names.end()},
                            nullptr,
                            help,
                            [take = std::move(take)](const std::string& flag, const std::string&) {
                                take(flag);
                            }});
    }
    // What to do with an argument that is not an option; none: it is an error.
    void Positional(std::function<void(const std::string& arg)> take) {
        positional_ = std::move(take);
    }

    // Reads args into the table's targets; true when help was asked for
    // (before any error), in which case the rest is not read.
    bool Parse(const std::vector<std::string>& args) {
        for (std::size_t next = 0; next < args.size();) {
            const std::string& arg = args[next++];
            if (arg == "--help" || arg == "-h") return true;
            const auto [flag, inlineValue] = SplitInline(arg);
            const Option* option = Find(flag);
            if (option == nullptr) {
                if (arg.size() > 1 && arg.front() == '-') Fail("unknown option '" + flag + "'");
                if (!positional_) Fail("unexpected argument '" + arg + "'");
                positional_(arg);
                continue;
            }
            if (option->value == nullptr) {
                if (inlineValue) Fail("option '" + flag + "' takes no value");
                option->take(flag, {});
                continue;
            }
            // The next argument is the value whatever it looks like, so that
            // "--range -1" reports the value rather than an unknown option.
            if (!inlineValue && next == args.size()) Fail("option '" + flag + "' needs a value");
            option->take(flag, inlineValue ? *inlineValue : args[next++]);
        }
        return false;
    }

    // The options part of the command's help, one option a line.
    std::string Help() const {
        std::string text = "options:\n";
        for (const Option& option : options_) {
            std::string names;
            for (const std::string& name : option.names)
                names += (names.empty() ? "" : ", ") + std::string(name);
            if (option.value != nullptr) names += std::string(" ") + option.value;
            std::string line = "  " + names;
            line += line.size() < kHelpColumn ? std::string(kHelpColumn - line.size(), ' ') : "  ";
            // Words past the right margin go on to a line of their own.
            std::string word;
            for (const char* c = option.help;; ++c) {
                if (*c != ' ' && *c != '\0') {
                    word += *c;
                    continue;
                }
                if (line.size() + word.size() > kHelpWidth) {
                    text += line + "\n";
                    line = std::string(kHelpColumn, ' ');
                } else if (line.back() != ' ') {
                    line += ' ';
                }
                line += word;
                word.clear();
                if (*c == '\0') break;
            }
            text += line + "\n";
        }
        text += "  -h, --help         this help\n";
        return text;
    }

    [[noreturn]] void Fail(const std::string& message) const {
        throw InputError(message + "; see 'pelvaro " + command_ + " --help'");
    }

private:
    struct Option {
        std::vector<std::string> names;
        const char* value;  // its name in the help; null for a flag
        const char* help;
        Take take;
    };

    // Splits "--flag=value" into flag and value.
    static std::pair<std::string, std::optional<std::string>> SplitInline(const std::string& arg) {
        if (arg.rfind("--", 0) == 0) {
            const auto equals = arg.find('=');
            if (equals != std::string::npos) return {arg.substr(0, equals), arg.substr(equals + 1)};
        }
        return {arg, std::nullopt};
    }

    const Option* Find(const std::string& flag) const {
        for (const Option& option : options_) {
            for (const std::string& name : option.names) {
                if (name == flag) return &option;
            }
        }
        return nullptr;
    }

    std::string command_;
    std::vector<Option> options_;
    std::function<void(const std::string&)> positional_;
};

float ParseLevel(const OptionParser& parser, const std::string& flag, const std::string& text,
                 float max, const char* rule) {
    float value = 0.0f;
    const FloatParse parse = ParseFloat(text, value);
    if (parse == FloatParse::kInvalid) parser.Fail(flag + " '" + text + "' is not a number");
    if (parse == FloatParse::kOutOfRange || !std::isfinite(value) || value < 0.0f || value > max) {
        parser.Fail(flag + " '" + text + "' is out of range: " + rule);
    }
    return value;
}

void AddPluginOptions(OptionParser& parser, PluginOptions& options) {
    parser.Value({"--plugin"}, "PATH",
                 "the plug-in module to load (default: Pelvaro.aip beside pelvaro)",
                 [&parser, &options](const std::string&, const std::string& value) {
                     if (value.empty()) parser.Fail("--plugin needs a file path");
                     options.plugin = value;
                 });
    parser.Value({"--timeout"}, "SECONDS",
                 "end the plug-in when one message runs longer (default 60; 0: no limit)",
                 [&parser, &options](const std::string&, const std::string& value) {
                     const auto seconds = ParseSeed(value);
                     if (!seconds || *seconds > kMaxTimeoutSeconds) {
                         parser.Fail("--timeout '" + value +
                                     "' is not a whole number of seconds from 0 to " +
                                     std::to_string(kMaxTimeoutSeconds));
                     }
                     options.timeoutSeconds = *seconds;
                 });
}

void AddFilterOptions(OptionParser& parser, FilterOptions& filter) {
    JitterParams& params = filter.params;
    parser.Value({"--seed"}, "N", "seed of the host's random source, 0 to 4294967295",
                 [&parser, &filter](const std::string&, const std::string& value) {
                     filter.seed = ParseSeed(value);
                     if (!filter.seed) {
                         parser.Fail("--seed '" + value +
                                     "' is not an unsigned 32-bit integer (0 to 4294967295)");
                     }
                 });
    parser.Value({"--range"}, "R",
                 "move range in points, finite and >= 0; offsets are at most R/2 long (default 6)",
                 [&parser, &params](const std::string& flag, const std::string& value) {
                     params.moveRange = ParseLevel(parser, flag, value, INFINITY,
                                                   "the move range must be finite and at least 0");
                 });
    const auto gray = [&parser](float& level) {
        return [&parser, &level](const std::string& flag, const std::string& value) {
            level =
                ParseLevel(parser, flag, value, 100.0f, "a gray percentage lies between 0 and 100");
        };
    };
    parser.Value({"--gray-min"}, "A", "lowest random gray in percent, 0 to 100 (default 5)",
                 gray(params.grayMin));
    parser.Value({"--gray-max"}, "B", "highest random gray in percent, 0 to 100 (default 95)",
                 gray(params.grayMax));
    parser.Flag({"--fill"}, "give each filled path a random gray (default)",
                [&params](const std::string&) { params.randomFill = 1; });
    parser.Flag({"--no-fill"}, "leave the fills as they are",
                [&params](const std::string&) { params.randomFill = 0; });
    parser.Value({"--weld"}, "TOL",
                 "before the run, snap anchors of different selected paths that lie within TOL "
                 "of each other onto one position, so they stay joined",
                 [&parser, &filter](const std::string& flag, const std::string& value) {
                     filter.jointTolerance =
                         ParseLevel(parser, flag, value, 1000.0f,
                                    "the weld tolerance lies between 0 and 1000");
                     filter.weld = true;
                 });
    AddPluginOptions(parser, filter);
}

void AddRunOptions(OptionParser& parser, RunOptions& options) {
    parser.Value({"-o", "--output"}, "OUT", "the output file (required)",
                 [&parser, &options](const std::string& flag, const std::string& value) {
                     if (value.empty()) parser.Fail("option '" + flag + "' needs a file path");
                     options.output = value;
                 });
    parser.Value({"--format"}, "F", "svg or json, for a file whose extension does not tell",
                 [&parser, &options](const std::string&, const std::string& value) {
                     if (value != "svg" && value != "json") {
                         parser.Fail("--format '" + value + "' is neither svg nor json");
                     }
                     options.format = value;
                 });
    parser.Value({"--id"}, "ID", "select the element with this id (repeatable)",
                 [&parser, &options](const std::string&, const std::string& value) {
                     if (value.empty()) parser.Fail("--id needs an element id");
                     options.ids.push_back(value);
                 });
    AddFilterOptions(parser, options.filter);
    // "-" is standard input.
    parser.Positional([&parser, &options](const std::string& arg) {
        if (!options.input.empty()) {
            parser.Fail("one input document only, but '" + arg + "' is a second");
        }
        options.input = arg;
    });
}

void AddDemoOptions(OptionParser& parser, DemoOptions& options) {
    parser.Value({"-o", "--output"}, "DIR",
                 "the output directory, made when missing (default ./pelvaro-demo)",
                 [&parser, &options](const std::string& flag, const std::string& value) {
                     if (value.empty()) parser.Fail("option '" + flag + "' needs a directory");
                     options.directory = value;
                 });
    AddFilterOptions(parser, options.filter);
}

void AddModuleOptions(OptionParser& parser, ModuleOptions& options) {
    AddPluginOptions(parser, options.module);
}

const char* const kRunSynopsis =
    "usage: pelvaro run IN -o OUT [--format svg|json] [--id ID]... [--weld TOL]\n"
    "                  [--seed N] [--range R] [--gray-min A] [--gray-max B]\n"
    "                  [--fill | --no-fill] [--plugin PATH] [--timeout SECONDS]\n"
    "\n"
    "Reads the document IN, runs the filter on its selected paths and writes the result\n"
    "to OUT. IN and OUT are SVG or JSON by their extension (.svg, .json), else by\n"
    "--format; '-' is standard input or output. An SVG comes back as it was but for the\n"
    "geometry and fill of the paths the run changed; a JSON document written as SVG is a\n"
    "picture of its paths. In an SVG every path and shape a person could select is\n"
    "selected, unless --id names elements (a group's id selects the paths in it).\n"
    "Without --seed a seed is picked and printed on stderr as 'seed: N'; the same seed\n"
    "and options give the same result bit for bit. Afterwards stderr tells how many\n"
    "joints (anchors of different paths within the weld tolerance, 0.02 by default)\n"
    "the document had and how many the run split. On any error or interruption OUT is\n"
    "left as it was. A regular file OUT is replaced at once when complete; anything\n"
    "else (a device, a pipe) is written to, and a symbolic link writes its target.\n"
    "The values are typed into the filter's own dialog, which keeps the range within\n"
    "0 to 1000 and puts the two grays in order.\n"
    "\n";

const char* const kDemoSynopsis =
    "usage: pelvaro demo [-o DIR] [--seed N] [--range R] [--gray-min A] [--gray-max B]\n"
    "                   [--fill | --no-fill] [--weld TOL] [--plugin PATH] [--timeout SECONDS]\n"
    "\n"
    "Runs the filter on a built-in mosaic of adjoining squares and triangles and writes\n"
    "before.svg, after.svg, before.json and after.json to DIR, then prints a summary.\n"
    "It also writes drawing.svg, a mosaic as a drawing program saves one (layers with\n"
    "transforms, a style sheet, shapes, a compound path, corners off by float noise),\n"
    "and the filter's result on it as it is (drawing-after.svg) and welded\n"
    "(drawing-welded.svg), with the joints each run kept.\n"
    "The seed is 7 unless --seed is given, so the demo repeats.\n"
    "\n";

const char* const kAboutSynopsis =
    "usage: pelvaro about [--plugin PATH] [--timeout SECONDS]\n"
    "\n"
    "Starts the plug-in, chooses its item in the About menu and prints the title and the\n"
    "text of the About box it shows, the text exactly as the plug-in passed it.\n"
    "\n";

const char* const kInfoSynopsis =
    "usage: pelvaro info [--plugin PATH] [--timeout SECONDS]\n"
    "\n"
    "Prints what the host learns when it loads the plug-in: the properties of its\n"
    "declaration (PiPL 16000), and the filter's name, category and title as the plug-in\n"
    "registers them at start-up.\n"
    "\n";

}  // namespace

std::optional<uint32_t> ParseSeed(const std::string& text) {
    uint32_t value = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, 10);
    if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

RunOptions ParseRunOptions(const std::vector<std::string>& args) {
    RunOptions options;
    OptionParser parser("run");
    AddRunOptions(parser, options);
    if (parser.Parse(args)) {
        RunOptions help;
        help.help = true;
        return help;
    }
    if (options.input.empty()) parser.Fail("no input document given");
    if (options.output.empty()) parser.Fail("no output given (-o OUT)");
    // The gray range may come in either order: the filter's dialog orders it.
    return options;
}

DemoOptions ParseDemoOptions(const std::vector<std::string>& args) {
    DemoOptions options;
    OptionParser parser("demo");
    AddDemoOptions(parser, options);
    if (parser.Parse(args)) {
        DemoOptions help;
        help.help = true;
        return help;
    }
    const JitterParams& params = options.filter.params;
    if (params.grayMin > params.grayMax) {
        parser.Fail("--gray-min " + FloatText(params.grayMin) + " is above --gray-max " +
                    FloatText(params.grayMax) + " (the defaults are 5 and 95)");
    }
    return options;
}

ModuleOptions ParseModuleOptions(const char* command, const std::vector<std::string>& args) {
    ModuleOptions options;
    OptionParser parser(command);
    AddModuleOptions(parser, options);
    if (parser.Parse(args)) {
        ModuleOptions help;
        help.help = true;
        return help;
    }
    return options;
}

std::string UsageOf(const std::string& command) {
    OptionParser parser(command);
    if (command == "run") {
        RunOptions unused;
        AddRunOptions(parser, unused);
        return kRunSynopsis + parser.Help();
    }
    if (command == "demo") {
        DemoOptions unused;
        AddDemoOptions(parser, unused);
        return kDemoSynopsis + parser.Help();
    }
    ModuleOptions unused;
    AddModuleOptions(parser, unused);
    return (command == "about" ? kAboutSynopsis : kInfoSynopsis) + parser.Help();
}

}  // namespace cli
