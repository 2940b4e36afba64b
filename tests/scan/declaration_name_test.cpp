#include "scan/declaration_name.h"

#include <gtest/gtest.h>

#include <string>

namespace sylva {
namespace {

TEST(DeclarationName, DerivesTheNameInEachOfTheThreeForms) {
    struct Case {
        std::string declaration;
        std::string name;
        int hasSyntax;
    };
    const Case cases[] = {
        // Function form: the word in front of the first '('.
        {"void CFoo::Bar(int a)", "CFoo::Bar", 1},
        {"char *GetName(void)", "GetName", 1},
        {"char **Get()", "*Get", 1},
        {"const CFoo &Ref(int i)", "Ref", 1},
        {"CFoo::CFoo()", "CFoo::CFoo", 1},
        {"int Sum  (int a)", "Sum", 1},
        {"// Adds them\nint Sum(int a, int b)", "Sum", 1},
        // Body form: the word in front of the last '{', or behind the last '}'.
        {"typedef struct tagPOINT {\n    int x;\n    int y;\n} POINT;", "tagPOINT", 1},
        {"typedef struct {\n    int x;\n    int y;\n} POINT;", "POINT", 1},
        {"class CFoo : public CBar {\n    int m_a;\n    int m_b;", "CBar", 1},
        {"struct {\n    int x;\n};", "", 1},
        // A member line with a '(' turns the whole declaration into the function form.
        {"class CFoo : public CBar {\n    int m_a;\n    void Draw(int x);", "Draw", 1},
        // Plain form: the whole text, without a leading comment opener.
        {"class CFoo", "class CFoo", 0},
        {"#define MAX 10", "#define MAX 10", 0},
        {"// Drawing", "Drawing", 0},
        {"int a; // see Foo(x)", "int a; // see Foo(x)", 0},
        {"int a; /* call (x) */", "int a; /* call (x) */", 0},
        {"enum Mode // { not a body", "enum Mode // { not a body", 0},
    };
    for (const Case& c : cases) {
        DerivedName derived = DeriveName(c.declaration);
        EXPECT_EQ(derived.name, c.name) << c.declaration;
        EXPECT_EQ(derived.hasSyntax, c.hasSyntax) << c.declaration;
    }
}

TEST(DeclarationName, FindsACharacterOnlyOutsideComments) {
    struct Case {
        std::string text;
        bool found;
    };
    const Case cases[] = {
        {"f(x)", true},
        {"no paren", false},
        {"// f(x)\nint a;", false},
        {"// note\nf(x)", true},
        {"// note\r\nf(x)", true},
        {"/* f(x) */ int a;", false},
        {"/* note */ f(x)", true},
        {"/* open\n f(x)", false},
        // With a comment in the text the last character is never looked at.
        {"// note\nf(", false},
        {"f(", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContainsOutsideComments(c.text, '('), c.found) << c.text;
    }
}

}  // namespace
}  // namespace sylva
