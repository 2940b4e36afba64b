#!/usr/bin/env python3
"""The search index at scale: what it costs a run, how large it is, how fast a query answers.

On a synthetic tree (bench/gen_tree.py) it times `sylva -FORCE` with the search off and on,
interleaved in one session, every run into a fresh directory, with the built-in templates and
SYL_HTML_SEARCH=1 as the only difference; it weighs the index against the description pages
(bytes in all, and the largest file a query loads); then it documents the tree once more with
themes/modern.ini and has headless chromium answer 20 queries of different kinds over those pages
from file:// (bench/search_latency.mjs), from the keystroke to the results shown.

    bench/search_benchmark.py --build build-release [--size 2000x100] [--runs 5]

Build first as for run_benchmarks.py; the latency needs Node.js and tests/browser's playwright-core
(`npm ci` in tests/browser, which scripts/browser-test.sh also does) and Debian's chromium.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, HERE)
from run_benchmarks import RECENT_DELETION_SECONDS, timed  # noqa: E402

PROJECT = "Bench"
SEARCH_ON = "SYL_HTML_SEARCH=1\n"
# Files a query may load: the runtime and every file of the index.
SEARCH_FILE = re.compile(r"^sylva_search.*\.(js|css)$")
PAGE_FILE = re.compile(r"^SYLVA_.*\.html$")
ROW_NAME = re.compile(r'\["((?:[^"\\]|\\.)*)","SYLVA_')


def sizes(project_dir):
    """Bytes of the description pages and of the search files, and the largest search file."""
    pages = search = 0
    largest = ("", 0)
    for name in os.listdir(project_dir):
        size = os.path.getsize(os.path.join(project_dir, name))
        if PAGE_FILE.match(name):
            pages += size
        elif SEARCH_FILE.match(name):
            search += size
            largest = max(largest, (name, size), key=lambda entry: entry[1])
    return pages, search, largest


def item_names(project_dir, count):
    """`count` item names spread over the item table, from its blocks."""
    names = []
    block = 0
    while os.path.exists(os.path.join(project_dir, f"sylva_search_i_{block}.js")):
        with open(os.path.join(project_dir, f"sylva_search_i_{block}.js")) as script:
            names.append(ROW_NAME.search(script.read()).group(1))
        block += 97
    return names[:: max(1, len(names) // count)][:count]


def queries(project_dir):
    """20 queries of different kinds about the synthetic tree, in its own words."""
    names = [name for name in item_names(project_dir, 40) if "::" in name or name.isalnum()]
    exact = names[:4]
    prefixes = [name[: max(4, len(name) - 3)] for name in names[4:8]]
    return (exact + prefixes +
            ["Block", "Cache", "Reset", "Token"] +           # words of names
            ["oldest", "recorded", "without", "dropped"] +   # words of descriptions
            ["handled", "Synthetic"] +                       # words of other sections
            ["oldest entry", "zzqqxxnothing"])               # two words; no result


def generate(sylva, tree, out, config, work):
    os.makedirs(work, exist_ok=True)
    config_path = os.path.join(work, "SYLVA.INI")
    if config is None:
        if os.path.exists(config_path):
            os.remove(config_path)
    else:
        with open(config_path, "w") as file:
            file.write(config)
    return timed([sylva, f"-PROJECT={PROJECT}", "-DESC=Synthetic tree", f"-SCAN={tree}",
                  f"-OUT={out}", "-FORCE"], cwd=work)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-release")
    parser.add_argument("--size", default="2000x100")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", default="/tmp/sylva-search-bench")
    args = parser.parse_args()

    files, items = (int(part) for part in args.size.split("x"))
    tree = os.path.join(args.work, args.size, "tree")
    runs_dir = os.path.join(args.work, args.size, "runs")
    if not os.path.isdir(tree):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_tree.py"), "--files", str(files),
                        "--items", str(items), tree], check=True, stdout=subprocess.DEVNULL)
    if os.path.isdir(runs_dir):  # left over from a run that was stopped
        shutil.rmtree(runs_dir, ignore_errors=True)
        os.sync()
        time.sleep(RECENT_DELETION_SECONDS)
    sylva = os.path.abspath(os.path.join(args.build, "src", "app", "sylva"))

    timings = {"off": [], "on": []}
    for run in range(args.runs):
        for mode, config in (("off", None), ("on", SEARCH_ON)):
            out = os.path.join(runs_dir, f"{mode}-{run}")
            timings[mode].append(generate(sylva, tree, out, config, os.path.join(runs_dir, "cwd")))
    wall = {mode: statistics.median(t[0] for t in timings[mode]) for mode in timings}
    cpu = {mode: statistics.median(t[1] for t in timings[mode]) for mode in timings}
    rss = {mode: max(t[2] for t in timings[mode]) / 1024 for mode in timings}

    default_dir = os.path.join(runs_dir, "on-0", PROJECT)
    pages, search, largest = sizes(default_dir)
    with open(os.path.join(REPO, "themes", "modern.ini")) as theme:
        modern_config = theme.read()
    modern_out = os.path.join(runs_dir, "modern")
    generate(sylva, tree, modern_out, modern_config, os.path.join(runs_dir, "cwd"))
    modern_dir = os.path.join(modern_out, PROJECT)
    modern_pages, _, _ = sizes(modern_dir)

    print(f"{args.size}: {args.runs} runs each, medians; built-in templates")
    for mode in ("off", "on"):
        print(f"  search {mode:>3}: wall {wall[mode]:7.2f} s  cpu {cpu[mode]:7.2f} s  "
              f"peak RSS {rss[mode]:6.1f} MB")
    print(f"  search on / off: wall x{wall['on'] / wall['off']:.3f}, "
          f"cpu x{cpu['on'] / cpu['off']:.3f}")
    print(f"  description pages {pages / 1e6:.1f} MB (modern theme {modern_pages / 1e6:.1f} MB), "
          f"search files {search / 1e6:.1f} MB: {100 * search / pages:.1f} % of the pages "
          f"({100 * search / modern_pages:.1f} % with the modern theme)")
    print(f"  largest file a query loads: {largest[0]}, {largest[1] / 1e3:.0f} kB")
    sys.stdout.flush()

    page = next(name for name in sorted(os.listdir(modern_dir)) if PAGE_FILE.match(name))
    subprocess.run(["node", os.path.join(HERE, "search_latency.mjs"),
                    "file://" + os.path.join(modern_dir, page)] + queries(default_dir), check=True)
    shutil.rmtree(runs_dir)


if __name__ == "__main__":
    main()
