#!/usr/bin/env python3
"""Sylva's doxygen style against Doxygen itself, on header trees that Debian packages install.

For each tree it runs, in the same session and one after the other, `sylva -STYLE=doxygen` in
batch mode and Debian's `doxygen` (HTML only: no LaTeX, no graphs or class diagrams, no search
engine, no source listings) over the same files, and prints per tree: the files read, what each
documents, the warnings each gives, wall, user and system time and peak memory (from
`/usr/bin/time -v`); then both programs' warnings by kind. The system time is mostly creating the
output files, whose cost varies widely on a virtual disk; the user time is each program's own.

    bench/doxygen_compare.py [--sylva build-release/src/app/sylva] [--runs 1] [--keep DIR]
                             [--filter EXTENSIONS] [NAME=DIR ...]

Without NAME=DIR it compares event2, SDL2, GLFW and eigen3 under /usr/include (the Debian packages
libevent-dev, libsdl2-dev, libglfw3-dev and libeigen3-dev).

The same files. Sylva reads a file when the upper-cased extension of its name (from the last ".")
stands anywhere in its filter (".CPP|.C|.H|.SYL", or the one --filter hands it as -FILTER), and a name without an extension always passes;
directories pass the same test. So Sylva reads Eigen's extensionless module headers
(Eigen/Core, ...), which hold Eigen's group comments. Doxygen's FILE_PATTERNS are name patterns,
and none matches "no extension" alone: the script gives Doxygen one pattern per extension Sylva
reads in the tree and, when the tree holds extensionless files Sylva reads, the pattern "*" with
EXCLUDE_PATTERNS for the extensions Sylva skips there. It checks that both select the same files
(and stops if not) before anything is timed.

What is counted:
  Sylva items:      description pages written (one per item; the doxygen style writes every
                    item, so this is the number of items).
  Doxygen entities: documentation entries in its HTML output: every `<div class="memitem">`
                    (the detailed entry of one member: a function, macro, typedef, enum or
                    variable, also a documented struct field, and a macro of a group that
                    Doxygen lists there even undocumented), plus every documented compound page
                    (a class, struct, union, namespace, group or file page with a "Detailed
                    Description"; Doxygen also writes a page for every undocumented class and
                    struct, which is not counted, nor are the "-members" lists), plus the pages of
                    "@page" and "@mainpage".
  Warnings by kind: the text of each warning with quoted names and numbers replaced by "X".
"""

import argparse
import collections
import fnmatch
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

DEFAULT_TREES = [
    ("event2", "/usr/include/event2"),
    ("SDL2", "/usr/include/SDL2"),
    ("GLFW", "/usr/include/GLFW"),
    ("eigen3", "/usr/include/eigen3"),
]
DEFAULT_FILTER = ".CPP|.C|.H|.SYL"
# The filter of this comparison's runs: the default, or the one --filter names.
sylva_filter = DEFAULT_FILTER
DOXYFILE = """\
PROJECT_NAME           = "{name}"
OUTPUT_DIRECTORY       = {output}
INPUT                  = {tree}
RECURSIVE              = YES
FILE_PATTERNS          = {patterns}
EXCLUDE_PATTERNS       = {excluded}
EXTRACT_ALL            = NO
GENERATE_HTML          = YES
GENERATE_LATEX         = NO
HAVE_DOT               = NO
CLASS_DIAGRAMS         = NO
SEARCHENGINE           = NO
VERBATIM_HEADERS       = NO
QUIET                  = YES
WARNINGS               = YES
WARN_LOGFILE           = {warnings}
"""
# Compound pages in Doxygen's HTML output, by file name (not their "-members" lists).
COMPOUND_PAGE = re.compile(
    r"^(?!.*-members\.html$)((class|struct|union|group__).*\.html$"
    r"|namespace(?!s\.html$|members).*\.html$|(?!.*_source\.html$).*_8[a-z0-9]*\.html$)")
# A compound page that documents its compound has this anchor before its description.
DETAILS_ANCHOR = 'id="details"'
GENERATED_LISTS = {"deprecated.html", "todo.html", "bug.html", "test.html"}
WARNING_LINE = re.compile(r"^(.*?):(\d+): warning: (.*)$")


def sylva_reads(name):
    """True iff Sylva's filter lets a file or directory of this name through."""
    dot = name.rfind(".")
    extension = "" if dot < 0 else name[dot:].upper()
    return extension in sylva_filter


def files_sylva_reads(tree):
    """The files below `tree` that Sylva reads: its walk, with the filter on files and folders."""
    found, seen = [], set()
    for directory, folders, names in os.walk(tree, followlinks=True):
        key = os.stat(directory)
        if (key.st_dev, key.st_ino) in seen:
            folders[:] = []
            continue
        seen.add((key.st_dev, key.st_ino))
        folders[:] = sorted(f for f in folders if sylva_reads(f))
        found += [os.path.join(directory, n) for n in names
                  if sylva_reads(n) and os.path.isfile(os.path.join(directory, n))]
    return sorted(found)


def doxygen_patterns(tree):
    """FILE_PATTERNS and EXCLUDE_PATTERNS that give Doxygen the files Sylva reads."""
    read, skipped, extensionless = set(), set(), False
    for directory, _, names in os.walk(tree, followlinks=True):
        for name in names:
            dot = name.rfind(".")
            if dot < 0:
                extensionless = True
            elif sylva_reads(name):
                read.add("*" + name[dot:])
            else:
                skipped.add("*" + name[dot:])
    if extensionless:
        return ["*"], sorted(skipped)
    return sorted(read), []


def files_doxygen_reads(tree, patterns, excluded):
    found = []
    for directory, _, names in os.walk(tree, followlinks=True):
        for name in names:
            if any(fnmatch.fnmatchcase(name, p) for p in patterns) and \
                    not any(fnmatch.fnmatchcase(name, p) for p in excluded):
                found.append(os.path.join(directory, name))
    return sorted(found)


def timed(command, cwd):
    """Runs `command` under /usr/bin/time -v; returns (wall s, (user s, system s), peak RSS MB,
    stdout, stderr)."""
    # The disk first writes back what the previous run (or the removal of its output) left:
    # otherwise each program pays for the other's files, Sylva's many small pages the most.
    os.sync()
    with tempfile.NamedTemporaryFile("r", suffix=".time") as report:
        result = subprocess.run(["/usr/bin/time", "-v", "-o", report.name] + command, cwd=cwd,
                                capture_output=True, text=True, errors="replace")
        if result.returncode != 0:
            sys.exit(f"{command[0]} failed with status {result.returncode}:\n{result.stderr}")
        fields = dict(line.strip().rsplit(": ", 1) for line in report if ": " in line)
    clock = [float(part) for part in fields["Elapsed (wall clock) time (h:mm:ss or m:ss)"]
             .split(":")]
    wall = sum(value * 60 ** power for power, value in enumerate(reversed(clock)))
    cpu = (float(fields["User time (seconds)"]), float(fields["System time (seconds)"]))
    rss = int(fields["Maximum resident set size (kbytes)"]) / 1024
    return wall, cpu, rss, result.stdout, result.stderr


# Doxygen names the entity a warning is about in front of words that say which kind of warning it
# is; these patterns take the name out.
NAMED_ENTITY = [
    (re.compile(r"^Member .* \((\w[\w ]*)\) of (\w+) .* is not documented\.$"),
     r"Member X (\1) of \2 X is not documented."),
    (re.compile(r"^Compound .* is not documented\.$"), "Compound X is not documented."),
    (re.compile(r"^Detected potential recursive class relation .*$"),
     "Detected potential recursive class relation between class X and base class X"),
    (re.compile(r"^(no \w+ matching .* found for) .*$"), r"\1 X"),
    (re.compile(r"^(The following parameters? of) .* (is|are) not documented:$"),
     r"\1 X \2 not documented"),
]


def kind_of(message):
    for pattern, replacement in NAMED_ENTITY:
        if pattern.match(message):
            return pattern.sub(replacement, message)
    kind = re.sub(r"'[^']*'|\"[^\"]*\"|`[^`]*'", "X", message)
    kind = re.sub(r"\b\d+\b", "X", kind)
    kind = re.sub(r"\b(of|in|for) (member |file |function |class )?\S+\(.*\)", r"\1 X", kind)
    return kind.strip()[:100]


def warning_kinds(lines):
    kinds = collections.Counter()
    for line in lines:
        match = WARNING_LINE.match(line)
        if match:
            kinds[kind_of(match.group(3))] += 1
    return kinds


def run_sylva(sylva, name, tree, work):
    output = os.path.join(work, "sylva")
    shutil.rmtree(output, ignore_errors=True)
    cwd = os.path.join(work, "sylva-run")  # no SYLVA.INI there: the built-in settings
    os.makedirs(cwd, exist_ok=True)
    wall, cpu, rss, stdout, stderr = timed(
        [sylva, "-STYLE=doxygen", f"-PROJECT={name}", f"-SCAN={tree}", f"-OUT={output}",
         f"-FILTER={sylva_filter}", "-FORCE", "-VERBOSE"], cwd)
    scanned = re.search(r"scanned files (\d+)\.", stdout)
    project = os.path.join(output, name)
    pages = [p for p in os.listdir(project) if p.startswith("SYLVA_")]
    return {"wall": wall, "user": cpu[0], "system": cpu[1], "rss": rss,
            "files": int(scanned.group(1)) if scanned else None,
            "documented": len(pages), "warnings": warning_kinds(stderr.splitlines())}


def run_doxygen(doxygen, name, tree, work, patterns, excluded):
    output = os.path.join(work, "doxygen")
    shutil.rmtree(output, ignore_errors=True)
    os.makedirs(output)
    warnings = os.path.join(output, "warnings.txt")
    doxyfile = os.path.join(output, "Doxyfile")
    with open(doxyfile, "w") as out:
        out.write(DOXYFILE.format(name=name, output=output, tree=tree,
                                  patterns=" ".join(patterns), excluded=" ".join(excluded),
                                  warnings=warnings))
    wall, cpu, rss, _, _ = timed([doxygen, doxyfile], output)
    html = os.path.join(output, "html")
    members = compounds = 0
    for page in os.listdir(html):
        if not page.endswith(".html"):
            continue
        with open(os.path.join(html, page), errors="replace") as text:
            content = text.read()
        members += content.count('<div class="memitem">')
        documented = COMPOUND_PAGE.match(page) and DETAILS_ANCHOR in content
        if documented or is_text_page(page, content):
            compounds += 1
    with open(warnings, errors="replace") as text:
        kinds = warning_kinds(text.read().splitlines())
    return {"wall": wall, "user": cpu[0], "system": cpu[1], "rss": rss, "documented": members + compounds,
            "members": members,
            "compounds": compounds, "warnings": kinds}


def is_text_page(page, content):
    """A page of "@page" or "@mainpage" (index.html when there is a main page), not one of the
    lists Doxygen makes on its own (deprecated.html, todo.html, ...)."""
    return page not in GENERATED_LISTS and '<div class="PageDoc">' in content and \
        '<div class="textblock">' in content


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sylva", default="build-release/src/app/sylva")
    parser.add_argument("--doxygen", default="doxygen")
    parser.add_argument("--runs", type=int, default=1,
                        help="runs of each program per tree; the median wall time is shown")
    parser.add_argument("--keep", help="keep the outputs in this directory")
    parser.add_argument("--filter", default=DEFAULT_FILTER,
                        help="the extensions Sylva reads (its -FILTER), e.g. .H|.HPP")
    parser.add_argument("trees", nargs="*", metavar="NAME=DIR")
    args = parser.parse_args()
    global sylva_filter
    sylva_filter = args.filter.upper()
    trees = [tuple(t.split("=", 1)) for t in args.trees] or DEFAULT_TREES
    sylva = os.path.abspath(args.sylva)
    doxygen = shutil.which(args.doxygen) or sys.exit(f"{args.doxygen} is not installed")
    version = subprocess.run([doxygen, "--version"], capture_output=True, text=True).stdout
    work_root = args.keep or tempfile.mkdtemp(prefix="sylva-doxygen-")

    results = []
    for name, tree in trees:
        patterns, excluded = doxygen_patterns(tree)
        if files_sylva_reads(tree) != files_doxygen_reads(tree, patterns, excluded):
            sys.exit(f"{name}: the patterns {patterns} select other files than Sylva reads")
        work = os.path.join(work_root, name)
        os.makedirs(work, exist_ok=True)
        sylva_runs, doxygen_runs = [], []
        for _ in range(args.runs):
            sylva_runs.append(run_sylva(sylva, name, tree, work))
            doxygen_runs.append(run_doxygen(doxygen, name, tree, work, patterns, excluded))
        for runs in (sylva_runs, doxygen_runs):
            runs[0]["wall"] = statistics.median(r["wall"] for r in runs)
            runs[0]["user"] = statistics.median(r["user"] for r in runs)
            runs[0]["system"] = statistics.median(r["system"] for r in runs)
            runs[0]["rss"] = max(r["rss"] for r in runs)
        results.append((name, " ".join(patterns), sylva_runs[0], doxygen_runs[0]))
    if not args.keep:
        shutil.rmtree(work_root)

    print(f"Sylva {sylva} against Doxygen {version.strip()}, {args.runs} run(s) each, "
          f"median wall, user and system time, largest peak RSS")
    print(f"{'tree':<8} {'files':>6} | {'Sylva items':>11} {'warn':>5} {'wall s':>7} "
          f"{'user s':>6} {'sys s':>6} {'RSS MB':>7} | {'Doxygen entities':>16} "
          f"{'(members+pages)':>16} {'warn':>5} {'wall s':>7} {'user s':>6} {'sys s':>6} "
          f"{'RSS MB':>7}")
    for name, _, s, d in results:
        split = f"({d['members']}+{d['compounds']})"
        print(f"{name:<8} {s['files']:>6} | {s['documented']:>11} "
              f"{sum(s['warnings'].values()):>5} {s['wall']:>7.2f} {s['user']:>6.2f} "
              f"{s['system']:>6.2f} {s['rss']:>7.1f} | {d['documented']:>16} {split:>16} "
              f"{sum(d['warnings'].values()):>5} {d['wall']:>7.2f} {d['user']:>6.2f} "
              f"{d['system']:>6.2f} {d['rss']:>7.1f}")
    for name, patterns, s, d in results:
        print(f"\n{name} (Doxygen FILE_PATTERNS: {patterns})")
        for program, result in (("Sylva", s), ("Doxygen", d)):
            print(f"  {program} warnings by kind:")
            for kind, count in result["warnings"].most_common(8):
                print(f"    {count:>5}  {kind}")
            rest = sum(result["warnings"].values()) - sum(
                count for _, count in result["warnings"].most_common(8))
            if rest:
                print(f"    {rest:>5}  (other kinds)")


if __name__ == "__main__":
    main()
