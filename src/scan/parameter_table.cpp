// The parameter table: one row per parameter (or structure member) on a line of its own in the
// declaration, with the "//" comment it carries, and the matching edits of those comments in the
// declaration itself.
#include <algorithm>

#include "scan/declaration_name.h"
#include "scan/section_parser.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kCommentOpener = "//";
constexpr std::string_view kCommentCut = "...";

// The part of the declaration that lists the parameters or members.
struct WorkText {
    CZTString text;
    char endChar = ')';
    // Line breaks of the declaration in front of text[0]; with them a line of the work text
    // finds its line in the declaration.
    std::size_t lineIndex = 0;
};

// Removes the leading characters of `chars` from `rest`; returns how many were line breaks.
std::size_t TrimCountingLines(std::string_view& rest, std::string_view chars) {
    std::size_t keep = rest.find_first_not_of(chars);
    std::string_view trimmed = rest.substr(0, keep);
    rest.remove_prefix(trimmed.size());
    return static_cast<std::size_t>(std::count(trimmed.begin(), trimmed.end(), '\n'));
}

// The declaration without every occurrence of its text in front of the first `open`.
WorkText CutBefore(const std::string& declaration, char open, char endChar) {
    std::string_view prefix = std::string_view(declaration).substr(0, declaration.find(open));
    WorkText work{CZTString(declaration), endChar,
                  static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\n'))};
    work.text.FindReplace(prefix, "");
    return work;
}

WorkText MakeWorkText(const std::string& declaration) {
    if (ContainsOutsideComments(declaration, '(')) {
        WorkText work = CutBefore(declaration, '(', ')');
        if (!work.text.empty()) {
            return work;
        }
    }
    return CutBefore(declaration, '{', '}');
}

bool IsReadyForTable(const CZTStringArray& parameters, std::string_view lookThere) {
    if (parameters.IsEmpty()) {
        return true;
    }
    CZTString first(TrimLeftView(parameters.GetAt(0), " "));
    first.MakeUpper();
    return first.empty() || lookThere.find(first) != std::string_view::npos;
}

// Rewrites single lines of a declaration, each at most once and in ascending order, into a new
// text built in one pass; a line's edit never touches another line.
class DeclarationEditor {
  public:
    // REQUIRES: `declaration` is left alone until Finish.
    explicit DeclarationEditor(std::string& declaration) : original_(declaration) {}

    // Replaces `length` bytes at `offset` of `workLine` by `replacement`, and with
    // `dropOpeners` every "//" left in it, in declaration line `lineIndex`. Nothing happens when
    // that line does not end with `workLine` (its text was cut differently).
    void Edit(std::size_t lineIndex, std::string_view workLine, std::size_t offset,
              std::size_t length, std::string_view replacement, bool dropOpeners) {
        if (!SeekLine(lineIndex)) {
            return;
        }
        std::size_t lineEnd = std::min(original_.find('\n', lineStart_), original_.size());
        std::string_view line(original_.data() + lineStart_, lineEnd - lineStart_);
        if (!line.ends_with(workLine) || lineEnd - workLine.size() < copied_) {
            return;
        }
        CZTString edited(workLine);
        edited.replace(offset, length, replacement);
        if (dropOpeners) {
            edited.FindReplace(kCommentOpener, "");
        }
        std::size_t editStart = lineEnd - workLine.size();
        result_.append(original_, copied_, editStart - copied_);
        result_.append(edited);
        copied_ = lineEnd;
        changed_ = true;
    }

    // Stores the edited text in the declaration, when anything was edited.
    void Finish() {
        if (changed_) {
            result_.append(original_, copied_, std::string::npos);
            original_ = std::move(result_);
        }
    }

  private:
    bool SeekLine(std::size_t lineIndex) {
        while (lineIndex_ < lineIndex) {
            std::size_t lineBreak = original_.find('\n', lineStart_);
            if (lineBreak == std::string::npos) {
                return false;
            }
            lineStart_ = lineBreak + 1;
            ++lineIndex_;
        }
        return lineIndex_ == lineIndex;
    }

    std::string& original_;
    std::string result_;
    std::size_t copied_ = 0;  // original_[0, copied_) is in result_
    std::size_t lineIndex_ = 0;
    std::size_t lineStart_ = 0;
    bool changed_ = false;
};

}  // namespace

void BuildParameterTable(const Settings& settings, const RunOptions& options, ItemText& text) {
    CZTStringArray& parameters = text.sections[kSectionParameter];
    bool hasComment = text.declaration.find("//") != std::string::npos ||
                      text.declaration.find("/*") != std::string::npos;
    if (!hasComment || !IsReadyForTable(parameters, settings[SYL_Q_PARAM_LOOK_THERE])) {
        text.hasParamTable = false;
        return;
    }
    text.hasParamTable = true;
    parameters.RemoveAll();

    WorkText work = MakeWorkText(text.declaration);
    std::string_view rest(work.text);
    std::size_t lineIndex = work.lineIndex + TrimCountingLines(rest, "\n({ ");
    DeclarationEditor editor(text.declaration);
    const bool removeComments = options.removeInlineComments != 0;
    const std::size_t maxComment = options.maxInlineComment;

    while (!rest.empty() && rest.front() != work.endChar) {
        std::string_view line = rest.substr(0, rest.find('\n'));
        std::size_t opener = line.find(kCommentOpener);
        std::string_view code = line.substr(0, opener);
        // The comment runs from behind the first "//" to the next one or the line's end.
        std::size_t commentAt = line.size();
        std::string_view comment;
        if (opener != std::string_view::npos) {
            std::size_t from = opener + kCommentOpener.size();
            std::size_t next = line.find(kCommentOpener, from);
            std::string_view raw = line.substr(from, next == line.npos ? line.npos : next - from);
            comment = TrimLeftView(raw, "\n /,;");
            commentAt = from + raw.size() - comment.size();
        }
        code = TrimRightView(TrimLeftView(code, "\n ,/;"), " ,/;");
        if (!code.empty()) {
            std::size_t space = code.rfind(' ');
            std::string_view parameterName = space == code.npos ? code : code.substr(space + 1);
            text.parameterRows.push_back({std::string(parameterName), std::string(comment), {}});
            if (removeComments) {
                editor.Edit(lineIndex, line, commentAt, comment.size(), {}, true);
            } else if (comment.size() > maxComment) {
                std::string shortened(comment.substr(0, maxComment));
                shortened.append(kCommentCut);
                editor.Edit(lineIndex, line, commentAt, comment.size(), shortened, false);
            }
        }
        rest.remove_prefix(line.size());
        lineIndex += TrimCountingLines(rest, "\n ");
    }
    editor.Finish();
}

}  // namespace sylva
