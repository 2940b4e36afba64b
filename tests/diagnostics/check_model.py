#!/usr/bin/env python3
"""Runs sylva with -JSON over examples/ (the default style) and over a small doxygen-style tree
whose names hold quotes, control bytes and invalid UTF-8; validates both models against the
schema, checks that the bytes are the same on one thread and on several, that the structure of
the rich text, links, members and bases come through, and that a model file that is a folder or
a symbolic link is an error with exit status 1 while the site is still written.

Usage: check_model.py SYLVA SCHEMA EXAMPLES"""
import json
import os
import subprocess
import sys
import tempfile

import jsonschema

SOURCE = (
    b'/** The garden. */\n'
    b'namespace garden {\n'
    b'/** How full the ponds are. */\n'
    b'extern int levels[3];\n'
    b'/** A bed of plants.\n'
    b' *\n'
    b' * - first *point*\n'
    b' * - second, see @ref Pond "the pond"\n'
    b' *\n'
    b' * @code\n'
    b' * bed.Plant(3);\n'
    b' * @endcode\n'
    b' */\n'
    b'class CBed : public Base, private Other<int> {\n'
    b'  public:\n'
    b'    /** Plants @p count seeds.\n'
    b'     * @param count how many */\n'
    b'    void Plant(int count);\n'
    b'    /** Waters the bed. */\n'
    b'    void Water();\n'
    b'    /** The rows of the bed. */\n'
    b'    static const int rows[4];\n'
    b'};\n'
    b'/** A pond. */\n'
    b'struct Pond {\n'
    b'    int depth; ///< how deep\n'
    b'    int width;\n'
    b'    unsigned frozen : 1; ///< iced over\n'
    b'    const char *names[16]; ///< of the fish\n'
    b'};\n'
    b'/** Colours of the flowers. */\n'
    b'enum Colour { kRed = 1, kBlue = (1 << 2) };\n'
    b'}\n'
    b'/** Odd "q\x01\xff" name. */\n'
    b'int odd_\xff(void);\n'
)


def run(sylva, work, *args, threads="2"):
    env = dict(os.environ, SYLVA_THREADS=threads)
    return subprocess.run([sylva, "-FORCE", "-OUT=out", *args], cwd=work, env=env,
                          capture_output=True, check=False)


def model(sylva, work, name, *args, threads="2"):
    done = run(sylva, work, "-JSON=" + name, *args, threads=threads)
    if done.returncode != 0:
        sys.exit(f"sylva exited with {done.returncode}: {done.stderr!r}")
    with open(os.path.join(work, name), "rb") as f:
        return f.read()


def find(items, name):
    for item in items:
        if item["name"] == name:
            return item
    sys.exit(f"no item {name} in {[i['name'] for i in items]}")


def main():
    sylva, schema_path, examples = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    with tempfile.TemporaryDirectory() as work:
        os.makedirs(os.path.join(work, "src"))
        with open(os.path.join(work, "src", "garden.h"), "wb") as f:
            f.write(SOURCE)
        doxygen = ["-STYLE=doxygen", "-PROJECT=Garden", "-SCAN=src"]
        one = model(sylva, work, "one.json", *doxygen, threads="1")
        several = model(sylva, work, "several.json", *doxygen, threads="3")
        if one != several:
            sys.exit("the model differs between one thread and three")
        nursery = model(sylva, work, "nursery.json", "-PROJECT=Nursery",
                        "-SCAN=" + os.path.abspath(examples))

        # Bad targets: a folder, a symbolic link (never written through).
        os.makedirs(os.path.join(work, "folder.json"))
        with open(os.path.join(work, "kept"), "w") as f:
            f.write("kept")
        os.symlink("kept", os.path.join(work, "link.json"))
        for target in ("folder.json", "link.json"):
            page = os.path.join(work, "out", "Garden", "Garden.HTML")
            os.remove(page)
            done = run(sylva, work, "-JSON=" + target, *doxygen)
            if done.returncode != 1 or b"model file" not in done.stderr:
                sys.exit(f"-JSON={target}: exit {done.returncode}, {done.stderr!r}")
            if not os.path.exists(page):
                sys.exit(f"-JSON={target}: the site was not written")
        with open(os.path.join(work, "kept")) as f:
            if f.read() != "kept":
                sys.exit("the link was written through")

    for data in (one, nursery):
        jsonschema.validate(json.loads(data), schema)
    garden = json.loads(one)
    if garden["schemaVersion"] != "1.1" or garden["project"]["style"] != "doxygen":
        sys.exit(f"unexpected head {garden['project']}")
    items = garden["items"]
    bed = find(items, "garden::CBed")
    if bed["kind"] != "class" or bed["scope"] != "garden" or bed["bases"] != ["Base", "Other<int>"]:
        sys.exit(f"class fields wrong: {bed['kind']} {bed['scope']} {bed['bases']}")
    if [m["item"] for m in bed["members"]] != [None, "garden::CBed::Plant", "garden::CBed::Water"]:
        sys.exit(f"members wrong: {bed['members']}")
    # A member's type and tail are what its scope's row shows around its name; a function has none.
    shapes = {m["name"]: (m["type"], m["tail"]) for m in bed["members"]}
    if shapes["rows"] != ("static const int ", "[4]") or shapes["Plant"] != ("", ""):
        sys.exit(f"class member shapes wrong: {shapes}")
    levels = [m for m in find(items, "garden")["members"] if m["name"] == "levels"]
    if [(m["type"], m["tail"], m["item"]) for m in levels] != [
            ("extern int ", "[3]", "garden::levels")]:
        sys.exit(f"a variable of a namespace lost its shape: {levels}")
    flow = [b for s in bed["sections"] if s["section"] == "description" for line in s["lines"]
            for b in line]
    types = [b["type"] for b in flow]
    if "bulletList" not in types or "code" not in types:
        sys.exit(f"the description lost its structure: {types}")
    text = json.dumps(flow)
    if '"ref": "Pond"' not in text or 'SYLVA_garden__Pond.html' not in text:
        sys.exit(f"the reference lost its target: {text}")
    plant = find(items, "garden::CBed::Plant")
    if [p["name"] for p in plant["parameters"]] != ["count"]:
        sys.exit(f"parameters wrong: {plant['parameters']}")
    pond = find(items, "garden::Pond")
    if [m["name"] for m in pond["members"]][:2] != ["depth", "width"]:
        sys.exit(f"struct members wrong: {pond['members']}")
    shapes = {m["name"]: (m["type"], m["tail"]) for m in pond["members"]}
    if (shapes.get("depth"), shapes.get("frozen"), shapes.get("names")) != (
            ("int ", ""), ("unsigned ", " : 1"), ("const char *", "[16]")):
        sys.exit(f"struct member shapes wrong: {shapes}")
    colour = {m["name"]: (m["type"], m["tail"]) for m in find(items, "garden::Colour")["members"]}
    if colour != {"kRed": ("", " = 1"), "kBlue": ("", " = (1 << 2)")}:
        sys.exit(f"enumerator values wrong: {colour}")
    if not any("\ufffd" in item["name"] for item in items):
        sys.exit("the invalid byte of a name did not come through as U+FFFD")
    default = json.loads(nursery)
    if default["project"]["style"] != "sylva" or len(default["items"]) < 5:
        sys.exit("the default style's model is empty")
    print(f"{len(items)} and {len(default['items'])} items valid against the model schema")


if __name__ == "__main__":
    main()
