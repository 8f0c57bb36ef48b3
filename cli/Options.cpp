#include "cli/Options.h"

#include <charconv>
#include <cmath>

#include "cli/FloatText.h"
#include "cli/InputError.h"

namespace cli {

namespace {

// Walks the arguments of one command, giving flags their values.
class ArgReader {
public:
    ArgReader(const char* command, const std::vector<std::string>& args)
        : command_(command), args_(args) {}

    bool Done() const { return next_ >= args_.size(); }
    const std::string& Next() { return args_[next_++]; }

    // The value of flag: the part after '=' when given inline, else the next
    // argument, whatever it looks like (so "--range -1" reports the value).
    std::string ValueOf(const std::string& flag, const std::optional<std::string>& inlineValue) {
        if (inlineValue) return *inlineValue;
        if (Done()) Fail("option '" + flag + "' needs a value");
        return Next();
    }

    [[noreturn]] void Fail(const std::string& message) const {
        throw InputError(message + "; see 'pelvaro " + command_ + " --help'");
    }

private:
    const char* command_;
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

float ParseLevel(ArgReader& reader, const std::string& flag, const std::string& text, float max,
                 const char* rule) {
    float value = 0.0f;
    const FloatParse parse = ParseFloat(text, value);
    if (parse == FloatParse::kInvalid) reader.Fail(flag + " '" + text + "' is not a number");
    if (parse == FloatParse::kOutOfRange || !std::isfinite(value) || value < 0.0f || value > max) {
        reader.Fail(flag + " '" + text + "' is out of range: " + rule);
    }
    return value;
}

// Splits "--flag=value" into flag and value.
std::pair<std::string, std::optional<std::string>> SplitInline(const std::string& arg) {
    if (arg.rfind("--", 0) == 0) {
        const auto equals = arg.find('=');
        if (equals != std::string::npos) return {arg.substr(0, equals), arg.substr(equals + 1)};
    }
    return {arg, std::nullopt};
}

// Takes one filter flag if arg is one; false when it is not.
bool TakeFilterFlag(ArgReader& reader, const std::string& flag,
                    const std::optional<std::string>& inlineValue, FilterOptions& filter) {
    JitterParams& params = filter.params;
    if (flag == "--seed") {
        const std::string text = reader.ValueOf(flag, inlineValue);
        filter.seed = ParseSeed(text);
        if (!filter.seed) {
            reader.Fail("--seed '" + text +
                        "' is not an unsigned 32-bit integer (0 to 4294967295)");
        }
    } else if (flag == "--range") {
        params.moveRange = ParseLevel(reader, flag, reader.ValueOf(flag, inlineValue), INFINITY,
                                      "the move range must be finite and at least 0");
    } else if (flag == "--gray-min") {
        params.grayMin = ParseLevel(reader, flag, reader.ValueOf(flag, inlineValue), 100.0f,
                                    "a gray percentage lies between 0 and 100");
    } else if (flag == "--gray-max") {
        params.grayMax = ParseLevel(reader, flag, reader.ValueOf(flag, inlineValue), 100.0f,
                                    "a gray percentage lies between 0 and 100");
    } else if (flag == "--fill" || flag == "--no-fill") {
        if (inlineValue) reader.Fail("option '" + flag + "' takes no value");
        params.randomFill = flag == "--fill" ? 1 : 0;
    } else if (flag == "--weld") {
        const std::string text = reader.ValueOf(flag, inlineValue);
        filter.jointTolerance =
            ParseLevel(reader, flag, text, 1000.0f, "the weld tolerance lies between 0 and 1000");
        filter.weld = true;
    } else if (flag == "--plugin") {
        filter.plugin = reader.ValueOf(flag, inlineValue);
        if (filter.plugin->empty()) reader.Fail("--plugin needs a file path");
    } else {
        return false;
    }
    return true;
}

// The gray range must be in order, as the parameters dialog keeps it.
void CheckGrayOrder(ArgReader& reader, const JitterParams& params) {
    if (params.grayMin > params.grayMax) {
        reader.Fail("--gray-min " + FloatText(params.grayMin) + " is above --gray-max " +
                    FloatText(params.grayMax) + " (the defaults are 5 and 95)");
    }
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

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
    ArgReader reader("run", args);
    bool haveOutput = false;
    while (!reader.Done()) {
        const std::string& arg = reader.Next();
        if (IsHelp(arg)) {
            options.help = true;
            return options;
        }
        const auto [flag, inlineValue] = SplitInline(arg);
        if (flag == "-o" || flag == "--output") {
            options.output = reader.ValueOf(flag, inlineValue);
            if (options.output.empty()) reader.Fail("option '" + flag + "' needs a file path");
            haveOutput = true;
        } else if (flag == "--trace") {
            options.trace = reader.ValueOf(flag, inlineValue);
            if (options.trace->empty()) reader.Fail("option '--trace' needs a file path");
        } else if (flag == "--format") {
            const std::string format = reader.ValueOf(flag, inlineValue);
            if (format != "svg" && format != "json") {
                reader.Fail("--format '" + format + "' is neither svg nor json");
            }
            options.format = format;
        } else if (flag == "--id") {
            options.ids.push_back(reader.ValueOf(flag, inlineValue));
            if (options.ids.back().empty()) reader.Fail("--id needs an element id");
        } else if (TakeFilterFlag(reader, flag, inlineValue, options.filter)) {
        } else if (arg.size() > 1 && arg.front() == '-') {
            reader.Fail("unknown option '" + flag + "'");
        } else if (options.input.empty()) {  // "-" is standard input
            options.input = arg;
        } else {
            reader.Fail("one input document only, but '" + arg + "' is a second");
        }
    }
    if (options.input.empty()) reader.Fail("no input document given");
    if (!haveOutput) reader.Fail("no output given (-o OUT)");
    // The gray range may come in either order: the filter's dialog orders it.
    return options;
}

DemoOptions ParseDemoOptions(const std::vector<std::string>& args) {
    DemoOptions options;
    ArgReader reader("demo", args);
    while (!reader.Done()) {
        const std::string& arg = reader.Next();
        if (IsHelp(arg)) {
            options.help = true;
            return options;
        }
        const auto [flag, inlineValue] = SplitInline(arg);
        if (flag == "-o" || flag == "--output") {
            options.directory = reader.ValueOf(flag, inlineValue);
            if (options.directory.empty()) reader.Fail("option '" + flag + "' needs a directory");
        } else if (TakeFilterFlag(reader, flag, inlineValue, options.filter)) {
        } else if (arg.size() > 1 && arg.front() == '-') {
            reader.Fail("unknown option '" + flag + "'");
        } else {
            reader.Fail("unexpected argument '" + arg + "'");
        }
    }
    CheckGrayOrder(reader, options.filter.params);
    return options;
}

}  // namespace cli
