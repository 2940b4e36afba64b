#!/usr/bin/env python3
"""End-to-end benchmark of `sylva -FORCE` against the machine's I/O floor.

For each size (files x documented items per file) it generates a synthetic tree once
(bench/gen_tree.py), runs Sylva several times, and runs the I/O floor (bench/io_floor.cpp: read
every input file, create exactly the files and bytes Sylva wrote) as often, interleaved, in the
same session. It prints per size: files, bytes, items, median wall time, CPU time, peak RSS,
items per second, MB per second and the ratio to the floor; then how time grows between sizes.

    bench/run_benchmarks.py --build build-release [--sizes 200x20,1000x50,2000x100] [--runs 5]
                            [--against OTHER-BUILD]

With --against, the sylva of another build (an earlier commit, say) runs too, interleaved with
this one's run by run, over the same tree; both are printed, each against the same floor.

Build first with: scripts/build.sh build-release -DSYLVA_WITH_WINDOW=OFF -DSYLVA_BUILD_BENCHMARKS=ON

Every timed run writes into a directory of its own, and the outputs are removed only when all
sizes are measured: on a file system without a journal, ext4 steps over the inodes deleted in the
last 30 seconds when it creates a file, so a run right after removing the last run's tens of
thousands of pages pays seconds for it, and by chance more or less. Leftovers of an earlier call
are removed first, followed by a pause until those deletions no longer count.
"""

import argparse
import math
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# How long ext4 keeps stepping over a deleted inode, with a margin.
RECENT_DELETION_SECONDS = 40


def timed(command, cwd=None):
    """Runs a command; returns (wall seconds, cpu seconds, peak RSS in KiB).

    Dirty pages of the run before are flushed first, so that no run pays for another's writes.
    """
    os.sync()
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    stderr = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit(f"{command[0]} failed with status {code}:\n{stderr}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def tree_stats(root):
    files = size = 0
    for directory, _, names in os.walk(root):
        for name in names:
            files += 1
            size += os.path.getsize(os.path.join(directory, name))
    return files, size


def write_manifest(out_dir, manifest):
    with open(manifest, "w") as listing:
        for directory, _, names in os.walk(out_dir):
            for name in sorted(names):
                path = os.path.join(directory, name)
                listing.write(f"{os.path.getsize(path)} {os.path.relpath(path, out_dir)}\n")


def measure(size, args):
    files, items = (int(part) for part in size.split("x"))
    work = os.path.join(args.work, size)
    tree = os.path.join(work, "tree")
    if not os.path.isdir(tree):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_tree.py"), "--files", str(files),
                        "--items", str(items), tree], check=True, stdout=subprocess.DEVNULL)
    sylva = os.path.join(args.build, "src", "app", "sylva")
    floor = os.path.join(args.build, "bench", "io_floor")
    runs_dir = os.path.join(work, "runs")
    manifest = os.path.join(work, "manifest.txt")

    def sylva_command(program, out):
        return [program, "-PROJECT=Bench", "-DESC=Synthetic tree", f"-SCAN={tree}", f"-OUT={out}",
                "-FORCE"]

    programs = {args.build: sylva}
    if args.against:
        programs[args.against] = os.path.join(args.against, "src", "app", "sylva")
    warm_up = os.path.join(runs_dir, "warm-up")
    timed(sylva_command(sylva, warm_up))  # its output tells the floor what to write
    write_manifest(warm_up, manifest)
    pages = len(os.listdir(os.path.join(warm_up, "Bench"))) - 3

    runs = {build: [] for build in programs}
    floors = []
    for run in range(args.runs):
        for number, (build, program) in enumerate(programs.items()):
            out = os.path.join(runs_dir, f"sylva-{number}-{run}")
            runs[build].append(timed(sylva_command(program, out)))
        floors.append(timed([floor, tree, manifest, os.path.join(runs_dir, f"floor-{run}")]))
    input_files, input_bytes = tree_stats(tree)
    return [{
        "size": size, "build": build, "files": input_files, "bytes": input_bytes, "items": pages,
        "wall": statistics.median(r[0] for r in timings),
        "cpu": statistics.median(r[1] for r in timings),
        "rss": max(r[2] for r in timings) / 1024, "floor": statistics.median(f[0] for f in floors),
    } for build, timings in runs.items()]


def remove_run_outputs(args):
    """Removes the run outputs of every size; returns True when there were any."""
    removed = False
    if os.path.isdir(args.work):
        for size in os.listdir(args.work):
            runs_dir = os.path.join(args.work, size, "runs")
            if os.path.isdir(runs_dir):
                shutil.rmtree(runs_dir)
                removed = True
    return removed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-release")
    parser.add_argument("--sizes", default="200x20,1000x50,2000x100")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", default="/tmp/sylva-bench")
    parser.add_argument("--against", help="another build whose sylva runs interleaved")
    args = parser.parse_args()

    if remove_run_outputs(args):
        os.sync()
        time.sleep(RECENT_DELETION_SECONDS)
    measured = [measure(size, args) for size in args.sizes.split(",")]
    remove_run_outputs(args)
    build_column = f"{'build':>20} " if args.against else ""
    print(f"{'size':>10} {build_column}{'files':>7} {'MB':>8} {'items':>8} {'wall s':>8} "
          f"{'cpu s':>8} {'RSS MB':>8} {'items/s':>9} {'MB/s':>7} {'floor s':>8} {'x floor':>8}")
    for r in (row for rows in measured for row in rows):
        megabytes = r["bytes"] / 1e6
        build = f"{r['build'][-20:]:>20} " if args.against else ""
        print(f"{r['size']:>10} {build}{r['files']:>7} {megabytes:>8.1f} {r['items']:>8} "
              f"{r['wall']:>8.3f} {r['cpu']:>8.3f} {r['rss']:>8.1f} "
              f"{r['items'] / r['wall']:>9.0f} {megabytes / r['wall']:>7.1f} "
              f"{r['floor']:>8.3f} {r['wall'] / r['floor']:>8.2f}")
    results = [rows[0] for rows in measured]
    for before, after in zip(results, results[1:]):
        work = after["bytes"] / before["bytes"]
        growth = after["wall"] / before["wall"]
        # The time factor of one doubling of the input, if the cost grows as a power of it.
        per_doubling = growth ** (1 / math.log2(work)) if work > 1 else float("nan")
        print(f"{before['size']} -> {after['size']}: input x{work:.2f}, "
              f"time x{growth:.2f} (x{growth / work:.2f} per unit of input, "
              f"x{per_doubling:.2f} per doubling)")


if __name__ == "__main__":
    main()
