#!/usr/bin/env python3
"""The files Sylva reads for a Doxyfile against the files Doxygen reads for the same Doxyfile.

For each case it writes a Doxyfile in the manner of a real project's (several inputs, file and
exclude patterns, exclusions by path, predefined export macros, @INCLUDE of a shared part,
$(VARIABLE) from the environment), runs Debian's `doxygen` on it with GENERATE_XML=YES (and
nothing else generated) and takes the `<compound kind="file">` names of its xml/index.xml, runs
`sylva -DOXYFILE=... -FORCE -VERBOSE` and takes the names of its "Scanning file" lines, and
compares the two lists as multisets of file names. It also times the Doxyfile's reading: a
process that reads a Doxyfile of 2,000 keys and stops (its one input does not exist) against
`sylva --version`, the best of 20 runs each.

    bench/doxyfile_file_lists.py [--sylva build/src/app/sylva] [--keep DIR]

Exit status 1 when a list differs.
"""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# name -> (Doxyfile text, files written beside it). Paths are absolute or relative to the
# directory the programs run in (the case's own directory, as Doxygen resolves them).
CASES = {
    "libevent": ("""PROJECT_NAME = libevent
PROJECT_NUMBER = 2.1
INPUT = /usr/include/event2 /usr/include/event.h /usr/include/evhttp.h
FILE_PATTERNS = *.h
RECURSIVE = NO
EXCLUDE = /usr/include/event2/event-config.h
EXCLUDE_PATTERNS = *_compat.h
ENABLE_PREPROCESSING = YES
MACRO_EXPANSION = YES
EXPAND_ONLY_PREDEF = YES
PREDEFINED = EVENT2_EXPORT_SYMBOL= "EVENT__HAVE_OPENSSL=1"
""", {}),
    "sdl2": ("""@INCLUDE = common.cfg
PROJECT_NAME = SDL
INPUT = $(SDL_INCLUDE)
FILE_PATTERNS = *.h
RECURSIVE = YES
EXCLUDE_PATTERNS = */SDL_opengl*.h */SDL_egl.h \\
                   */begin_code.h */close_code.h
PREDEFINED = DECLSPEC= SDLCALL= "SDL_DEPRECATED=" "SDL_PRINTF_FORMAT_STRING="
""", {"common.cfg": "OUTPUT_DIRECTORY = out\nGENERATE_LATEX = NO\nEXTRACT_ALL = YES\n"}),
    "eigen": ("""PROJECT_NAME = Eigen
INPUT = /usr/include/eigen3/Eigen /usr/include/eigen3/unsupported/Eigen/CXX11
FILE_PATTERNS = * *.h
RECURSIVE = YES
EXCLUDE = /usr/include/eigen3/Eigen/src/Core/arch
EXCLUDE_PATTERNS = *.txt */CMakeFiles/* *.in
EXCLUDE_SYMLINKS = YES
PREDEFINED = EIGEN_DEVICE_FUNC= EIGEN_STRONG_INLINE=inline "EIGEN_ALWAYS_INLINE=inline"
""", {}),
    "glfw+zlib": ("""PROJECT_NAME = "Two libraries"
INPUT = /usr/include/GLFW /usr/include/zlib.h /usr/include/zconf.h
EXCLUDE = /usr/include/GLFW/glfw3native.h
FILE_PATTERNS =
RECURSIVE = NO
""", {}),
    "examples": ("""PROJECT_NAME = Nursery
INPUT = %(examples)s
RECURSIVE = YES
EXCLUDE_PATTERNS = */doxygen_tree/*
USE_MDFILE_AS_MAINPAGE = %(examples)s/README.md
""", {}),
}


def folder_case(path):
    """A case kept in the repository as a folder of its own: its Doxyfile and the files it names
    beside it (the pages it reads), by their paths in the folder."""
    folder = os.path.join(ROOT, path)
    files = {}
    for base, _, names in os.walk(folder):
        for name in names:
            with open(os.path.join(base, name)) as text:
                files[os.path.relpath(os.path.join(base, name), folder)] = text.read()
    return files.pop("Doxyfile"), files


CASES["libgit2"] = folder_case("bench/doxyfile_projects/libgit2")


def doxygen_files(directory, doxyfile_name):
    subprocess.run(["doxygen", "-"], cwd=directory, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL,
                   input=(open(os.path.join(directory, doxyfile_name)).read() +
                          "\nGENERATE_XML = YES\nGENERATE_HTML = NO\nGENERATE_LATEX = NO\n"
                          "XML_OUTPUT = doxygen-xml\nOUTPUT_DIRECTORY = .\nQUIET = YES\n"
                          "WARNINGS = NO\nGENERATE_TAGFILE =\n").encode())
    index = ET.parse(os.path.join(directory, "doxygen-xml", "index.xml"))
    return collections.Counter(c.findtext("name") for c in index.getroot()
                               if c.get("kind") == "file")


def sylva_files(sylva, directory, doxyfile_name):
    started = time.perf_counter()
    run = subprocess.run([sylva, "-DOXYFILE=" + doxyfile_name, "-FORCE", "-VERBOSE",
                          "-CACHE=" + os.path.join(directory, "cache")],
                         cwd=directory, capture_output=True, text=True, errors="replace")
    seconds = time.perf_counter() - started
    names = re.findall(r"^  Scanning file (.*)\.\.\.$", run.stdout, re.M)
    unused = [line for line in run.stdout.splitlines() if line.startswith("Doxyfile keys")]
    return collections.Counter(names), run.returncode, seconds, unused, run.stderr


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sylva", default=os.path.join(ROOT, "build/src/app/sylva"))
    parser.add_argument("--keep")
    args = parser.parse_args()
    sylva = os.path.abspath(args.sylva)
    work = args.keep or tempfile.mkdtemp(prefix="sylva-doxyfile-")
    os.environ.setdefault("SDL_INCLUDE", "/usr/include/SDL2")
    differing = 0
    print(f"{'case':<10} {'doxygen':>8} {'sylva':>8} {'same':>5} {'exit':>5} {'sylva s':>8}")
    for name, (text, extra) in CASES.items():
        directory = os.path.join(work, name)
        os.makedirs(directory, exist_ok=True)
        for file, content in extra.items():
            os.makedirs(os.path.dirname(os.path.join(directory, file)), exist_ok=True)
            with open(os.path.join(directory, file), "w") as out:
                out.write(content)
        with open(os.path.join(directory, "Doxyfile"), "w") as out:
            out.write(text % {"examples": os.path.join(ROOT, "examples")})
        theirs = doxygen_files(directory, "Doxyfile")
        ours, status, seconds, unused, errors = sylva_files(sylva, directory, "Doxyfile")
        same = theirs == ours
        differing += not same
        print(f"{name:<10} {sum(theirs.values()):>8} {sum(ours.values()):>8} "
              f"{'yes' if same else 'NO':>5} {status:>5} {seconds:>8.2f}")
        if not same:
            print("  only doxygen:", sorted((theirs - ours).elements())[:20])
            print("  only sylva:  ", sorted((ours - theirs).elements())[:20])
        for line in unused:
            print("  " + line[:150])
        for line in errors.splitlines()[:3]:
            if "Doxyfile" in line:
                print("  " + line[:150])
    big = os.path.join(work, "Big.doxyfile")
    with open(big, "w") as out:
        out.write("INPUT = /nonexistent\n")
        for i in range(2000):
            out.write(f"UNUSED_KEY_{i} = \"value {i}\" more values \\\n   continued\n")

    def best(command):
        times = []
        for _ in range(20):
            started = time.perf_counter()
            subprocess.run(command, cwd=work, capture_output=True)
            times.append(time.perf_counter() - started)
        return min(times) * 1000
    reading = best([sylva, "-DOXYFILE=" + big, "-FORCE"])
    starting = best([sylva, "--version"])
    print(f"Doxyfile of 2000 keys: {reading:.2f} ms to read and stop, "
          f"{starting:.2f} ms for --version")
    if not args.keep:
        shutil.rmtree(work)
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
