#!/usr/bin/env python3
"""Re-runs against full runs: what a second run into the same project costs.

On a tree from bench/gen_tree.py, for each comment style (sylva, doxygen) in alternating rounds
in one session, it times: a full run into an empty project with an empty cache; a re-run with
nothing changed; a re-run after one comment in one file changed (and counts the files it wrote);
a re-run after an item that other pages link to was renamed; and, with `sylva -WATCH` running,
the time from an edited file's rename into place to the re-run's line (printed after its last
page is written), the median of --edits edits; and a full run into another empty project that
also writes the JSON model (-JSON) and the SARIF log (-DIAGNOSTICS), before or after the plain
full run in turn. It prints the medians over the rounds, each re-run as a fraction of the full
run, the peak RSS of each kind of run, the cache's size on disk, what the machine outputs add to a
full run and the load average around each round.

    bench/incremental_bench.py --build build-release [--files 2000 --items 100] [--rounds 3]

Build first with: scripts/build.sh build-release -DSYLVA_WITH_WINDOW=OFF
"""

import argparse
import os
import selectors
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
STYLES = ("sylva", "doxygen")
# Where each style's first description sentence begins: the edits insert a word behind it.
DESCRIPTION = {"sylva": "Description: ", "doxygen": "@brief "}


def timed(command):
    """Runs a command; returns (wall seconds, peak RSS in KiB, CPU seconds, user and system).

    On a loaded machine the wall time mostly measures the waiting; the CPU time does not."""
    os.sync()
    # Into a file, not a pipe: a run's warnings would fill a pipe that nobody reads while it runs.
    with tempfile.TemporaryFile() as errors:
        start = time.perf_counter()
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=errors)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) not in (0, 1) or "ERROR:" in read_errors(errors):
            sys.exit(f"{' '.join(command)} failed:\n{read_errors(errors)[-4000:]}")
    return wall, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def read_errors(errors):
    errors.seek(0)
    return errors.read().decode(errors="replace")


def snapshot(root):
    """Each file below `root` with its inode and modification time."""
    files = {}
    for directory, _, names in os.walk(root):
        for name in names:
            info = os.stat(os.path.join(directory, name))
            files[os.path.join(directory, name)] = (info.st_ino, info.st_mtime_ns)
    return files


def written(before, after):
    return sum(1 for path, stamp in after.items() if before.get(path) != stamp)


def disk_size(root):
    return sum(os.path.getsize(os.path.join(d, n)) for d, _, names in os.walk(root)
               for n in names)


def source_files(tree):
    return sorted(os.path.join(d, n) for d, _, names in os.walk(tree) for n in names)


def read(path):
    with open(path, encoding="latin-1") as source:
        return source.read()


def write(path, text):
    with open(path, "w", encoding="latin-1") as source:
        source.write(text)


def commented(text, style, word):
    """`text` with `word` put into the first description sentence."""
    marker = DESCRIPTION[style]
    at = text.index(marker) + len(marker)
    return text[:at] + word + " " + text[at:]


def rename_target(files):
    """A file, its text and a function name it defines that another file quotes."""
    quoted = set()
    for path in files[len(files) // 2:]:
        text = read(path)
        at = 0
        while (at := text.find('Works together with "', at)) >= 0:
            at += len('Works together with "')
            quoted.add(text[at:text.index('"', at)])
    for path in files[: len(files) // 2]:
        text = read(path)
        for name in sorted(quoted):
            if "::" not in name and f"int {name}(" in text:
                return path, text, name
    sys.exit("no quoted function to rename")


class Watch:
    """`sylva -WATCH` running, its standard output read line by line."""

    def __init__(self, command):
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.selector = selectors.DefaultSelector()
        self.selector.register(self.process.stdout, selectors.EVENT_READ)

    def line(self, starting, timeout=600):
        deadline = time.perf_counter() + timeout
        while time.perf_counter() < deadline:
            if self.selector.select(deadline - time.perf_counter()):
                line = self.process.stdout.readline()
                if not line:
                    sys.exit("sylva -WATCH ended early")
                if line.startswith(starting):
                    return time.perf_counter(), line.strip()
        sys.exit(f"no line starting {starting!r}")

    def stop(self):
        self.process.send_signal(2)
        if self.process.wait(60) != 0:
            sys.exit("sylva -WATCH did not end cleanly")


def round_of(style, number, tree, args, sylva):
    out = os.path.join(args.work, "runs", f"{style}-{number}")
    cache = os.path.join(args.work, "cache", f"{style}-{number}")
    project = os.path.join(out, "Bench")
    command = [sylva, "-PROJECT=Bench", f"-SCAN={tree}", f"-OUT={out}", f"-CACHE={cache}",
               f"-STYLE={style}", "-FORCE"]
    files = source_files(tree)
    edited = files[len(files) // 3]
    original = read(edited)
    renamed_path, renamed_text, name = rename_target(files)
    load = [os.getloadavg()[0]]
    figures = {}
    outputs = os.path.join(args.work, "runs", f"{style}-{number}-outputs")
    # The model and the log go beside the project; their folder must be there before the run.
    os.makedirs(os.path.dirname(outputs), exist_ok=True)
    machine = [sylva, "-PROJECT=Bench", f"-SCAN={tree}", f"-OUT={outputs}",
               f"-CACHE={cache}-outputs", f"-STYLE={style}", "-FORCE",
               f"-JSON={outputs}.model.json", f"-DIAGNOSTICS={outputs}.sarif"]
    # In turn before and after the plain full run, so that neither always meets a warmer disk.
    if number % 2 == 0:
        figures["machine outputs"] = timed(machine)
    figures["full"] = timed(command)
    if number % 2 == 1:
        figures["machine outputs"] = timed(machine)
    for label, path in (("model size", f"{outputs}.model.json"), ("sarif size", f"{outputs}.sarif")):
        if not os.path.isfile(path):
            sys.exit(f"{' '.join(machine)} did not write {path}")
        figures[label] = os.path.getsize(path)
    shutil.rmtree(outputs)
    pages = len(snapshot(project))

    def rerun(label):
        before = snapshot(project)
        figures[label] = timed(command)
        figures[label + " written"] = written(before, snapshot(project))

    try:
        rerun("nothing changed")
        write(edited, commented(original, style, "Edited"))
        rerun("one comment")
        write(renamed_path, renamed_text.replace(f"int {name}(", f"int {name}Renamed("))
        rerun("item renamed")
        write(renamed_path, renamed_text)
        write(edited, original)
        timed(command)

        watch = Watch(command[:-1] + ["-WATCH"])
        watch.line("Watching ")
        latencies = []
        for edit in range(args.edits):
            temporary = edited + ".swp"
            write(temporary, commented(original, style, f"Watched{edit}"))
            os.sync()
            start = time.perf_counter()
            os.rename(temporary, edited)
            end, _ = watch.line("Re-run after ")
            latencies.append(end - start)
            time.sleep(0.2)
        watch.stop()
        figures["watch"] = statistics.median(latencies)
    finally:
        write(edited, original)
        write(renamed_path, renamed_text)
    figures["cache"] = disk_size(cache)
    figures["pages"] = pages
    load.append(os.getloadavg()[0])
    figures["load"] = load
    return figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-release")
    parser.add_argument("--files", type=int, default=2000)
    parser.add_argument("--items", type=int, default=100)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--edits", type=int, default=20)
    parser.add_argument("--work", default="/tmp/sylva-incremental")
    args = parser.parse_args()
    sylva = os.path.join(args.build, "src", "app", "sylva")
    trees = {}
    for style in STYLES:
        trees[style] = os.path.join(args.work, f"tree-{args.files}x{args.items}-{style}")
        if not os.path.isdir(trees[style]):
            subprocess.run([sys.executable, os.path.join(HERE, "gen_tree.py"), "--files",
                            str(args.files), "--items", str(args.items), "--style", style,
                            trees[style]], check=True, stdout=subprocess.DEVNULL)
    for leftover in ("runs", "cache"):
        shutil.rmtree(os.path.join(args.work, leftover), ignore_errors=True)
    rounds = {style: [] for style in STYLES}
    for number in range(args.rounds):
        for style in STYLES:
            figures = round_of(style, number, trees[style], args, sylva)
            rounds[style].append(figures)
            print(f"round {number} {style}: load {figures['load'][0]:.2f}-{figures['load'][1]:.2f}, "
                  f"full {figures['full'][0]:.2f} s, nothing {figures['nothing changed'][0]:.3f} s, "
                  f"comment {figures['one comment'][0]:.3f} s, renamed "
                  f"{figures['item renamed'][0]:.3f} s, watch {figures['watch'] * 1000:.0f} ms, "
                  f"with machine outputs {figures['machine outputs'][0]:.2f} s",
                  flush=True)
    print(f"\n{args.files} x {args.items}, median of {args.rounds} rounds:")
    for style in STYLES:
        results = rounds[style]

        def median(label, part=0):
            return statistics.median(r[label][part] for r in results)

        full = median("full")
        print(f"\n{style}: {results[0]['pages']} files in the project, full run {full:.2f} s "
              f"(CPU {median('full', 2):.2f} s), peak RSS {median('full', 1) / 1024:.0f} MB, cache "
              f"{statistics.median(r['cache'] for r in results) / 2**20:.1f} MB")
        for label, target in (("nothing changed", 20), ("one comment", 10),
                              ("item renamed", 5)):
            wall = median(label)
            files = statistics.median(r[label + " written"] for r in results)
            print(f"  {label}: {wall:.3f} s = 1/{full / wall:.0f} of the full run "
                  f"(target 1/{target}; CPU {median(label, 2):.3f} s = 1/"
                  f"{median('full', 2) / median(label, 2):.0f}), {files:.0f} files written, peak RSS "
                  f"{median(label, 1) / 1024:.0f} MB "
                  f"({100 * (median(label, 1) / median('full', 1) - 1):+.0f} %)")
        watch = statistics.median(r["watch"] for r in results)
        print(f"  watch, rename to re-run line: {watch * 1000:.0f} ms (target: one comment "
              f"{median('one comment') * 1000:.0f} ms + 50 ms)")
        added = lambda part: 100 * (median("machine outputs", part) / median("full", part) - 1)
        print(f"  full run with -JSON and -DIAGNOSTICS: {median('machine outputs'):.2f} s "
              f"({added(0):+.0f} %, target +15 %; CPU {median('machine outputs', 2):.2f} s, "
              f"{added(2):+.0f} %), peak RSS {median('machine outputs', 1) / 1024:.0f} MB "
              f"({added(1):+.0f} %), model "
              f"{statistics.median(r['model size'] for r in results) / 2**20:.0f} MB, SARIF "
              f"{statistics.median(r['sarif size'] for r in results) / 2**20:.1f} MB")


if __name__ == "__main__":
    main()
