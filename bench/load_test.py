#!/usr/bin/env python3
"""Load test of `sylva -FORCE` (not part of CI): a tree of a million small files, and one source
file of 200 MB.

For each load it generates the input in a work directory, runs the release build once, and
prints the wall time, the CPU time, the peak resident memory, the files and items, and the peak
memory per documented byte; then it removes input and output. It fails when a run does not exit
with status 0 or needs more memory than the bound it documents:

- the tree: a million files of about 200 bytes in a thousand directories; every tenth file holds
  one documented function (100,000 items). Sylva keeps every item, but nothing of a file once
  it is scanned, and one directory listing at a time.
- the big file: 200 MB of code in lines of ordinary length, with a documented function every
  20 KB (about 10,000 items). Sylva reads it in pieces and keeps only the items.

The bound for both: a fixed base plus a multiple of the documented bytes (block and declaration
text), however large the input is. The multiple is large because a documented byte lives on
several times: in the item's fields and section lines (with the parameter table rows and links
the templates add), and in the project index, the index frame and their alphabetical lists,
which are built whole in memory before they are written. Text above a block up to the last line
of two characters or fewer is that block's declaration, so a file without such lines is
documented as a whole; these loads do not hold one.

    bench/load_test.py [--binary build-release/src/app/sylva] [--files 1000000]
                       [--big-mb 200] [--only tree|big] [WORK_DIR]

Build first with:
    BUILD_TYPE=Release scripts/build.sh build-release -DSYLVA_WITH_WINDOW=OFF -DSYLVA_BUILD_TESTS=OFF
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Memory a run may take whatever it reads: the program, its buffers, the directory walk.
BASE_BOUND_MB = 64
# Memory per documented byte (about 20 measured for both loads).
BOUND_PER_DOCUMENTED_BYTE = 24

FILES_PER_DIRECTORY = 1000
DOCUMENTED_EVERY = 10
BIG_BLOCK_EVERY_BYTES = 20 * 1024


def documented_function(index):
    """A documented function: its block and declaration, and the documented bytes in them."""
    block = (f"/**--\n"
             f"Group: Load {index % 50}\n"
             f"Description: Computes the value number {index} from its \"Input\".\n"
             f"  It is checked against its range before it is stored.\n"
             f"Return: The value, or -1.\n"
             f"--e*/\n")
    declaration = f"int Compute{index}(int input,  // the input\n    int scale)  // the scale\n"
    return block + declaration, len(block) + len(declaration)


def undocumented_code(index, lines):
    body = "".join(f"    total += input * {i} + {index % 97};  // step {i}\n" for i in range(lines))
    return f"static int helper{index}(int input)\n{{\n    int total = 0;\n{body}    return total;\n}}\n"


def write_tree(root, files):
    """A million small files; returns (files, bytes, documented bytes)."""
    total = documented = 0
    for index in range(files):
        directory = os.path.join(root, f"d{index // FILES_PER_DIRECTORY:04d}")
        if index % FILES_PER_DIRECTORY == 0:
            os.makedirs(directory, exist_ok=True)
        text = f"// File {index}.\n\n"
        if index % DOCUMENTED_EVERY == 0:
            item, size = documented_function(index)
            text += item + "{\n    return input * scale;\n}\n"
            documented += size
        else:
            text += undocumented_code(index, 3)
        data = text.encode()
        with open(os.path.join(directory, f"f{index:07d}.c"), "wb") as out:
            out.write(data)
        total += len(data)
    return files, total, documented


def write_big_file(root, megabytes):
    """One source file of `megabytes` MB; returns (1, bytes, documented bytes)."""
    os.makedirs(root, exist_ok=True)
    target = megabytes * 1024 * 1024
    total = documented = index = 0
    with open(os.path.join(root, "big.cpp"), "wb") as out:
        chunk = []
        chunk_size = 0
        while total < target:
            item, size = documented_function(index)
            text = item + "{\n    return input * scale;\n}\n\n"
            while len(text) < BIG_BLOCK_EVERY_BYTES:
                text += undocumented_code(index, 40) + "\n"
                index += 1
            data = text.encode()
            chunk.append(data)
            chunk_size += len(data)
            total += len(data)
            documented += size
            index += 1
            if chunk_size > 8 * 1024 * 1024:
                out.write(b"".join(chunk))
                chunk, chunk_size = [], 0
        out.write(b"".join(chunk))
    return 1, total, documented


def run_sylva(binary, scan, out):
    """Runs one generation; returns (status, wall s, cpu s, peak RSS KiB, stderr)."""
    start = time.perf_counter()
    process = subprocess.Popen([binary, "-PROJECT=Load", "-SCAN=" + scan, "-OUT=" + out, "-FORCE"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    stderr = process.stderr.read().decode(errors="replace")
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.stderr.close()
    return (os.waitstatus_to_exitcode(status), wall, usage.ru_utime + usage.ru_stime,
            usage.ru_maxrss, stderr)


def count_pages(out):
    pages = written = 0
    for directory, _, names in os.walk(out):
        for name in names:
            written += os.path.getsize(os.path.join(directory, name))
            pages += name.startswith("SYLVA_") and name.endswith(".html")
    return pages, written


def measure(name, binary, work, make_input):
    source = os.path.join(work, name + "-src")
    out = os.path.join(work, name + "-out")
    for path in (source, out):
        shutil.rmtree(path, ignore_errors=True)
    try:
        started = time.perf_counter()
        files, size, documented = make_input(source)
        print(f"{name}: generated {files} files, {size / 1e6:.1f} MB, "
              f"{documented / 1e6:.1f} MB documented, in {time.perf_counter() - started:.0f} s",
              flush=True)
        status, wall, cpu, rss_kib, stderr = run_sylva(binary, source, out)
        items, written = count_pages(out)
        rss_mb = rss_kib / 1024
        bound_mb = BASE_BOUND_MB + BOUND_PER_DOCUMENTED_BYTE * documented / (1024 * 1024)
        print(f"{name}: status {status}, wall {wall:.1f} s, cpu {cpu:.1f} s, "
              f"peak RSS {rss_mb:.0f} MB (bound {bound_mb:.0f} MB), items {items}, "
              f"written {written / 1e6:.1f} MB, "
              f"{rss_kib * 1024 / max(documented, 1):.1f} bytes of memory per documented byte",
              flush=True)
        failures = []
        if status != 0:
            failures.append(f"exit status {status}: {stderr[:2000]}")
        if rss_mb > bound_mb:
            failures.append(f"peak RSS {rss_mb:.0f} MB is above the bound of {bound_mb:.0f} MB")
        return failures
    finally:
        for path in (source, out):
            shutil.rmtree(path, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", default=os.path.join(ROOT, "build-release/src/app/sylva"))
    parser.add_argument("--files", type=int, default=1000000)
    parser.add_argument("--big-mb", type=int, default=200)
    parser.add_argument("--only", choices=("tree", "big"))
    parser.add_argument("work", nargs="?", default="/tmp/sylva-load")
    args = parser.parse_args()
    if not os.access(args.binary, os.X_OK):
        sys.exit(f"no program at {args.binary}; build it first (see --help)")
    created = not os.path.exists(args.work)
    os.makedirs(args.work, exist_ok=True)
    loads = {
        "tree": lambda root: write_tree(root, args.files),
        "big": lambda root: write_big_file(root, args.big_mb),
    }
    failures = []
    for name, make_input in loads.items():
        if args.only in (None, name):
            failures += [f"{name}: {failure}" for failure in
                         measure(name, args.binary, args.work, make_input)]
    if created:
        os.rmdir(args.work)
    if failures:
        sys.exit("\n".join(failures))


if __name__ == "__main__":
    main()
