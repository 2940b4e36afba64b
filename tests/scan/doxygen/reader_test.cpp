// The documentation comment reader: snippets in the style of C library and C++ headers, written
// for these tests, against the items, sections, rows and warnings they give.
#include "scan/doxygen/reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "scan/cpp/declaration.h"
#include "scan/doxygen/aliases.h"
#include "scan/rich_text.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

// Rich text with its markup made visible: `code`, *bold*, _emphasis_, [[name|text]], blocks as
// {kind argument: content}, a line that is one paragraph as its text alone.
std::string Visible(std::string_view text) {
    if (text.starts_with(kCopyMark) && text.size() > 1) {
        std::string_view what = text[1] == kCopyBrief     ? "brief"
                                : text[1] == kCopyDetails ? "details"
                                                          : "all";
        return "copy " + std::string(what) + " of " + std::string(text.substr(2));
    }
    if (rich::StartsWithBlock(text)) {
        rich::Block block = rich::ReadBlock(text, 0);
        if (block.kind == rich::BlockKind::kParagraph && block.end == text.size()) {
            text = block.content;
        }
    }
    std::string visible;
    for (char ch : text) {
        switch (ch) {
            case rich::kCodeOpen:
            case rich::kCodeClose:
                visible += '`';
                break;
            case rich::kBoldOpen:
            case rich::kBoldClose:
                visible += '*';
                break;
            case rich::kEmphasisOpen:
            case rich::kEmphasisClose:
                visible += '_';
                break;
            case rich::kReferenceOpen:
                visible += "[[";
                break;
            case rich::kReferenceText:
                visible += '|';
                break;
            case rich::kReferenceClose:
                visible += "]]";
                break;
            case rich::kLiteral:
                visible += '\\';
                break;
            case rich::kBlockOpen:
                visible += '{';
                break;
            case rich::kArgumentEnd:
                visible += ':';
                break;
            case rich::kBlockClose:
                visible += '}';
                break;
            case rich::kImageOpen:
                visible += "![";
                break;
            case rich::kImageClose:
                visible += ']';
                break;
            case rich::kFormulaOpen:
            case rich::kFormulaClose:
                visible += '$';
                break;
            case rich::kAnchorOpen:
                visible += "#{";
                break;
            case rich::kAnchorClose:
                visible += '}';
                break;
            case rich::kLineBreak:
                visible += "<br>";
                break;

            default:
                visible += ch;
        }
    }
    return visible;
}

const char* SectionName(SectionKind section) {
    static const char* const kNames[kSectionCount] = {
        "Parameter", "Content",  "Group",   "Description", "Attention", "Remarks",
        "Return",    "Examples", "Author",  "Copyright",   "Version",   "History",
        "Request",   "Source",   "SeeAlso", "DocType",     "Throws"};
    return kNames[section];
}

const char* KindName(DoxygenKind kind) {
    static const char* const kNames[] = {"function", "class",    "struct",   "union",     "enum",
                                         "typedef",  "variable", "macro",    "namespace", "group",
                                         "file",     "page",     "mainpage", "other"};
    return kNames[static_cast<int>(kind)];
}

// One line per item, then its syntax, group, title, section lines and rows, indented.
std::string Describe(const std::vector<DoxygenItem>& items) {
    std::string text;
    for (const DoxygenItem& item : items) {
        text += std::string(KindName(item.kind)) + " " + item.name + " @" +
                std::to_string(item.line) + "\n";
        if (item.hasSyntax) {
            std::string syntax = item.declaration;
            for (std::size_t at = syntax.find('\n'); at != std::string::npos;
                 at = syntax.find('\n', at)) {
                syntax.replace(at, 1, " / ");
            }
            text += "  syntax: " + syntax + "\n";
        }
        if (!item.group.empty()) {
            text += "  group: " + item.group + "\n";
        }
        if (!item.title.empty()) {
            text += "  title: " + item.title + "\n";
        }
        if (item.addsToGroup) {
            text += "  adds to its group\n";
        }
        if (!item.space.empty()) {
            text += "  in scope: " + item.space + "\n";
        }
        for (const DoxygenLine& line : item.lines) {
            text +=
                "  " + std::string(SectionName(line.section)) + ": " + Visible(line.text) + "\n";
        }
        for (const DoxygenParameter& row : item.parameters) {
            // As the member table shows it: a member's type and tail around its name.
            text += "  row " + row.type + row.name + row.tail;
            if (!row.direction.empty()) {
                text += " [" + row.direction + "]";
            }
            if (row.templateParameter) {
                text += " (template)";
            }
            text += ": " + Visible(row.text) + "\n";
        }
    }
    return text;
}

struct Reading {
    std::vector<DoxygenItem> items;
    Strings warnings;  // "line: text"
};

Reading Read(std::string_view source, const DoxygenOptions& options = {}) {
    Reading reading;
    reading.items = ReadDoxygenComments(
        source,
        [&](int line, std::string_view text) {
            reading.warnings.push_back(std::to_string(line) + ": " + std::string(text));
        },
        options);
    return reading;
}

struct Case {
    const char* name;
    std::string source;
    std::string expected;
};

// Each case also read with CR LF line ends, which must give the same items.
void ExpectDescriptions(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        Reading reading = Read(c.source);
        EXPECT_EQ(Describe(reading.items), c.expected) << c.name << "\n--- source:\n" << c.source;
        EXPECT_TRUE(reading.warnings.empty())
            << c.name << ": " << ::testing::PrintToString(reading.warnings);
        std::string crlf;
        for (char ch : c.source) {
            crlf += ch == '\n' ? "\r\n" : std::string(1, ch);
        }
        EXPECT_EQ(Describe(Read(crlf).items), c.expected) << c.name << " with CR LF";
    }
}

TEST(DoxygenReader, CommentFormsAndSectionsOfCFunctions) {
    ExpectDescriptions({
        {"a decorated block with parameters, return, note, see also and since",
         "#include <stddef.h>\n"
         "\n"
         "/**\n"
         " * Copies bytes out of a pond buffer.\n"
         " *\n"
         " * The buffer keeps its bytes; see pond_drain() to remove them, Pond::operator() to\n"
         " * call them.\n"
         " *\n"
         " * @param[in] pond the buffer to read\n"
         " * @param[out] out where the bytes go,\n"
         " *     at least @p size of them\n"
         " * @param size: how many bytes\n"
         " * @return the number of bytes copied, or -1\n"
         " * @note Safe on an empty pond.\n"
         " * @see pond_drain, pond_fill()\n"
         " * @since 2.1\n"
         " */\n"
         "POND_EXPORT_SYMBOL\n"
         "int pond_copyout(struct pond *pond, void *out,\n"
         "                 size_t size);\n",
         "function pond_copyout @3\n"
         "  syntax: POND_EXPORT_SYMBOL / int pond_copyout(struct pond *pond, void *out, /"
         "                  size_t size);\n"
         "  Description: Copies bytes out of a pond buffer.\n"
         "  Description: The buffer keeps its bytes; see [[pond_drain|pond_drain()]] to remove "
         "them, Pond::operator() to call them.\n"
         "  Return: the number of bytes copied, or -1\n"
         "  Description: {Nnote Note:Safe on an empty pond.}\n"
         "  SeeAlso: pond_drain\n"
         "  SeeAlso: pond_fill()\n"
         "  Version: *Since:* 2.1\n"
         "  row pond [in]: the buffer to read\n"
         "  row out [out]: where the bytes go, at least `size` of them\n"
         "  row size: how many bytes\n"},
        {"a note's text below it, indented, is text: no blank line stands before it",
         "/**\n"
         " * Drains a pond.\n"
         " *\n"
         " * @note\n"
         " *     Keeps `pond` open while *fish* swim;\n"
         " *     see `pond_fill`.\n"
         " * @note\n"
         " *     Slowly, `pond`\n"
         " *     by `pond`.\n"
         " */\n"
         "void pond_drain(struct pond *pond);\n",
         "function pond_drain @1\n"
         "  syntax: void pond_drain(struct pond *pond);\n"
         "  Description: Drains a pond.\n"
         "  Description: {Nnote Note:Keeps `pond` open while _fish_ swim; see `pond_fill`.}\n"
         "  Description: {Nnote Note:Slowly, `pond` by `pond`.}\n"},
        {"a list under an item's second line nests in the item",
         "/**\n"
         " * Modes:\n"
         " * -   Real input, read\n"
         " *     in 2D:\n"
         " *     - forward\n"
         " *     - inverse\n"
         " * -   Complex input.\n"
         " */\n"
         "void pond_mode(void);\n",
         "function pond_mode @1\n"
         "  syntax: void pond_mode(void);\n"
         "  Description: Modes:\n"
         "  Description: {U:{I:Real input, read in 2D:{U:{I:forward}{I:inverse}}}{I:Complex "
         "input.}}\n"},
        {"a one-line block and a bang block with backslash commands",
         "/** Frees a pond. */\n"
         "void pond_free(struct pond *pond);\n"
         "/*! \\brief Counts fish.\n"
         "    \\param pond the pond\n"
         "    \\returns the count */\n"
         "extern DECLSPEC int SDLCALL pond_count(const struct pond *pond);\n",
         "function pond_free @1\n"
         "  syntax: void pond_free(struct pond *pond);\n"
         "  Description: Frees a pond.\n"
         "function pond_count @3\n"
         "  syntax: extern DECLSPEC int SDLCALL pond_count(const struct pond *pond);\n"
         "  Description: Counts fish.\n"
         "  Return: the count\n"
         "  row pond: the pond\n"},
        {"runs of line comments, CR LF line ends",
         "/// Opens a pond.\r\n"
         "/// @param name its name\r\n"
         "struct pond *pond_open(const char *name);\r\n"
         "\r\n"
         "//! Closes it.\r\n"
         "//! More about closing.\r\n"
         "void pond_close(struct pond *p);\r\n",
         "function pond_open @1\n"
         "  syntax: struct pond *pond_open(const char *name);\n"
         "  Description: Opens a pond.\n"
         "  row name: its name\n"
         "function pond_close @5\n"
         "  syntax: void pond_close(struct pond *p);\n"
         "  Description: Closes it. More about closing.\n"},
        {"a list indented under its sentence, and code indented after a blank line",
         "/**\n * Supports:\n *      * points\n *      * lines\n *\n * So:\n *\n *      code();\n"
         " */\n"
         "void pond_draw(void);\n",
         "function pond_draw @1\n"
         "  syntax: void pond_draw(void);\n"
         "  Description: Supports:\n"
         "  Description: {U:{I:points}{I:lines}}\n"
         "  Description: So:\n"
         "  Description: {C: code();\n}\n"},
        {"attention, throws, return values, a titled paragraph, authors and lists",
         "/**\n"
         "   Drains a pond.\n"
         "\n"
         "   The flags:\n"
         "   - POND_FAST drains fast\n"
         "   - POND_SLOW drains slowly\n"
         "\n"
         "   @deprecated Use pond_empty() instead.\n"
         "   @warning Not thread-safe.\n"
         "   @pre The pond is open.\n"
         "   @throws std::bad_alloc when memory runs out\n"
         "   @retval 0 on success\n"
         "   @retval -1 on failure\n"
         "   @par Threads\n"
         "   Call it from one thread.\n"
         "   @author Ada\n"
         "   @copyright Pond Works\n"
         "   @version 3\n"
         " */\n"
         "int pond_drain(struct pond *pond, int flags);\n",
         "function pond_drain @1\n"
         "  syntax: int pond_drain(struct pond *pond, int flags);\n"
         "  Description: Drains a pond.\n"
         "  Description: The flags:\n"
         "  Description: {U:{I:POND_FAST drains fast}{I:POND_SLOW drains slowly}}\n"
         "  Description: {Ndeprecated Deprecated:Use [[pond_empty|pond_empty()]] instead.}\n"
         "  Description: {Nwarning Warning:Not thread-safe.}\n"
         "  Description: {Npre Precondition:The pond is open.}\n"
         "  Throws: `std::bad_alloc` when memory runs out\n"
         "  Return: {Tretval:{R:{d:`0`}{d:on success}}{R:{d:`-1`}{d:on failure}}}\n"
         "  Description: {Npar Threads:Call it from one thread.}\n"
         "  Author: Ada\n"
         "  Copyright: Pond Works\n"
         "  Version: 3\n"},
        {"code and verbatim blocks stand where they are written, formulas as TeX",
         "/**\n"
         " * Adds two depths, \\f$ d_1 + d_2 \\f$.\n"
         " * @code{.c}\n"
         " *   int d = pond_add(1, 2);\n"
         " *   if (d < 3 && d > 0)\n"
         " *       puts(\"ok\");\n"
         " * @endcode\n"
         " * @verbatim\n"
         "     raw <text>\n"
         "   @endverbatim\n"
         " */\n"
         "int pond_add(int a, int b);\n",
         "function pond_add @1\n"
         "  syntax: int pond_add(int a, int b);\n"
         "  Description: Adds two depths, $ d_1 + d_2 $.\n"
         "  Description: {Cc:int d = pond_add(1, 2);\nif (d < 3 && d > 0)\n    puts(\"ok\");\n}\n"
         "  Description: {C:raw <text>\n}\n"},
        {"lists, line breaks, HTML pre blocks, fences and a sentence in See also",
         "/**\n"
         " * Steps:\n"
         " * 1. open\n"
         " * 2. fill\\n then close\n"
         " * <pre>\n"
         " *   keep  <b>this</b>\n"
         " * </pre>\n"
         " * ```\n"
         " * fenced();\n"
         " * ```\n"
         " * @li first item\n"
         " * @section usage Using it\n"
         " * @par\n"
         " * Untitled remark.\n"
         " * @sa the pond_fill() page for more\n"
         " * @copydoc pond_fill\n"
         " * @include fill_example.c\n"
         " */\n"
         "void pond_steps(void);\n",
         "function pond_steps @1\n"
         "  syntax: void pond_steps(void);\n"
         "  Description: Steps:\n"
         "  Description: {O1:{I:open}{I:fill<br>then close}}\n"
         "  Description: {V:<pre>\n  keep  <b>this</b>\n</pre>\n}\n"
         "  Description: {C:fenced();\n}\n"
         "  Description: {U:{I:first item}}\n"
         "  Description: {H1 usage:Using it}\n"
         "  Description: Untitled remark.\n"
         "  SeeAlso: the [[pond_fill|pond_fill()]] page for more\n"
         "  Description: copy all of pond_fill\n"
         "  Examples: Example file: `fill_example.c`\n"},
        {"what is no documentation: banners, four slashes, empty comments, literals, "
         "continued line comments",
         "int sep = 1'000'000; /**< separated */\n"
         "const char *raw = R\"x(/** not a comment */)x\";\n"
         "char quote = '\\''; /**< a quote */\n"
         "//// not documentation\n"
         "/***************/\n"
         "/**/\n"
         "#define LONG_MACRO(a) \\\n"
         "    do { /* inner */ \\\n"
         "    } while (0) /**< a long macro */\n"
         "// a line comment \\\n"
         "   that goes on /** still a comment */\n"
         "/// Last.\n"
         "int last;\n",
         "variable sep @1\n"
         "  syntax: int sep = 1'000'000;\n"
         "  Description: separated\n"
         "variable quote @3\n"
         "  syntax: char quote = '\\'';\n"
         "  Description: a quote\n"
         "macro LONG_MACRO @9\n"
         "  syntax: #define LONG_MACRO(a) \\ /     do {   \\ /     } while (0)\n"
         "  Description: a long macro\n"
         "variable last @12\n"
         "  syntax: int last;\n"
         "  Description: Last.\n"},
        {"inline markup, references, escapes and links",
         "/**\n"
         " * Fills @c pond with @b fresh @e water from @a source, as\n"
         " * @ref pond_fill \"the filler\" does; see also @ref\n"
         " * pond_drain. Uses `std::vector<int>` and \\<b\\> and \\&amp;,\n"
         " * and @link pond_open opens @endlink first; [the guide](@ref guide).\n"
         " */\n"
         "void pond_refill(struct pond *pond, int source);\n",
         "function pond_refill @1\n"
         "  syntax: void pond_refill(struct pond *pond, int source);\n"
         "  Description: Fills `pond` with *fresh* _water_ from _source_, as "
         "[[pond_fill|the filler]] does; see also [[pond_drain|pond_drain]]. Uses "
         "`std::vector\\<int>` and \\<b\\> and \\&amp;, and [[pond_open|opens]] first; "
         "[[guide|the guide]].\n"},
        {"Markdown strong text and web links, %-escaped words, a file command in prose",
         "/** The %Pond class **must** be filled (see https://example.org/ponds_(wet).) or\n"
         "    [the manual](https://example.org/manual) says why; 100%d, **not closed,\n"
         "    \"a href=\"https://example.org/x\"\", and a name of the form of @file, as usual. */\n"
         "void pond_wet(void);\n",
         "function pond_wet @1\n"
         "  syntax: void pond_wet(void);\n"
         "  Description: The \\Pond class *must* be filled (see "
         "[[https://example.org/ponds_(wet)]].) "
         "or [[https://example.org/manual|the manual]] says why; 100%d, **not closed, \"a "
         "href=\"https://example.org/x\"\", and a name of the form of @file, as usual.\n"},
        {"a pipe table right under a line of text, and a delimiter row in a fence kept as code",
         "/** Targets:\n    | target | fast |\n    |--------|------|\n    | cpu    | yes  |\n\n"
         "    ```\n    Seen:\n    | x |\n    |---|\n    ```\n */\n"
         "void pond_targets(void);\n",
         "function pond_targets @1\n"
         "  syntax: void pond_targets(void);\n"
         "  Description: Targets:\n"
         "  Description: {T:{R:{h:target}{h:fast}}{R:{d:cpu}{d:yes}}}\n"
         "  Description: {C:Seen:\n| x |\n|---|\n}\n"},
        {"code indented under a paragraph behind a brief command and two blanks",
         "/**\n *  \\brief  If set.\n *\n *  For example:\n *\n *      (Y)\n *  (X)     (B)\n"
         " *\n *  Done.\n */\n"
         "void pond_buttons(void);\n",
         "function pond_buttons @1\n"
         "  syntax: void pond_buttons(void);\n"
         "  Description: If set.\n"
         "  Description: For example:\n"
         "  Description: {C:(Y)\n}\n"
         "  Description: (X) (B)\n"
         "  Description: Done.\n"},
        {"a code span and a quoted string over a line break; a backquote closed only past a blank "
         "line or a command",
         "/** Names `HEAD\n    @{1}` and \"main\n    @{2}\"; a `lone\n\n    @c word` mark.\n\n"
         "    A `stray\n    @param x is `x` */\n"
         "void rl(int x);\n",
         "function rl @1\n"
         "  syntax: void rl(int x);\n"
         "  Description: Names `HEAD @{1}` and \"main @{2}\"; a `lone\n"
         "  Description: `word`` mark.\n"
         "  Description: A `stray\n"
         "  row x: is `x`\n"},
    });
}

TEST(DoxygenReader, MembersAndRowsOfCTypes) {
    ExpectDescriptions({
        {"an enum with trailing comments in each form and a leading one",
         "/** Pond states. */\n"
         "typedef enum\n"
         "{\n"
         "    POND_DRY = 0,      /**< no water */\n"
         "    POND_WET,          ///< some water\n"
         "                       ///< more on wet\n"
         "    /** Overflowing. */\n"
         "    POND_FULL = (1 << 2),\n"
         "    POND_FROZEN        //!< ice\n"
         "} pond_state;\n",
         "enum pond_state @1\n"
         "  syntax: typedef enum { ... } pond_state;\n"
         "  Description: Pond states.\n"
         "  row POND_DRY = 0: no water\n"
         "  row POND_WET: some water more on wet\n"
         "  row POND_FULL = (1 << 2): Overflowing.\n"
         "  row POND_FROZEN: ice\n"},
        {"a struct's members, an anonymous union's rows and a function pointer member",
         "/** A fish. */\n"
         "struct fish {\n"
         "    int fins;             /**< how many */\n"
         "    /** Its name, @c NUL ended. */\n"
         "    char name[16];\n"
         "    union {\n"
         "        int scales;       /**< when scaled */\n"
         "        float slime;      /**< otherwise */\n"
         "    };\n"
         "    void (*swim)(struct fish *self, int speed); /**< moves it */\n"
         "    unsigned tail : 3, gills : 2;  /**< bits */\n"
         "};\n",
         "struct fish @1\n"
         "  syntax: struct fish { ... };\n"
         "  Description: A fish.\n"
         "  row int fins: how many\n"
         "  row char name[16]: Its name, `NUL` ended.\n"
         "  row int scales: when scaled\n"
         "  row float slime: otherwise\n"
         "  row void (*swim)(struct fish *self, int speed): moves it\n"
         "  row unsigned tail, gills: bits\n"},
        {"undocumented public members and enumerators of documented types are rows too",
         "/** A spot. */\n"
         "typedef struct pond_spot {\n"
         "    int x, y;\n"
         "    int depth;  /**< in cm */\n"
         "    union { int a; float b; };\n"
         "} pond_spot;\n"
         "/** Moods. */\n"
         "enum pond_mood { POND_CALM, POND_ROUGH = 2 };\n"
         "/** A keeper. */\n"
         "class CKeeper {\n"
         "    int secret;\n"
         "  public:\n"
         "    static const int kLimit = 4;\n"
         "    void Feed();\n"
         "    typedef int Count;\n"
         "};\n"
         "struct pond_hidden { int unlisted; };\n",
         "struct pond_spot @1\n"
         "  syntax: typedef struct pond_spot { ... } pond_spot;\n"
         "  Description: A spot.\n"
         "  row int x, y: \n"
         "  row int depth: in cm\n"
         "  row int a: \n"
         "  row float b: \n"
         "enum pond_mood @7\n"
         "  syntax: enum pond_mood { ... };\n"
         "  Description: Moods.\n"
         "  row POND_CALM: \n"
         "  row POND_ROUGH = 2: \n"
         "class CKeeper @9\n"
         "  syntax: class CKeeper { ... };\n"
         "  Description: A keeper.\n"
         "  row static const int kLimit = 4: \n"},
        {"undocumented macros in a group defined in the file are rows of the group's item",
         "/** @defgroup keys Pond keys\n"
         "    The keys.\n"
         "    @{ */\n"
         "#define POND_KEY_A   65\n"
         "#define POND_KEY_B   66 /**< the B key */\n"
         "#define POND_KEY(n)  (n) + \\\n"
         "                     1\n"
         "#define POND_KEY_LONG \"" +
             std::string(70, 'k') +
             "\"\n"
             "/** @} */\n"
             "/** @addtogroup elsewhere\n"
             "    @{ */\n"
             "#define POND_UNLISTED 1\n"
             "/** @} */\n",
         "group keys @1\n"
         "  title: Pond keys\n"
         "  Description: The keys.\n"
         "  row POND_KEY_A: `65`\n"
         "  row POND_KEY: `(n) +`\n"
         "  row POND_KEY_LONG: \n"
         "macro POND_KEY_B @5\n"
         "  syntax: #define POND_KEY_B   66\n"
         "  group: keys\n"
         "  Description: the B key\n"},
        {"a typedef'd body keeps its tag, even behind a macro; without one the typedef names it",
         "/** An image. */\n"
         "typedef struct _pond_image {\n"
         "    int width; /**< in pixels */\n"
         "} POND_PACKED pond_image;\n"
         "/** A size. */\n"
         "typedef struct { int w; } pond_size;\n",
         "struct _pond_image @1\n"
         "  syntax: typedef struct _pond_image { ... } POND_PACKED pond_image;\n"
         "  Description: An image.\n"
         "  row int width: in pixels\n"
         "struct pond_size @5\n"
         "  syntax: typedef struct { ... } pond_size;\n"
         "  Description: A size.\n"
         "  row int w: \n"},
        {"an undocumented struct gets an item for its documented members",
         "typedef struct pond_ptr {\n"
         "    long pos; /**< where */\n"
         "} pond_ptr;\n",
         "struct pond_ptr @1\n"
         "  syntax: typedef struct pond_ptr { ... } pond_ptr;\n"
         "  row long pos: where\n"},
        {"parameters documented behind them, and a declaration documented behind it",
         "int pond_fill(struct pond *pond, /**< the pond */\n"
         "              int litres        /**< how much */);\n"
         "extern int pond_count_all; ///< every pond\n"
         "#define POND_MAX 64 /**< at most */\n",
         "function pond_fill @1\n"
         "  syntax: int pond_fill(struct pond *pond, /               int litres);\n"
         "  row pond: the pond\n"
         "  row litres: how much\n"
         "variable pond_count_all @3\n"
         "  syntax: extern int pond_count_all;\n"
         "  Description: every pond\n"
         "macro POND_MAX @4\n"
         "  syntax: #define POND_MAX 64\n"
         "  Description: at most\n"},
        {"macros: function-like with continuation lines, typedefs of function pointers",
         "/** Larger of two.\n"
         "    @param a one\n"
         "    @param b other */\n"
         "#define POND_MAX2(a, b) \\\n"
         "    ((a) > (b) ? (a) : (b))\n"
         "/** Called per fish. @param fish the fish @param user data */\n"
         "typedef void (POND_CALL *pond_fish_cb)(struct fish *fish, void *user);\n",
         "macro POND_MAX2 @1\n"
         "  syntax: #define POND_MAX2(a, b) \\ /     ((a) > (b) ? (a) : (b))\n"
         "  Description: Larger of two.\n"
         "  row a: one\n"
         "  row b: other\n"
         "typedef pond_fish_cb @6\n"
         "  syntax: typedef void (POND_CALL *pond_fish_cb)(struct fish *fish, void *user);\n"
         "  Description: Called per fish.\n"
         "  row fish: the fish\n"
         "  row user: data\n"},
    });
}

TEST(DoxygenReader, CppScopesGiveQualifiedNames) {
    ExpectDescriptions({
        {"namespaces, a class with its members, access and constructors",
         "namespace garden {\n"
         "namespace {\n"
         "/** Hidden helper. */\n"
         "int Helper();\n"
         "}\n"
         "inline namespace v2 {\n"
         "/// A raised bed.\n"
         "class CBed : public Base<CBed> {\n"
         "  public:\n"
         "    /// Makes an empty bed.\n"
         "    CBed();\n"
         "    /// Frees it.\n"
         "    virtual ~CBed();\n"
         "    /// Equal beds.\n"
         "    bool operator==(const CBed& other) const;\n"
         "    /// Calls it.\n"
         "    int operator()(int x) { return x; }\n"
         "    int rows = 3;  ///< how many rows\n"
         "  protected:\n"
         "    /// Nested.\n"
         "    struct Row { int n; };\n"
         "  private:\n"
         "    /// Secret.\n"
         "    template <typename T> T Plant(T seed) const noexcept;\n"
         "};\n"
         "}  // namespace v2\n"
         "/** Plants outside the class. */\n"
         "void CBed::Water(int litres) {\n"
         "    /** not read: inside a body */\n"
         "}\n"
         "}  // namespace garden\n",
         "namespace garden @1\n"
         "  syntax: namespace garden\n"
         "function garden::Helper @3\n"
         "  syntax: int Helper();\n"
         "  Description: Hidden helper.\n"
         "class garden::CBed @7\n"
         "  syntax: class CBed : public Base<CBed> { ... };\n"
         "  Description: A raised bed.\n"
         "  row int rows = 3: how many rows\n"
         "function garden::CBed::CBed @10\n"
         "  syntax: CBed();\n"
         "  Description: Makes an empty bed.\n"
         "  DocType: Constructor\n"
         "function garden::CBed::~CBed @12\n"
         "  syntax: virtual ~CBed();\n"
         "  Description: Frees it.\n"
         "  DocType: Destructor\n"
         "function garden::CBed::operator== @14\n"
         "  syntax: bool operator==(const CBed& other) const;\n"
         "  Description: Equal beds.\n"
         "function garden::CBed::operator() @16\n"
         "  syntax: int operator()(int x)\n"
         "  Description: Calls it.\n"
         "struct garden::CBed::Row @20\n"
         "  syntax: struct Row { ... };\n"
         "  Description: Nested.\n"
         "  DocType: Protected\n"
         "  row int n: \n"
         "function garden::CBed::Plant @23\n"
         "  syntax: template <typename T> T Plant(T seed) const noexcept;\n"
         "  Description: Secret.\n"
         "  DocType: Private\n"
         "function garden::CBed::Water @27\n"
         "  syntax: void CBed::Water(int litres)\n"
         "  Description: Plants outside the class.\n"},
        {"extern \"C\", attributes, export words, using and enum class",
         "#ifdef __cplusplus\n"
         "extern \"C\" {\n"
         "#endif\n"
         "/** Exported. */\n"
         "[[nodiscard]] GARDEN_API __attribute__((visibility(\"default\"))) int "
         "garden_init(void);\n"
         "#ifdef __cplusplus\n"
         "}\n"
         "#endif\n"
         "namespace garden::tools {\n"
         "/** A spade list. */\n"
         "template <class T, int N = 4>\n"
         "using Spades = std::array<T, N>;\n"
         "/** Colours. */\n"
         "enum class Colour : unsigned char { kRed, kGreen };\n"
         "/** Sets up. @tparam T a type @param value the value */\n"
         "template <typename T> void Setup(const std::map<T, int>& value = {});\n"
         "}\n",
         "function garden_init @4\n"
         "  syntax: [[nodiscard]] GARDEN_API __attribute__((visibility(\"default\"))) int "
         "garden_init(void);\n"
         "  Description: Exported.\n"
         "namespace garden::tools @9\n"
         "  syntax: namespace garden::tools\n"
         "typedef garden::tools::Spades @10\n"
         "  syntax: template <class T, int N = 4> / using Spades = std::array<T, N>;\n"
         "  Description: A spade list.\n"
         "enum garden::tools::Colour @13\n"
         "  syntax: enum class Colour : unsigned char { ... };\n"
         "  Description: Colours.\n"
         "  row kRed: \n"
         "  row kGreen: \n"
         "function garden::tools::Setup @15\n"
         "  syntax: template <typename T> void Setup(const std::map<T, int>& value = {});\n"
         "  Description: Sets up.\n"
         "  row T (template): a type\n"
         "  row value: the value\n"},
        {"constructors defined outside, Qt access labels, an anonymous enum, digit separators",
         "class CPond {\n"
         "  public slots:\n"
         "    /** A slot. */ void refill();\n"
         "  signals:\n"
         "    /** A signal. */ void emptied();\n"
         "  private:\n"
         "    enum { kSmall = 1'000, /**< small */ kLarge /**< large */ };\n"
         "};\n"
         "/** Makes one. */\n"
         "CPond::CPond(int n) : depth_{n}, name_(\"pond\") {}\n",
         "class CPond @1\n"
         "  syntax: class CPond { ... };\n"
         "  row kSmall = 1'000: small\n"
         "  row kLarge: large\n"
         "function CPond::refill @3\n"
         "  syntax: void refill();\n"
         "  Description: A slot.\n"
         "function CPond::emptied @5\n"
         "  syntax: void emptied();\n"
         "  Description: A signal.\n"
         "function CPond::CPond @9\n"
         "  syntax: CPond::CPond(int n)\n"
         "  Description: Makes one.\n"
         "  DocType: Constructor\n"},
        {"a class whose base names it with template arguments is no specialization: its "
         "documented member has a scope page; a specialization's member has none",
         "template <class T> class Solver : public Base<Solver<T> > {\n"
         "  public:\n"
         "    /** Solves. */ int solve();\n"
         "};\n"
         "template <> class Solver<int> : public Base<Solver<int> > {\n"
         "  public:\n"
         "    /** Solves ints. */ int solve();\n"
         "};\n",
         "class Solver @1\n"
         "  syntax: template <class T> class Solver : public Base<Solver<T> > { ... };\n"
         "function Solver::solve @3\n"
         "  syntax: int solve();\n"
         "  Description: Solves.\n"
         "function Solver::solve @7\n"
         "  syntax: int solve();\n"
         "  Description: Solves ints.\n"},
        {"an internal class with a documented member is the scope page without its text; one "
         "without stays internal",
         "/** @internal Stores values. */\n"
         "class Store {\n"
         "  public:\n"
         "    /** Finds one. */ int find();\n"
         "};\n"
         "/** @internal Caches values. */\n"
         "class Cache {};\n",
         "class Store @2\n"
         "  syntax: class Store { ... };\n"
         "function Store::find @4\n"
         "  syntax: int find();\n"
         "  Description: Finds one.\n"
         "class Cache @6\n"
         "  syntax: class Cache { ... };\n"
         "  Description: Caches values.\n"
         "  DocType: Internal\n"},
        {"preprocessor alternatives open one body, not two",
         "/** Grows. */\n"
         "#if defined(POND_WIDE)\n"
         "long pond_grow(long by) {\n"
         "#else\n"
         "int pond_grow(int by) {\n"
         "#endif\n"
         "    return by;\n"
         "}\n"
         "/** After. */\n"
         "int pond_after(void);\n",
         "function pond_grow @1\n"
         "  syntax: long pond_grow(long by)\n"
         "  Description: Grows.\n"
         "function pond_after @9\n"
         "  syntax: int pond_after(void);\n"
         "  Description: After.\n"},
        {"a namespace macro on its own line before a group comment keeps the namespace",
         "namespace pond {\n"
         "#ifndef POND_DOCS\n"
         "POND_LANES_BEGIN\n"
         "#endif\n"
         "/** @addtogroup pond_lanes\n"
         " Lanes, made by Add().\n"
         " @{ */\n"
         "template <typename T, int n> struct Lane {\n"
         "    /** Fills every lane. */\n"
         "    explicit Lane(T value) { for (int i = 0; i < n; i++) v[i] = value; }\n"
         "    T v[n];\n"
         "};\n"
         "/** Adds lane by lane. */\n"
         "template <typename T, int n> Lane<T, n> Add(const Lane<T, n>& a);\n"
         "//! @}\n"
         "#ifndef POND_DOCS\n"
         "POND_LANES_END\n"
         "#endif\n"
         "}\n",
         "group pond_lanes @5\n"
         "  adds to its group\n"
         "  in scope: pond\n"
         "  Description: Lanes, made by [[Add|Add()]].\n"
         "namespace pond @1\n"
         "  syntax: namespace pond\n"
         "struct pond::Lane @8\n"
         "  syntax: template <typename T, int n> struct Lane { ... };\n"
         "  row T v[n]: \n"
         "function pond::Lane::Lane @9\n"
         "  syntax: explicit Lane(T value)\n"
         "  group: pond_lanes\n"
         "  Description: Fills every lane.\n"
         "  DocType: Constructor\n"
         "function pond::Add @13\n"
         "  syntax: template <typename T, int n> Lane<T, n> Add(const Lane<T, n>& a);\n"
         "  group: pond_lanes\n"
         "  Description: Adds lane by lane.\n"},
        {"a member named with # and a parameter list shows no #, unless the # is escaped",
         "/** Its size is #area(), or Shape#area(), not \\#area(). */\n"
         "double shape_size(void);\n",
         "function shape_size @1\n"
         "  syntax: double shape_size(void);\n"
         "  Description: Its size is [[area|area()]], or Shape#[[area|area()]], not "
         "\\#[[area|area()]].\n"},
        {"a last enumerator in capitals before a group mark stays an enumerator",
         "/** Depths. */\n"
         "enum pond_depth {\n"
         "    //! @{\n"
         "    POND_SHALLOW,\n"
         "    POND_DEEP\n"
         "    //! @}\n"
         "};\n",
         "enum pond_depth @1\n"
         "  syntax: enum pond_depth { ... };\n"
         "  Description: Depths.\n"
         "  row POND_SHALLOW: \n"
         "  row POND_DEEP: \n"},
        {"\"@endcond\" in an ordinary comment ends the hidden part; a bare word does not",
         "/** @cond */\n"
         "int hidden_one(void);\n"
         "// the endcond of it comes later\n"
         "/** Hidden too. */\n"
         "int hidden_two(void);\n"
         "// !@endcond\n"
         "/** Shown. */\n"
         "int shown_one(void);\n"
         "//! @cond\n"
         "int hidden_three(void);\n"
         "/* \\endcond */\n"
         "/** Shown too. */\n"
         "int shown_two(void);\n",
         "function shown_one @7\n"
         "  syntax: int shown_one(void);\n"
         "  Description: Shown.\n"
         "function shown_two @12\n"
         "  syntax: int shown_two(void);\n"
         "  Description: Shown too.\n"},
        {"a macro before a template head with no comment between; a comment inside an "
         "initializer's braces closes no scope",
         "namespace pond {\n"
         "POND_LANES_BEGIN\n"
         "template <typename T> struct Cell {\n"
         "    /** Reads it. */\n"
         "    T Get() const;\n"
         "    Q_OBJECT\n"
         "};\n"
         "int depths[] = {\n"
         "    /** The first depth. */\n"
         "    1, 2};\n"
         "/** Empties it. */\n"
         "void Drain();\n"
         "}\n",
         "namespace pond @1\n"
         "  syntax: namespace pond\n"
         "struct pond::Cell @2\n"
         "  syntax: POND_LANES_BEGIN / template <typename T> struct Cell { ... };\n"
         "function pond::Cell::Get @4\n"
         "  syntax: T Get() const;\n"
         "  Description: Reads it.\n"
         "function pond::Drain @11\n"
         "  syntax: void Drain();\n"
         "  Description: Empties it.\n"},
        {"a friend named with its namespace is the class's, under its own name",
         "namespace garden {\n"
         "class CBed {\n"
         "  public:\n"
         "    /** Adds a bed to a number. */\n"
         "    template <typename T>\n"
         "    friend CBed garden::operator+(T n, const CBed& b);\n"
         "    /** Swaps two beds. */\n"
         "    friend void swap(CBed& a, CBed& b);\n"
         "};\n"
         "}\n",
         "namespace garden @1\n"
         "  syntax: namespace garden\n"
         "class garden::CBed @2\n"
         "  syntax: class CBed { ... };\n"
         "function garden::CBed::operator+ @4\n"
         "  syntax: template <typename T> / friend CBed garden::operator+(T n, const CBed& b);\n"
         "  Description: Adds a bed to a number.\n"
         "function garden::CBed::swap @7\n"
         "  syntax: friend void swap(CBed& a, CBed& b);\n"
         "  Description: Swaps two beds.\n"},
    });
}

TEST(DoxygenReader, GroupsFilesPagesAndNamedEntities) {
    ExpectDescriptions({
        {"groups defined one after the other in one comment, each with its own text",
         "/**\n  @defgroup imaging Imaging\n\n  Makes images.\n  @{\n"
         "    @defgroup imaging_filter Filters\n\n  Filters images.\n  @note Slowly.\n"
         "    @defgroup imaging_c C API\n  @}\n */\n",
         "group imaging @1\n"
         "  title: Imaging\n"
         "  Description: Makes images.\n"
         "group imaging_filter @1\n"
         "  title: Filters\n"
         "  Description: Filters images.\n"
         "  Description: {Nnote Note:Slowly.}\n"
         "group imaging_c @1\n"
         "  title: C API\n"},
        {"a group's text as far in as its own @defgroup line is text, farther in code",
         "/**\n@defgroup io IO\n\nReads.\n\n    @defgroup io_files Files\n\n"
         "    Opens files, as **this**:\n\n        close(f);\n*/\n",
         "group io @1\n"
         "  title: IO\n"
         "  Description: Reads.\n"
         "group io_files @1\n"
         "  title: Files\n"
         "  Description: Opens files, as *this*:\n"
         "  Description: {C:close(f);\n}\n"},
        {"a named entity's comment waits for its declaration past others and their scopes",
         "namespace E {\n/** \\class Traits\n  * Traits of a type. */\n\n"
         "template<typename T> struct GenericTraits {\n  enum { A = 1 };\n};\n\n"
         "template<typename T> struct Traits : GenericTraits<T> {};\n}\n",
         "namespace E @1\n"
         "  syntax: namespace E\n"
         "struct E::Traits @2\n"
         "  syntax: template<typename T> struct Traits : GenericTraits<T> { ... };\n"
         "  Description: Traits of a type.\n"},
        {"a defgroup with its members, ingroup, member groups and a file comment",
         "/** @file pond.h\n"
         "    Ponds and their fish. */\n"
         "/** @defgroup water Water handling\n"
         "    Everything wet.\n"
         "    @{ */\n"
         "/** Wets. */\n"
         "void wet(void);\n"
         "/** @name Drying\n"
         "    @{ */\n"
         "/** Dries. */\n"
         "void dry(void);\n"
         "/** @} */\n"
         "/** @} */\n"
         "/** Outside. @ingroup fish */\n"
         "void swim(void);\n"
         "/** Nowhere. */\n"
         "void rest(void);\n",
         "file pond.h @1\n"
         "  Description: Ponds and their fish.\n"
         "group water @3\n"
         "  title: Water handling\n"
         "  Description: Everything wet.\n"
         "function wet @6\n"
         "  syntax: void wet(void);\n"
         "  group: water\n"
         "  Description: Wets.\n"
         "function dry @10\n"
         "  syntax: void dry(void);\n"
         "  group: water\n"
         "  Description: Dries.\n"
         "function swim @14\n"
         "  syntax: void swim(void);\n"
         "  group: fish\n"
         "  Description: Outside.\n"
         "function rest @16\n"
         "  syntax: void rest(void);\n"
         "  Description: Nowhere.\n"},
        {"an addtogroup or weakgroup with a text or title adds to its group; one without only "
         "groups",
         "/** @addtogroup water\n"
         "    @{\n\n"
         "    More water. */\n"
         "/** Pours. */\n"
         "void pour(void);\n"
         "/** @} */\n"
         "/** @weakgroup water Wet things */\n"
         "/** @addtogroup water\n"
         "    @{ */\n"
         "void undocumented(void);\n"
         "/** @} */\n",
         "group water @1\n"
         "  adds to its group\n"
         "  Description: More water.\n"
         "function pour @5\n"
         "  syntax: void pour(void);\n"
         "  group: water\n"
         "  Description: Pours.\n"
         "group water @8\n"
         "  title: Wet things\n"
         "  adds to its group\n"},
        {"a bare @{ right behind a group's comment opens that group, class members too; behind "
         "a declaration it opens a member group",
         "/** @addtogroup soft\n"
         "    Soft floats. */\n"
         "//! @{\n"
         "struct Soft {\n"
         "    /** Its sign. */ bool sign() const;\n"
         "};\n"
         "/** Adds. */ Soft add(Soft a);\n"
         "//! @}\n"
         "/** @defgroup hard Hard floats */\n"
         "int unrelated;\n"
         "//! @{\n"
         "/** Subtracts. */ Soft sub(Soft a);\n"
         "//! @}\n",
         "group soft @1\n"
         "  adds to its group\n"
         "  Description: Soft floats.\n"
         "struct Soft @4\n"
         "  syntax: struct Soft { ... };\n"
         "function Soft::sign @5\n"
         "  syntax: bool sign() const;\n"
         "  group: soft\n"
         "  Description: Its sign.\n"
         "function add @7\n"
         "  syntax: Soft add(Soft a);\n"
         "  group: soft\n"
         "  Description: Adds.\n"
         "group hard @9\n"
         "  title: Hard floats\n"
         "function sub @12\n"
         "  syntax: Soft sub(Soft a);\n"
         "  Description: Subtracts.\n"},
        {"pages, named entities documented apart, internal items",
         "/** @mainpage The Pond Library\n"
         "    Start here. */\n"
         "/** @page faq Questions\n"
         "    Ask. */\n"
         "/** @fn int pond_hidden(int depth)\n"
         "    Defined elsewhere. @param depth how deep */\n"
         "/** @struct pond\n"
         "    The pond itself. */\n"
         "#define POND_UNRELATED 1\n"
         "struct pond { int depth; /**< metres */ };\n"
         "/** @internal Only for us. */\n"
         "void pond_debug(void);\n"
         "/** Public. @internal but not this @endinternal again. */\n"
         "void pond_public(void);\n"
         "/** @example demo/fill.c\n"
         "    Filling a pond. */\n"
         "/** Fills. */\n"
         "void pond_fill(void);\n",
         "mainpage  @1\n"
         "  title: The Pond Library\n"
         "  Description: Start here.\n"
         "page faq @3\n"
         "  title: Questions\n"
         "  Description: Ask.\n"
         "struct pond @7\n"
         "  syntax: struct pond { ... };\n"
         "  Description: The pond itself.\n"
         "  row int depth: metres\n"
         "function pond_debug @11\n"
         "  syntax: void pond_debug(void);\n"
         "  Description: Only for us.\n"
         "  DocType: Internal\n"
         "function pond_public @13\n"
         "  syntax: void pond_public(void);\n"
         "  Description: Public. again.\n"
         "page demo/fill.c @15\n"
         "  Examples: Example file: `demo/fill.c`\n"
         "  Description: Filling a pond.\n"
         "function pond_fill @17\n"
         "  syntax: void pond_fill(void);\n"
         "  Description: Fills.\n"
         "function pond_hidden @5\n"
         "  syntax: int pond_hidden(int depth)\n"
         "  Description: Defined elsewhere.\n"
         "  row depth: how deep\n"},
        {"member groups: their titles head file-level items, their text is no declaration's",
         "/** @name Pond sizes\n"
         "    How big a pond may be.\n"
         "    @{ */\n"
         "#define POND_SMALL 1 /**< a puddle */\n"
         "/**\n"
         " *  \\name Fish\n"
         " */\n"
         "/* @{ */\n"
         "/** Counts the fish. */\n"
         "int pond_fish(void);\n"
         "/* @} */\n"
         "/** @} */\n"
         "/** Outside. */\n"
         "int pond_depth(void);\n"
         "/** A pond. */\n"
         "class CPond {\n"
         "  public:\n"
         "    /** @name Filling\n"
         "        Water goes in. @{ */\n"
         "    /** Fills. */\n"
         "    void Fill();\n"
         "    /** @} */\n"
         "};\n"
         "/** Plants. */\n"
         "typedef enum {\n"
         "    /** @name Reeds\n"
         "        Tall ones. */\n"
         "    /* @{ */\n"
         "    POND_REED = 4,\n"
         "    /* @} */\n"
         "} pond_plant;\n",
         "group Pond sizes @1\n"
         "  title: Pond sizes\n"
         "  Description: How big a pond may be.\n"
         "macro POND_SMALL @4\n"
         "  syntax: #define POND_SMALL 1\n"
         "  group: Pond sizes\n"
         "  Description: a puddle\n"
         "function pond_fish @9\n"
         "  syntax: int pond_fish(void);\n"
         "  group: Fish\n"
         "  Description: Counts the fish.\n"
         "function pond_depth @13\n"
         "  syntax: int pond_depth(void);\n"
         "  Description: Outside.\n"
         "class CPond @15\n"
         "  syntax: class CPond { ... };\n"
         "  Description: A pond.\n"
         "  Description: *Filling*\n"
         "  Description: Water goes in.\n"
         "function CPond::Fill @20\n"
         "  syntax: void Fill();\n"
         "  Description: Fills.\n"
         "enum pond_plant @24\n"
         "  syntax: typedef enum { ... } pond_plant;\n"
         "  Description: Plants.\n"
         "  Description: *Reeds*\n"
         "  Description: Tall ones.\n"
         "  row POND_REED = 4: \n"},
    });
}

// The naming of declarations as the reader sees them (comments already gone): kind, name as
// written, and the parameter names ("" unnamed), or "-" where there is no parameter list.
TEST(DoxygenReader, DeclarationsAreNamedAsTheirReaderExpects) {
    struct NamingCase {
        std::string text;
        char terminator;
        DeclarationKind kind;
        std::string name;
        std::string parameters;
    };
    using enum DeclarationKind;
    const NamingCase cases[] = {
        // C functions behind export words, calling conventions and attributes.
        {"EVENT2_EXPORT_SYMBOL struct evbuffer *evbuffer_new(void)", ';', kFunction, "evbuffer_new",
         ""},
        {"extern DECLSPEC SDL_Window * SDLCALL SDL_CreateWindow(const char *title, int x)", ';',
         kFunction, "SDL_CreateWindow", "title, x"},
        {"GLFWAPI void glfwInit(int, char **)", ';', kFunction, "glfwInit", ", "},
        {"extern \"C\" int pond_c(void)", ';', kFunction, "pond_c", ""},
        {"POND_DEPRECATED(\"use g\") int f(int a)", ';', kFunction, "f", "a"},
        {"int f(int a) POND_PRINTF(1, 2)", ';', kFunction, "f", "a"},
        // A macro that gives the return type, and a name kept from a macro of the same name.
        {"inline const POND_RESULT(Depth, Width)\ncentre(int at) const", '{', kFunction, "centre",
         "at"},
        {"const POND_RESULT(Depth, Width) operator*(const Pond& other) const", ';', kFunction,
         "operator*", "other"},
        {"const Pond<T> (max)(const T& other) const", ';', kFunction, "max", "other"},
        {"static int (pond_min)(int a, int b)", ';', kFunction, "pond_min", "a, b"},
        {"__attribute__((pure)) int g(int *out, size_t n, ...)", ';', kFunction, "g",
         "out, n, ..."},
        {"int h(void (*callback)(void *user), SDL_OUT_CAP(n) char *text, int v[4])", ';', kFunction,
         "h", "callback, text, v"},
        {"int k(const foo_t, struct bar, unsigned long)", ';', kFunction, "k", ", , "},
        // C++ names: qualified, operators, constructors, destructors, templates.
        {"void garden::CBed::Plant(int seeds) const", '{', kFunction, "garden::CBed::Plant",
         "seeds"},
        {"CBed::CBed(int n) : rows_(n), seeds_{n}", '{', kFunction, "CBed::CBed", "n"},
        {"virtual ~CBed() = default", ';', kFunction, "~CBed", ""},
        {"bool operator==(const CBed& other) const", ';', kFunction, "operator==", "other"},
        {"int operator()(int x)", '{', kFunction, "operator()", "x"},
        {"CBed& operator<<(std::ostream& out)", ';', kFunction, "operator<<", "out"},
        {"explicit operator bool() const", ';', kFunction, "operator bool", ""},
        {"void* operator new[](std::size_t size)", ';', kFunction, "operator new[]", "size"},
        {"template <typename T, int N = 3> T Sum(const std::array<T, N>& a, T b = T{})", ';',
         kFunction, "Sum", "a, b"},
        {"auto Make() -> std::unique_ptr<CBed>", ';', kFunction, "Make", ""},
        {"template <> void Swap<int>(int& a, int& b)", ';', kFunction, "Swap", "a, b"},
        // Classes and their kin: a name before the body, base classes, export words.
        {"class GARDEN_API CBed final : public Base<CBed>", '{', kClass, "CBed", "-"},
        {"template <class T> struct hash<garden::CBed<T>>", '{', kStruct, "hash", "-"},
        {"typedef struct tagPOINT", '{', kStruct, "tagPOINT", "-"},
        // Attribute and alignment macros between the key and the name, with or without arguments.
        {"struct __rte_cache_aligned rte_ml_op", '{', kStruct, "rte_ml_op", "-"},
        {"struct __rte_aligned(64) rte_ml_op", '{', kStruct, "rte_ml_op", "-"},
        {"class EIGEN_ALIGN_TO_BOUNDARY(16) __declspec(dllexport) Vec4 : public Base", '{', kClass,
         "Vec4", "-"},
        {"union __attribute__((packed)) pond_bits", '{', kUnion, "pond_bits", "-"},
        {"typedef union", '{', kUnion, "", "-"},
        {"enum class Colour : unsigned char", '{', kEnum, "Colour", "-"},
        {"struct evbuffer", ';', kStruct, "evbuffer", "-"},
        {"namespace garden::tools", '{', kNamespace, "garden::tools", "-"},
        {"extern \"C\"", '{', kLinkage, "", "-"},
        // Variables, typedefs and aliases.
        {"struct evbuffer *buffers[8], *spare", ';', kVariable, "buffers", "-"},
        {"static const int kMax = sizeof(int) < 4 ? 1 : 2", ';', kVariable, "kMax", "-"},
        {"unsigned flags : 3", ';', kVariable, "flags", "-"},
        {"std::function<void(int)> on_event", ';', kVariable, "on_event", "-"},
        {"int (*handler)(int signal)", ';', kVariable, "handler", "signal"},
        // A function pointer member whose pointer a macro writes.
        {"void * GIT_CALLBACK(gmalloc)(size_t n, const char *file)", ';', kVariable, "gmalloc",
         "n, file"},
        {"void __rte_experimental rte_five(void)", ';', kFunction, "rte_five", ""},
        {"typedef void (SDLCALL *SDL_AudioCallback)(void *userdata, Uint8 *stream)", ';', kTypedef,
         "SDL_AudioCallback", "userdata, stream"},
        {"typedef struct SDL_Window SDL_Window", ';', kTypedef, "SDL_Window", "-"},
        {"template <class T> using Vec = std::vector<T>", ';', kAlias, "Vec", "-"},
        {"int table[] = ", '{', kVariable, "table", "-"},
    };
    for (const NamingCase& c : cases) {
        CppDeclaration declaration = ParseDeclaration(c.text, c.terminator);
        std::string parameters = "-";
        if (declaration.hasParameterList) {
            parameters.clear();
            for (std::size_t i = 0; i < declaration.parameters.size(); ++i) {
                parameters += (i == 0 ? "" : ", ") + declaration.parameters[i];
            }
        }
        EXPECT_EQ(declaration.kind, c.kind) << c.text;
        EXPECT_EQ(declaration.name, c.name) << c.text;
        EXPECT_EQ(parameters, c.parameters) << c.text;
    }
    // What tells overloads apart: the parameter types, without names and defaults.
    EXPECT_EQ(ParseDeclaration("int f(const char *name, int n = 3, ...) const", ';').signature,
              "(const char*,int,...) const");
    EXPECT_EQ(
        ParseDeclaration("void g(void (*cb)(int code, Pond *p), unsigned long)", ';').signature,
        "(void(*)(int,Pond*),unsigned long)");
    EXPECT_EQ(ParseDeclaration("void h(void)", '{').signature, "()");
    EXPECT_EQ(ParseMacro("#  define POND_MAX(a, b, ...) x").parameters, (Strings{"a", "b", "..."}));
    EXPECT_EQ(ParseMacro("#define POND_LOG(fmt, args...)").parameters, (Strings{"fmt", "args"}));
    EXPECT_EQ(ParseMacro("#define POND_ON 1").kind, DeclarationKind::kVariable);
    EXPECT_EQ(ParseMacro("#include <pond.h>").kind, DeclarationKind::kUnknown);
    // What a member's row shows around its name: its type, and its bounds, width or value.
    struct ShapeCase {
        const char* text;
        const char* name;
        MemberShape shape;
    };
    const ShapeCase shapes[] = {
        {"const char *name", "name", {"const char *", ""}},
        {"char* name [16]", "name", {"char* ", " [16]"}},
        {"struct fish *fish", "fish", {"struct fish *", ""}},
        {"unsigned\n    flags   :  3;", "flags", {"unsigned ", " : 3"}},
        {"void (*swim)(struct fish *self, int speed)",
         "swim",
         {"void (*", ")(struct fish *self, int speed)"}},
        {"std::map<int, std::string> names = {}",
         "names",
         {"std::map<int, std::string> ", " = {}"}},
        {"[[deprecated]] int old", "old", {"[[deprecated]] int ", ""}},
        {"int x, y", "x", {"int ", ""}},
        {"int data[N][M], spare", "data", {"int ", ""}},
        {"POND_FULL = (1 << 2),", "POND_FULL", {"", " = (1 << 2)"}},
        {"POND_MIX = POND_WET | POND_FULL", "POND_MIX", {"", " = POND_WET | POND_FULL"}},
        {"POND_DRY", "POND_DRY", {"", ""}},
        // Not found before an initializer: nothing rather than a wrong split.
        {"int size = other", "other", {"", ""}},
        {"", "x", {"", ""}},
        {"int x = {", "x", {"int ", " = {"}},
    };
    for (const ShapeCase& c : shapes) {
        const MemberShape shape = ShapeOfMember(c.text, c.name);
        EXPECT_EQ(shape.type + "|" + shape.tail, c.shape.type + "|" + c.shape.tail) << c.text;
    }
    const std::string longValue = "BIG = " + std::string(kMaxMemberTail, '1');
    EXPECT_EQ(ShapeOfMember(longValue, "BIG"), (MemberShape{"", ""}));
    // A variable's own declaration: the shape around its first declarator, its scope left out.
    EXPECT_EQ(ShapeOfVariable("static const int limits[4];"),
              (MemberShape{"static const int ", "[4]"}));
    EXPECT_EQ(ShapeOfVariable("int Garden::count = 3, spare;"), (MemberShape{"int Garden::", ""}));
    EXPECT_EQ(ShapeOfVariable("extern char *names[2];"), (MemberShape{"extern char *", "[2]"}));
}

// The declarations a header is counted by: "+" documented, "-" not, then kind, name, line,
// namespace and group where they are not empty.
std::string Seen(std::string_view content, bool showHidden = false) {
    std::vector<SeenDeclaration> seen;
    DoxygenOptions options;
    options.showHidden = showHidden;
    options.declarations = &seen;
    (void)ReadDoxygenComments(
        content, [](int, const WarningMessage&) {}, options);
    std::string text;
    for (const SeenDeclaration& one : seen) {
        text += std::string(one.documented ? "+ " : "- ") + std::string(KindName(one.kind)) + " " +
                one.name + " @" + std::to_string(one.line);
        text += one.space.empty() ? "" : " ns " + one.space;
        text += one.group.empty() ? "" : " group " + one.group;
        text += "\n";
    }
    return text;
}

TEST(DoxygenReader, PublicDeclarationsAreCountedDocumentedOrNot) {
    const struct {
        const char* what;
        const char* content;
        const char* seen;
    } cases[] = {
        {"C declarations of every kind; a guard, a static function and a forward declaration "
         "are not counted",
         "#ifndef LIB_H\n"
         "#define LIB_H\n"
         "/** Opens. */\n"
         "int lib_open(const char* path);\n"
         "int lib_close(int fd);\n"
         "static int helper(void) { return 0; }\n"
         "struct lib_handle;\n"
         "/// A point.\n"
         "typedef struct { int x; int y; } lib_point;\n"
         "union lib_value { int i; double d; };\n"
         "enum lib_mode { LIB_READ, LIB_WRITE };\n"
         "typedef void (*lib_callback)(int);\n"
         "extern int lib_errno, lib_flags;\n"
         "/** Size. */\n"
         "#define LIB_SIZE 16\n"
         "#define LIB_MAX(a, b) ((a) > (b) ? (a) : (b))\n"
         "#endif\n",
         "+ function lib_open @4\n"
         "- function lib_close @5\n"
         "+ struct lib_point @9\n"
         "- variable x @9\n"
         "- variable y @9\n"
         "- union lib_value @10\n"
         "- variable lib_value::i @10\n"
         "- variable lib_value::d @10\n"
         "- enum lib_mode @11\n"
         "- typedef lib_callback @12\n"
         "- variable lib_errno @13\n"
         "- variable lib_flags @13\n"
         "+ macro LIB_SIZE @15\n"
         "- macro LIB_MAX @16\n"},
        {"a documented member of an undocumented class; private members, friends and "
         "out-of-class definitions are not counted, protected ones are",
         "namespace garden {\n"
         "class CBed {\n"
         "  public:\n"
         "    /// Makes an empty bed.\n"
         "    CBed();\n"
         "    int rows;  ///< how many rows\n"
         "    void Water(int litres);\n"
         "    friend class CGardener;\n"
         "  protected:\n"
         "    int depth_;\n"
         "  private:\n"
         "    /// Secret.\n"
         "    void Dig();\n"
         "    struct Hidden { int n; };\n"
         "};\n"
         "inline void CBed::Water(int litres) {}\n"
         "}\n",
         "- class garden::CBed @2 ns garden\n"
         "+ function garden::CBed::CBed @5 ns garden\n"
         "+ variable garden::CBed::rows @6 ns garden\n"
         "- function garden::CBed::Water @7 ns garden\n"
         "- variable garden::CBed::depth_ @10 ns garden\n"},
        {"nothing in an anonymous namespace or a function body; an inline namespace adds "
         "nothing",
         "namespace {\n"
         "int Hidden();\n"
         "struct Local { int a; };\n"
         "}\n"
         "inline namespace v1 {\n"
         "int Shown() {\n"
         "    struct Inner { int b; };\n"
         "    return 0;\n"
         "}\n"
         "}\n",
         "- function Shown @6\n"},
        {"two branches of an #if are one declaration, documented when either is",
         "#ifdef WIDE\n"
         "/** Reads wide. */\n"
         "int read_text(long n);\n"
         "#else\n"
         "int read_text(long n);\n"
         "#endif\n",
         "+ function read_text @3\n"},
        {"groups: an open group and the @ingroup of a comment",
         "/** @defgroup io Input and output\n @{ */\n"
         "int io_read(void);\n"
         "/** Writes. @ingroup other */\n"
         "int io_write(void);\n"
         "/** @} */\n"
         "int elsewhere(void);\n",
         "- function io_read @3 group io\n"
         "+ function io_write @5 group other\n"
         "- function elsewhere @7\n"},
        {"an @internal declaration is not counted without INTERNAL_DOCS; @cond hides",
         "/** @internal Implementation detail. */\n"
         "int detail(void);\n"
         "/** @cond */\n"
         "int hidden(void);\n"
         "/** @endcond */\n"
         "/** Shown. */\n"
         "int shown(void);\n"
         "int bare(void);\n",
         "+ function shown @7\n"
         "- function bare @8\n"},
        {"macros that open and close a namespace declare nothing; a last enumerator counts",
         "namespace pond {\n"
         "POND_LANES_BEGIN\n"
         "/** Fills. */\n"
         "void Fill();\n"
         "enum Depth { kShallow, DEEP };\n"
         "POND_LANES_END\n"
         "}\n",
         "+ function pond::Fill @4 ns pond\n"
         "- enum pond::Depth @5 ns pond\n"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Seen(test.content), test.seen) << test.what;
    }
    EXPECT_EQ(Seen("/** @internal Detail. */\nint detail(void);\n", true), "+ function detail @2\n")
        << "with INTERNAL_DOCS an internal declaration counts as documented";
    EXPECT_EQ(Seen("/** @class Ghost\n A class of no declaration. */\n"), "")
        << "a comment without a declaration counts nothing";
    EXPECT_EQ(Seen("int area(void) { return 0; }  ///< The area.\n#define KEEP 1  ///< Kept.\n"),
              "+ function area @1\n+ macro KEEP @2\n")
        << "a trailing comment documents what stands before it";
}

TEST(DoxygenReader, WarningsPointAtTheLineTheAuthorCanFix) {
    struct WarningCase {
        const char* name;
        std::string source;
        Strings expected;
    };
    const WarningCase cases[] = {
        {"unknown commands, once per file, kept as text",
         "/** Uses @frobnicate here\n    and @frobnicate again. */\nvoid f(void);\n",
         {"1: unknown command \"@frobnicate\"; it stays as text (said once per file)"}},
        {"an unknown command behind code spans, on the paragraph's second line",
         "/** Reads `x`, then\n    `y` and @frobnicate. */\nvoid f(void);\n",
         {"2: unknown command \"@frobnicate\"; it stays as text (said once per file)"}},
        {"a param that is not a parameter, and parameters left out",
         "/**\n * @param a first\n * @param z nothing\n */\nint g(int a, int b, int c);\n",
         {"3: \"z\" is not a parameter of \"g\"",
          "1: \"g\" documents some of its parameters but not \"b\", \"c\""}},
        {"no parameter check against unnamed parameters or without any param",
         "/** @param x the x */\nint h(int, int);\n/** Nothing. */\nint k(int a);\n",
         {}},
        {"a param without a name",
         "/** Text.\n    @param\n */\nvoid p(int a);\n",
         {"2: \"@param\" without a parameter name; the row is left out"}},
        {"an unterminated code block",
         "/** Example:\n    @code\n    int x;\n */\nvoid q(void);\n",
         {"2: \"@code\" is not closed before the end of the comment; the block runs to its end"}},
        {"stray end commands and an inline command without its word",
         "/** Text @endcode and @c\n\n  more. */\nvoid r(void);\n",
         {"1: \"@endcode\" closes nothing; it is left out",
          "1: \"@c\" needs a word behind it; it is left out"}},
        {"a relation without the class it names",
         "/** Adds.\n * @relates\n */\nint add(int a, int b);\n",
         {"2: \"@relates\" needs a word behind it; it is left out"}},
        {"a group put into itself",
         "/** @defgroup pond Ponds\n * @ingroup pond\n * Water. */\n",
         {"2: group \"pond\" is put into itself by \"@ingroup\"; that is left out"}},
        {"an unterminated documentation comment",
         "void s(void);\n/** Never closed\n * @param x\n",
         {"2: documentation comment is not closed before the end of the file; it is left out"}},
        {"an unterminated ordinary comment",
         "void s(void);\n/* never closed\nvoid t(void);\n",
         {"2: comment is not closed before the end of the file; the rest of the file is read "
          "as its text"}},
        {"a nested opener",
         "/** Text\n    see /* here */\nvoid u(void);\n",
         {"2: \"/*\" inside a documentation comment: the comment ends at the first \"*/\""}},
        {"a comment that documents nothing, at a scope's end and the file's end",
         "struct w {\n  int a;\n  /** Dangling. */\n};\n/** At the end. */\n",
         {"3: documentation comment documents no declaration; its item is named \"__Untitled\"",
          "5: documentation comment documents no declaration; its item is named \"__Untitled\""}},
        {"a trailing comment behind nothing, a comment inside a parameter list",
         "///< lonely\nvoid v(int a, /** wrong */ int b);\n",
         {"1: trailing documentation comment follows no declaration; it is left out",
          "2: documentation comment inside a parameter list documents nothing; write \"/**<\" "
          "behind the parameter instead"}},
        {"group marks out of balance and a stray brace",
         "/** @{ */\n/** @} */\n/** @} */\n}\n/** @defgroup g G\n    @{ */\n",
         {"3: \"@}\" closes no \"@{\"; it is passed over",
          "4: \"}\" closes no open brace; it is passed over",
          "5: \"@{\" is not closed by \"@}\" before the end of the file"}},
        {"words behind a group's end name the group: no comment of their own",
         "/** @defgroup g G\n    @{ */\nvoid f(void);\n//! @} g\n/** @{ */\nint x;\n"
         "/** @}  // the end */\n}\n",
         {"8: \"}\" closes no open brace; it is passed over"}},
        {"a member group's text inside a group or an undocumented class",
         "/** @defgroup g G\n    @{ */\n/** @name Inner\n    Lost. */\n/** @} */\n"
         "struct s {\n  /** @name Member\n      Lost too. */\n  int a;\n};\n",
         {"3: the text of a \"@name\" member group stands in no documented class or enum; it is "
          "left out",
          "7: the text of a \"@name\" member group stands in no documented class or enum; it is "
          "left out"}},
        {"an unclosed link",
         "/** See @link pond the pond\n\n    more. */\nvoid x(void);\n",
         {"1: \"@link\" is not closed by \"@endlink\" before its paragraph ends; the link ends "
          "there"}},
        {"commands and group marks in code spans, quoted strings and code blocks are text",
         "/** Names may not hold the sequences \"..\" and \"@{\" (see `@{-1}`, `HEAD@{1}`).\n"
         "    Lines end in `\\r\\n` or `\\n`; `@param x` is literal, @c `x` code, a span `a\n"
         "    \\r\\n` may run over lines.\n\n"
         "        text = \"\\nFile\\n\";  // indented code: \\nFile is no command\n\n"
         "    ```\n    @{ \\frobnicate\n    ```\n */\nvoid y(void);\n",
         {}},
        {"group marks in a code span and a quoted string that run over a line break are text",
         "/** The reflog names `HEAD\n    @{1}` and \"main\n    @{2}\", ``a `b\n    @{3}`` too,\n"
         "    and a span `c\n    \\r\\n` of escapes.\n */\nvoid rl(void);\n",
         {}},
        {"a group mark behind a span or a string that closes only in a later paragraph is one",
         "/** A `span\n    @{\n\n    ends` late. */\nvoid a(void);\n"
         "/** A \"string\n    @{\n\n    ends\" late. */\nvoid b(void);\n"
         "/** A `span\n    - @{ in a list` */\nvoid c(void);\n/** @} */\n/** @} */\n",
         {"1: \"@{\" is not closed by \"@}\" before the end of the file"}},
        {"a fence, a list and a table left open or overfull, a cond left open",
         "/** A\n    ```\n    never closed\n */\nvoid z1(void);\n"
         "/** | a | b |\n    |---|---|\n    | 1 | 2 | 3 | 4 |\n    - deep\n"
         "      - deeper\n        > quoted\n    @cond hidden */\nvoid z2(void);\n"
         "/** Hidden too. @endcond */\nvoid z3(void);\n/** After. */\nvoid z4(void);\n",
         {}},
    };
    for (const WarningCase& c : cases) {
        EXPECT_EQ(Read(c.source).warnings, c.expected) << c.name << "\n--- source:\n" << c.source;
    }
}

// Inputs a broken or hostile file may hold: every one is read to its end, without a crash, in
// time linear in its size (a quadratic step would take minutes on these sizes), and every item
// stays sound: a line inside the file, valid sections, rich text without stray reserved bytes.
TEST(DoxygenReader, HostileInputIsReadToTheEnd) {
    const std::string big(10 << 20, 'x');
    struct HostileCase {
        const char* name;
        std::string source;
    };
    auto repeat = [](std::string_view piece, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) {
            text += piece;
        }
        return text;
    };
    const HostileCase cases[] = {
        {"a 10 MB comment", "/** " + big + " */ int f(void);"},
        {"a 4 MB comment line by line", "/**\n" + repeat(" * word @c code more\n", 200000) + "*/"},
        {"a command at the end of the file", "/** @param"},
        {"unclosed parameter lists",
         "/** a */ bool operator==(const X&;\n/** b */ typedef void (*cb)(;\n"
         "/** c */ int operator()(\n"},
        {"a command and an open block at the end", "/** @code"},
        {"an unterminated string and character", "int a = \"open;\n/** x */ int b = 'c;"},
        {"deep braces", repeat("{", 200000) + "/** deep */ int f();" + repeat("}", 200000)},
        {"deep namespaces", repeat("namespace n {", 100000) + "/** deep */ int f();"},
        {"many template brackets", "/** t */ int f(" + repeat("a<", 200000) + ");"},
        {"many parentheses", "/** p */ int f" + repeat("(", 200000) + ";"},
        {"many brace initializers", "/** v */ int v[] = " + repeat("{1},", 200000) + ";"},
        {"many trailing comments on one parameter",
         "int f(int a " + repeat("/**< x */", 200000) + ");"},
        {"many group marks and items",
         repeat("/**@{*/", 100000) + repeat("/** i */ int i;", 100000)},
        {"many merged comments", repeat("/** @return r */\n", 100000) + "int f();"},
        {"many directives", repeat("#if A\n{\n#else\n", 100000)},
        {"a trailing comment where an #else cut the parameter list back",
         "int f(\n#if A\n      int b,\n#else\n      {/**< doc */\n#endif\n);\n"},
        {"control bytes in comments", std::string("/** a\x01\x02\x0e\x10\x11 b */ int f(void);")},
        {"a raw string that hides a comment",
         "const char* s = R\"x(/** no */)x\";\n/** yes */ int f();"},
        {"a list 200 levels deep",
         [] {
             std::string text = "/** Levels:\n";
             for (int level = 0; level < 200; ++level) {
                 text += std::string(4 + 2 * static_cast<std::size_t>(level), ' ') + "- level\n";
             }
             return text + " */ int f(void);";
         }()},
        {"a 1 MB table", "/** | a | b |\n    |---|---|\n" + repeat("    | 1 | 2 | 3 |\n", 60000) +
                             " */ int f(void);"},
        {"backquote runs that no line within reach closes",
         [] {
             std::string text = "/**\n";
             for (std::size_t line = 0; line < 40000; ++line) {
                 text += " * " + std::string(1 + line % 90, '`') + " unclosed run\n";
             }
             return text + " */ int f(void);";
         }()},
        {"a percent sign at the end of a comment",
         "/** Ends in %*/ int f(void);\n/** % */ int g();"},
    };
    for (const HostileCase& c : cases) {
        Reading reading = Read(c.source);
        int lines = 1 + static_cast<int>(std::count(c.source.begin(), c.source.end(), '\n'));
        for (const DoxygenItem& item : reading.items) {
            EXPECT_GE(item.line, 1) << c.name;
            EXPECT_LE(item.line, lines) << c.name;
            EXPECT_LE(item.declarationLine, lines) << c.name;
            for (const DoxygenLine& line : item.lines) {
                EXPECT_GE(line.section, 0) << c.name;
                EXPECT_LT(line.section, kSectionCount) << c.name;
            }
        }
    }
    // The control bytes became spaces, and the raw string's contents stayed code.
    Reading control = Read(cases[16].source);
    ASSERT_EQ(control.items.size(), 1u);
    EXPECT_EQ(Visible(control.items[0].lines[0].text), "a b");
    Reading raw = Read(cases[17].source);
    ASSERT_EQ(raw.items.size(), 1u);
    EXPECT_EQ(raw.items[0].name, "f");
}

std::string Repeated(std::string_view text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated.append(text);
    }
    return repeated;
}

// Aliases as projects define them: a paragraph title, a note with an argument, one alias using
// another, a line end that starts a new command, escapes and names that only begin like one.
// A comment before "int f(void);", read with some options: the lines of its one item f, and
// what it warns of.
struct CommentCase {
    const char* name;
    std::string comment;
    std::string expected;
    Strings warnings;
};

void ExpectItemsOfF(std::span<const CommentCase> cases, const DoxygenOptions& options) {
    for (const CommentCase& c : cases) {
        Reading reading = Read(c.comment + "\nint f(void);\n", options);
        ASSERT_EQ(reading.items.size(), 1u) << c.name;
        EXPECT_EQ(Describe(reading.items), "function f @1\n  syntax: int f(void);\n" + c.expected)
            << c.name;
        EXPECT_EQ(reading.warnings, c.warnings) << c.name;
    }
}

TEST(DoxygenReader, AliasesReadAsTheCommandsTheyStandFor) {
    const CommentAliases aliases({
        "sideeffect=@par Side effects:^^",
        "reqid{1}=@note Requirement \\1.",
        "range{2}=from \\1 to \\2",
        "range=any range",
        "bounded{1}=@reqid{bounded}\\1",
        "threadsafe=@warning Not thread safe.",
        "bar=a \\| b",
        "broken",
        "{1}=nameless",
        "selfish=@selfish again",
    });
    EXPECT_EQ(aliases.Rejected(), (Strings{"broken", "{1}=nameless"}));
    DoxygenOptions options;
    options.aliases = &aliases;
    const CommentCase cases[] = {
        {"a paragraph title whose text follows on the next line",
         "/** Runs.\n * @sideeffect Writes the log. */",
         "  Description: Runs.\n  Description: {Npar Side effects::Writes the log.}\n",
         {}},
        {"an argument, in backslash form",
         "/** \\reqid{R7} */",
         "  Description: {Nnote Note:Requirement R7.}\n",
         {}},
        {"two arguments, and the same name without any",
         "/** Takes @range{1,9}; @range. */",
         "  Description: Takes from 1 to 9; any range.\n",
         {}},
        {"an escaped comma stays in its argument",
         "/** @range{1\\,5,9} */",
         "  Description: from 1,5 to 9\n",
         {}},
        {"an alias using another, its argument passed on",
         "/** @bounded{ (max 3)} */",
         "  Description: {Nnote Note:Requirement bounded. (max 3)}\n",
         {}},
        {"a use within a line of text",
         "/** Fast. @threadsafe */",
         "  Description: Fast.\n  Description: {Nwarning Warning:Not thread safe.}\n",
         {}},
        {"escapes, longer names and mail addresses are no uses",
         "/** \\\\threadsafe \\@threadsafe @threadsafely me@threadsafe.org @bar */",
         "  Description: \\\\threadsafe \\@threadsafe @threadsafely me@threadsafe.org a \\| b\n",
         {"1: unknown command \"@threadsafely\"; it stays as text (said once per file)"}},
        {"an alias using itself is reported once and ends",
         "/** @selfish\n * @selfish */",
         "  Description: " + Repeated("again ", 31) + "again\n",
         {"1: alias \"selfish\" uses itself, or its uses grow the comment too far; the deepest "
          "use is left out"}},
    };
    ExpectItemsOfF(cases, options);
}

TEST(DoxygenReader, ExampleCommandsShowTheFilesTextWhereTheyStand) {
    const std::string kProgram =
        "#include <pond.h>\n"
        "\n"
        "int main(void) {\n"
        "    // [fill]\n"
        "    pond_fill(3);\n"
        "    // [fill]\n"
        "\n"
        "    return pond_drain();\n"
        "}\n";
    DoxygenOptions options;
    Strings asked;
    options.examples = [&](std::string_view file, int) -> std::optional<std::string> {
        asked.emplace_back(file);
        return file == "pond.c" ? std::optional<std::string>(kProgram) : std::nullopt;
    };
    const CommentCase cases[] = {
        {"a whole file, in the sentence's place, its extension the language",
         "/** Use it so:\n * @include pond.c\n * That is all. */",
         "  Description: Use it so:\n  Description: {Cc:" + kProgram +
             "}\n  Description: That is all.\n",
         {}},
        {"numbered lines, by command and by option",
         "/** @snippetlineno pond.c fill\n * @snippet{lineno} pond.c fill */",
         "  Description: {Cc:5     pond_fill(3);\n}\n  Description: {Cc:5     pond_fill(3);\n}\n",
         {}},
        {"a snippet keeps its indentation; a label marked once shows nothing",
         "/** @snippet pond.c fill\n * @snippet pond.c drain */",
         "  Description: {Cc:    pond_fill(3);\n}\n",
         {"2: snippet \"drain\" is not marked by two \"[drain]\" lines in example \"pond.c\"; "
          "nothing is shown"}},
        {"the cursor: skip, until, skipline and line move through the file; lines shown one "
         "command after another are one piece of code",
         "/** @dontinclude pond.c\n * @skip main\n * @until {\n * Then:\n"
         " * @skipline pond_fill\n * @line [fill]\n * @line return\n * @line } */",
         "  Description: {Cc:int main(void) {\n}\n  Description: Then:\n"
         "  Description: {Cc:    pond_fill(3);\n    // [fill]\n    return pond_drain();\n}\n}\n",
         {}},
        {"a cursor without a file, a pattern not found, a file not found",
         "/** @skip main\n * @dontinclude pond.c\n * @until nowhere\n * @include gone.c */",
         "  Description: {Cc:" + kProgram + "}\n",
         {"1: \"@skip\" has no example file to move through: \"@dontinclude\" names one first",
          "3: \"@until\" does not find \"nowhere\" in the rest of example \"pond.c\"; the cursor "
          "ends there"}},
    };
    ExpectItemsOfF(cases, options);
    EXPECT_EQ(asked.back(), "gone.c");

    // "@example" makes a page of the program, its text first, the code at the end.
    Reading page = Read("/** @example pond.c\n * Filling a pond. */\n", options);
    ASSERT_EQ(page.items.size(), 1u);
    EXPECT_TRUE(page.items[0].example);
    EXPECT_EQ(Describe(page.items),
              "page pond.c @1\n  Examples: Example file: `pond.c`\n"
              "  Description: Filling a pond.\n  Description: {Cc:" +
                  kProgram + "}\n");
}

}  // namespace
}  // namespace sylva
