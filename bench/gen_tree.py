#!/usr/bin/env python3
"""Writes a deterministic synthetic C++ source tree documented with Sylva blocks.

The tree is a realistic mix for measuring Sylva at scale: classes with documented members, free
functions with parameter comments, structs, typedefs and macros; about 50 groups; overloads that
share names (numbered pages); quoted names of other items; See also entries; "<pre>" examples;
and undocumented code (function bodies, helpers) making up 40 to 60 percent of the lines.

The same flags always give the same bytes. With --style doxygen the same items are written as
doxygen comments ("/** ... */" with @brief, @return, @see, @code, groups by @defgroup and
@ingroup), for runs with -STYLE=doxygen.

    bench/gen_tree.py --files 200 --items 20 --depth 2 [--style doxygen] OUT_DIR
"""

import argparse
import os
import random

GROUPS = [f"{area} {topic}" for area in ("Core", "Render", "Storage", "Network", "Text")
          for topic in ("Basics", "Buffers", "Caches", "Events", "Filters", "Formats", "Io",
                        "Math", "Queues", "Tools")]
VERBS = ["Add", "Build", "Check", "Clear", "Copy", "Draw", "Find", "Flush", "Get", "Load",
         "Make", "Merge", "Open", "Parse", "Read", "Reset", "Scan", "Set", "Sort", "Write"]
NOUNS = ["Block", "Buffer", "Cache", "Entry", "Event", "Field", "Frame", "Index", "Item", "Key",
         "Layer", "Line", "Node", "Page", "Path", "Queue", "Range", "Record", "Table", "Token"]
TYPES = ["int", "long", "double", "const char*", "std::size_t", "bool", "unsigned", "float"]
WORDS = ("the value is checked against its range before it is stored in the table and every "
         "change is recorded so that a later call can undo it without reading the source again "
         "when the cache is full the oldest entry is dropped first").split()


class TreeWriter:
    def __init__(self, seed, items_per_file):
        self.rng = random.Random(seed)
        self.items_per_file = items_per_file
        self.names = []  # documented names so far, for quotes and See also entries
        self.counter = 0

    def sentence(self, low=6, high=14):
        words = [self.rng.choice(WORDS) for _ in range(self.rng.randint(low, high))]
        return " ".join(words).capitalize() + "."

    def other_name(self):
        return self.rng.choice(self.names) if self.names else None

    def fresh_name(self):
        self.counter += 1
        return f"{self.rng.choice(VERBS)}{self.rng.choice(NOUNS)}{self.counter}"

    def block(self, group, kind_line=None, extra=()):
        lines = ["/**--", f"Group: {group}", "Description: " + self.sentence()]
        quoted = self.other_name()
        if quoted and self.rng.random() < 0.6:
            lines.append(f"  Works together with \"{quoted}\"; " + self.sentence(4, 8))
        lines.append("  " + self.sentence())
        lines.extend(extra)
        if self.rng.random() < 0.3:
            lines += ["Example:", "<pre>", f"  auto result = {self.fresh_name()}(1, 2);",
                      "  if (!result) {", "      return false;", "  }", "</pre>"]
        if kind_line:
            lines.append(f"Doc type: {kind_line}")
        if self.rng.random() < 0.5:
            lines.append("Author: Synthetic Generator")
            lines.append("Version: 1." + str(self.rng.randint(0, 9)))
        see = [n for n in (self.other_name(), self.other_name()) if n]
        if see and self.rng.random() < 0.5:
            lines.append("See also:")
            lines += sorted(set(see))
        lines.append("--e*/")
        return lines

    def params(self, count):
        out = []
        for i in range(count):
            sep = "," if i + 1 < count else ")"
            out.append(f"    {self.rng.choice(TYPES)} arg{i}{sep}  // {self.sentence(3, 7)}")
        return out

    def body(self, lines_count):
        out = ["{"]
        for i in range(lines_count):
            out.append(f"    int local{i} = arg0 * {i} + {self.rng.randint(1, 99)};  // step {i}")
        out += ["    return 0;", "}", ""]
        return out

    def function(self, group, name=None):
        name = name or self.fresh_name()
        extra = ["Return: The number of entries handled, or -1 on failure."]
        access = self.rng.choice(["Public", "Public", "Export", "Private"])
        lines = self.block(group, access, extra)
        lines.append(f"int {name}(")
        lines += self.params(self.rng.randint(1, 4))
        lines += self.body(self.rng.randint(4, 12))
        self.remember(name, access)
        return lines

    def remember(self, name, access):
        # Only items a default run writes (public ones) are quoted or named in See also entries,
        # so that the tree documents itself without dangling links or warnings.
        if access not in ("Private", "Protected"):
            self.names.append(name)

    def overload_pair(self, group):
        name = self.fresh_name()
        return self.function(group, name) + self.function(group, name)

    def structure(self, group):
        name = self.fresh_name()
        lines = self.block(group, "Public")
        lines.append(f"typedef struct tag{name} {{")
        for i in range(self.rng.randint(2, 5)):
            lines.append(f"    {self.rng.choice(TYPES)} member{i};  // {self.sentence(3, 6)}")
        lines += [f"}} {name};", ""]
        self.names.append(f"tag{name}")  # a tagged structure is documented under its tag
        return lines

    def macro(self, group):
        name = "MAX_" + self.fresh_name().upper()
        lines = self.block(group, "Public")
        lines += [f"#define {name} {self.rng.randint(1, 4096)}", ""]
        return lines

    def klass(self, group):
        cls = "C" + self.fresh_name()
        lines = self.block(group, "Public")
        lines += [f"class {cls} : public CBase {{", "public:", f"    {cls}();", "};", ""]
        self.names.append(cls)
        for _ in range(self.rng.randint(1, 3)):
            member = self.fresh_name()
            access = self.rng.choice(["Public", "Protected", "Private", "Public Constructor"])
            lines += self.block(group, access)
            lines.append(f"int {cls}::{member}(")
            lines += self.params(self.rng.randint(1, 3))
            lines += self.body(self.rng.randint(5, 12))
            self.remember(f"{cls}::{member}", access)
        return lines

    def helper(self):
        # Undocumented code between the documented items.
        name = "helper_" + str(self.rng.randint(0, 10**9))
        lines = [f"static int {name}(int arg0)"]
        lines += self.body(self.rng.randint(4, 10))
        return lines

    def file(self, index):
        group = GROUPS[index % len(GROUPS)]
        lines = [f"// Synthetic source file {index}.", "#include <cstddef>", ""]
        makers = [self.function, self.function, self.function, self.structure, self.macro,
                  self.klass, self.overload_pair]
        made = 0
        while made < self.items_per_file:
            maker = self.rng.choice(makers)
            lines += maker(group)
            made += 2 if maker in (self.overload_pair,) else 1
            if self.rng.random() < 0.4:
                lines += self.helper()
        return "\n".join(lines) + "\n"


def group_label(group):
    return group.lower().replace(" ", "_")


def as_doxygen(lines, defined_groups):
    """The marker blocks of `lines` as doxygen comments; the first block of each group defines it."""
    out = []
    block = None
    for line in lines:
        if line == "/**--":
            block = []
            continue
        if block is None:
            out.append(line)
            continue
        if line != "--e*/":
            block.append(line)
            continue
        comment, see, in_example = [], [], False
        for entry in block:
            if entry.startswith("Group: "):
                group = entry[len("Group: "):]
                if group not in defined_groups:
                    defined_groups.add(group)
                    out += [f"/** @defgroup {group_label(group)} {group} */", ""]
                comment.append(f"@ingroup {group_label(group)}")
            elif entry.startswith("Description: "):
                comment.append("@brief " + entry[len("Description: "):])
            elif entry.startswith("Return: "):
                comment.append("@return " + entry[len("Return: "):])
            elif entry.startswith("Author: "):
                comment.append("@author " + entry[len("Author: "):])
            elif entry.startswith("Version: "):
                comment.append("@version " + entry[len("Version: "):])
            elif entry.startswith("Doc type: "):
                continue
            elif entry == "Example:":
                continue
            elif entry == "<pre>":
                comment.append("@code")
                in_example = True
            elif entry == "</pre>":
                comment.append("@endcode")
                in_example = False
            elif entry == "See also:":
                see = []
            elif not in_example and not entry.startswith("  ") and entry:
                see.append(entry)
            else:
                comment.append(entry.strip() if not in_example else entry)
        if see:
            comment.append("@see " + ", ".join(see))
        out.append("/**")
        out += [" * " + entry if entry else " *" for entry in comment]
        out.append(" */")
        block = None
    return out


def directory_for(index, files, depth):
    # Spreads the files over a tree `depth` levels deep with a fan-out that leaves about 20 files
    # in each leaf directory.
    if depth <= 0:
        return ""
    leaves = max(1, files // 20)
    fanout = max(2, round(leaves ** (1.0 / depth)))
    leaf = index // 20
    parts = []
    for _ in range(depth):
        parts.append(f"dir{leaf % fanout:02d}")
        leaf //= fanout
    return os.path.join(*reversed(parts))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--files", type=int, default=200)
    parser.add_argument("--items", type=int, default=20, help="documented items per file")
    parser.add_argument("--depth", type=int, default=2, help="directory nesting")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--style", choices=("sylva", "doxygen"), default="sylva")
    parser.add_argument("out")
    args = parser.parse_args()
    writer = TreeWriter(args.seed, args.items)
    total = documented = 0
    defined_groups = set()
    for index in range(args.files):
        directory = os.path.join(args.out, directory_for(index, args.files, args.depth))
        os.makedirs(directory, exist_ok=True)
        extension = ".h" if index % 3 == 0 else ".cpp"
        text = writer.file(index)
        if args.style == "doxygen":
            text = "\n".join(as_doxygen(text.splitlines(), defined_groups)) + "\n"
        with open(os.path.join(directory, f"file{index:06d}{extension}"), "w") as out:
            out.write(text)
        inside = False
        for line in text.splitlines():
            total += 1
            if line.startswith("/**"):
                inside = True
            documented += inside
            if line.endswith("*/"):
                inside = False
    print(f"{args.files} files, {total} lines, {100 * (total - documented) // max(total, 1)}% "
          f"outside documentation blocks")


if __name__ == "__main__":
    main()
