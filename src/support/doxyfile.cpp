#include "support/doxyfile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace sylva {

namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kIncludeKey = "@INCLUDE";
constexpr std::string_view kIncludePathKey = "@INCLUDE_PATH";

constexpr std::string_view kNoSuchFile = "the Doxyfile does not exist or cannot be read";
constexpr std::string_view kNotAFile = "the Doxyfile is not a regular file";
constexpr std::string_view kBinary = "the Doxyfile holds a zero byte; it is no text file";
constexpr std::string_view kTooBig = "the Doxyfile and its includes hold more than 16 MB";
constexpr std::string_view kLineTooLong = "a line of more than 1 MB; the Doxyfile is not read";
constexpr std::string_view kIncludeCycle = "@INCLUDE of a file that is being read already: ";
constexpr std::string_view kIncludeTooDeep = "@INCLUDE nested more than 32 deep: ";
constexpr std::string_view kIncludeMissing = "@INCLUDE names a file that cannot be read: ";
constexpr std::string_view kUnterminatedQuote =
    "unterminated quote; the value runs to the end of the line";
constexpr std::string_view kSetTwice = "is set again; the later value counts";
constexpr std::string_view kUnsetVariable = "is not set in the environment; it stands for nothing";
constexpr std::string_view kNoEquals = "a line that is neither a comment nor KEY = value: ";

// The real path of the file at `path`, which tells files apart for the cycle check.
std::string Identity(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string identity = real != nullptr ? real : path;
    std::free(real);
    return identity;
}

class DoxyfileReader {
  public:
    DoxyfileReader(Doxyfile& result, const EnvironmentLookup& environment)
        : result_(result), environment_(environment) {}

    // Reads the file at `path`, refusing what is no regular file or would exceed the budget.
    void ReadFile(const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            result_.errors.push_back({path, 0, std::string(kNoSuchFile)});
            return;
        }
        if (!S_ISREG(info.st_mode)) {
            result_.errors.push_back({path, 0, std::string(kNotAFile)});
            return;
        }
        if (static_cast<std::size_t>(info.st_size) > kMaxDoxyfileBytes - bytes_) {
            result_.errors.push_back({path, 0, std::string(kTooBig)});
            return;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            result_.errors.push_back({path, 0, std::string(kNoSuchFile)});
            return;
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ReadText(text, path, Identity(path));
    }

    // `identity` tells files apart for the cycle check.
    void ReadText(std::string_view text, const std::string& name, const std::string& identity) {
        bytes_ += text.size();
        if (bytes_ > kMaxDoxyfileBytes) {
            result_.errors.push_back({name, 0, std::string(kTooBig)});
            return;
        }
        if (text.find('\0') != std::string_view::npos) {
            result_.errors.push_back({name, 0, std::string(kBinary)});
            return;
        }
        if (!reading_.insert(identity).second) {
            result_.errors.push_back({name, 0, std::string(kIncludeCycle) + identity});
            return;
        }
        if (reading_.size() > static_cast<std::size_t>(kMaxDoxyfileIncludeDepth)) {
            result_.errors.push_back({name, 0, std::string(kIncludeTooDeep) + identity});
            reading_.erase(identity);
            return;
        }
        int lineNumber = 0;
        std::size_t at = 0;
        while (at < text.size() && result_.errors.empty()) {
            // One logical line: physical lines joined where one ends in "\".
            std::string logical;
            const int firstLine = lineNumber + 1;
            while (at < text.size()) {
                std::size_t end = text.find('\n', at);
                if (end == std::string_view::npos) {
                    end = text.size();
                }
                std::string_view physical = text.substr(at, end - at);
                at = end + 1;
                ++lineNumber;
                while (!physical.empty() && physical.back() == '\r') {
                    physical.remove_suffix(1);
                }
                const bool continues = !physical.empty() && physical.back() == '\\';
                logical.append(continues ? physical.substr(0, physical.size() - 1) : physical);
                if (logical.size() > kMaxDoxyfileLine) {
                    result_.errors.push_back({name, firstLine, std::string(kLineTooLong)});
                    break;
                }
                if (!continues) {
                    break;
                }
                logical.push_back(' ');
            }
            if (result_.errors.empty()) {
                ReadLine(logical, name, firstLine);
            }
        }
        reading_.erase(identity);
    }

  private:
    void ReadLine(std::string_view line, const std::string& name, int number) {
        const std::size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string_view::npos || line[first] == '#') {
            return;
        }
        line = line.substr(first);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            result_.warnings.push_back({name, number, std::string(kNoEquals) + Shortened(line)});
            return;
        }
        const bool appends = equals > 0 && line[equals - 1] == '+';
        std::string_view key = line.substr(0, appends ? equals - 1 : equals);
        key = key.substr(0, key.find_last_not_of(kBlanks) + 1);
        std::vector<std::string> values =
            Split(Substituted(line.substr(equals + 1), name, number), name, number);
        if (key == kIncludeKey) {
            for (const std::string& file : values) {
                Include(file, name, number);
            }
            return;
        }
        if (key == kIncludePathKey) {
            includePath_.insert(includePath_.end(), values.begin(), values.end());
            return;
        }
        const std::string keyText(key);
        auto [slot, added] = result_.values.try_emplace(keyText);
        if (added) {
            result_.keys.push_back(keyText);
        } else if (!appends) {
            result_.warnings.push_back({name, number, keyText + " " + std::string(kSetTwice)});
            slot->second.clear();
        }
        slot->second.insert(slot->second.end(), std::make_move_iterator(values.begin()),
                            std::make_move_iterator(values.end()));
    }

    void Include(const std::string& file, const std::string& name, int number) {
        std::vector<std::string> candidates{file};
        if (!file.starts_with('/')) {
            for (const std::string& directory : includePath_) {
                candidates.push_back(directory + "/" + file);
            }
        }
        for (const std::string& candidate : candidates) {
            struct stat info {};
            if (::stat(candidate.c_str(), &info) == 0) {
                if (reading_.contains(Identity(candidate))) {
                    result_.errors.push_back({name, number, std::string(kIncludeCycle) + file});
                    return;
                }
                ReadFile(candidate);
                return;
            }
        }
        result_.errors.push_back({name, number, std::string(kIncludeMissing) + file});
    }

    // `value` with every $(NAME) replaced by the environment's value.
    std::string Substituted(std::string_view value, const std::string& name, int number) {
        std::string out;
        std::size_t at = 0;
        while (at < value.size()) {
            const std::size_t open = value.find("$(", at);
            const std::size_t close =
                open == std::string_view::npos ? open : value.find(')', open + 2);
            if (close == std::string_view::npos) {
                out.append(value.substr(at));
                break;
            }
            out.append(value.substr(at, open - at));
            const std::string variable(value.substr(open + 2, close - open - 2));
            if (std::optional<std::string> found = environment_(variable)) {
                out.append(*found);
            } else {
                result_.warnings.push_back(
                    {name, number, "$(" + variable + ") " + std::string(kUnsetVariable)});
            }
            at = close + 1;
        }
        return out;
    }

    // The values of a line: blank-separated, "..." holding blanks, \" a quote inside quotes.
    std::vector<std::string> Split(std::string_view text, const std::string& name, int number) {
        std::vector<std::string> values;
        std::size_t i = 0;
        while (i < text.size()) {
            i = text.find_first_not_of(kBlanks, i);
            if (i == std::string_view::npos) {
                break;
            }
            std::string value;
            bool quoted = false;
            while (i < text.size() && (quoted || kBlanks.find(text[i]) == std::string_view::npos)) {
                const char ch = text[i];
                if (ch == '"') {
                    quoted = !quoted;
                } else if (quoted && ch == '\\' && i + 1 < text.size() && text[i + 1] == '"') {
                    value.push_back('"');
                    ++i;
                } else {
                    value.push_back(ch);
                }
                ++i;
            }
            if (quoted) {
                result_.warnings.push_back({name, number, std::string(kUnterminatedQuote)});
            }
            values.push_back(std::move(value));
        }
        return values;
    }

    static std::string Shortened(std::string_view text) {
        constexpr std::size_t kShown = 60;
        return text.size() <= kShown ? std::string(text)
                                     : std::string(text.substr(0, kShown)) + "...";
    }

    Doxyfile& result_;
    const EnvironmentLookup& environment_;
    std::vector<std::string> includePath_;
    std::set<std::string> reading_;  // files being read, outermost first
    std::size_t bytes_ = 0;
};

}  // namespace

const std::vector<std::string>* Doxyfile::Find(std::string_view key) const {
    auto found = values.find(key);
    return found == values.end() ? nullptr : &found->second;
}

std::optional<std::string> ProcessEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

Doxyfile ReadDoxyfile(const std::string& path, const EnvironmentLookup& environment) {
    Doxyfile result;
    DoxyfileReader(result, environment).ReadFile(path);
    return result;
}

Doxyfile ReadDoxyfileText(std::string_view text, const std::string& name,
                          const EnvironmentLookup& environment) {
    Doxyfile result;
    DoxyfileReader(result, environment).ReadText(text, name, name);
    return result;
}

}  // namespace sylva
