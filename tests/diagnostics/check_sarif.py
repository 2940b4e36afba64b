#!/usr/bin/env python3
"""Runs sylva over a small tree whose warnings hold quotes, control bytes, invalid UTF-8 and a
long name, and checks that its SARIF log is valid against the published SARIF 2.1.0 schema and
that its JSON Lines carry the same diagnostics.

Usage: check_sarif.py SYLVA SCHEMA"""
import json
import os
import subprocess
import sys
import tempfile

import jsonschema

SOURCE = (
    b'/** Fills the pond. @frobnicate\n'
    b' * @param depth how deep\n'
    b' * @param "q\x01\xff" a name with a quote, a control byte and a broken byte */\n'
    b'int pond_fill(int depth);\n'
    b'/** A long one. @param ' + b'x' * 100000 + b' nothing */\n'
    b'void pond_drain(void);\n'
    b'/** @ingroup nowhere\n'
)


def main():
    sylva, schema_path = os.path.abspath(sys.argv[1]), sys.argv[2]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    with tempfile.TemporaryDirectory() as work:
        os.makedirs(os.path.join(work, "src", "sub dir"))
        with open(os.path.join(work, "src", "sub dir", "pond.h"), "wb") as f:
            f.write(SOURCE)
        logs = {}
        for name in ("diag.sarif", "diag.jsonl"):
            run = subprocess.run(
                [sylva, "-STYLE=doxygen", "-PROJECT=Pond", "-SCAN=src", "-OUT=out", "-FORCE",
                 "-DIAGNOSTICS=" + name, "-DIAGNOSTICS-BASE=src"],
                cwd=work, capture_output=True, check=False)
            if run.returncode != 0:
                sys.exit(f"sylva exited with {run.returncode}: {run.stderr!r}")
            with open(os.path.join(work, name), "rb") as f:
                logs[name] = f.read()
    sarif = json.loads(logs["diag.sarif"])
    # The schema names draft 2020-12 but is written in draft 7's keywords; a log must pass both.
    for validator in (jsonschema.Draft7Validator, jsonschema.validators.validator_for(schema)):
        validator.check_schema(schema)
        errors = sorted(validator(schema, format_checker=validator.FORMAT_CHECKER)
                        .iter_errors(sarif), key=lambda e: list(e.absolute_path))
        if errors:
            sys.exit("\n".join(f"{validator.__name__}: /{'/'.join(map(str, e.absolute_path))}: "
                               f"{e.message[:300]}" for e in errors[:20]))
    run = sarif["runs"][0]
    results = run["results"]
    if len(results) < 3:
        sys.exit(f"expected at least 3 results, got {len(results)}")
    rules = {rule["id"] for rule in run["tool"]["driver"]["rules"]}
    if {r["ruleId"] for r in results} != rules:
        sys.exit("the rules are not those of the results")
    for wanted in ("doxygen.unknown-command", "doxygen.unknown-parameter"):
        if wanted not in rules:
            sys.exit(f"rule {wanted} missing from {sorted(rules)}")
    location = results[0]["locations"][0]["physicalLocation"]
    if location["artifactLocation"] != {"uri": "sub%20dir/pond.h", "uriBaseId": "SRCROOT"}:
        sys.exit(f"unexpected location {location}")
    if not run["originalUriBaseIds"]["SRCROOT"]["uri"].endswith("/src/"):
        sys.exit("the base is not the named directory")
    named = [r for r in results if r["ruleId"] == "doxygen.unknown-parameter"]
    if not all(r["locations"][0]["logicalLocations"][0]["fullyQualifiedName"] == "pond_fill"
               or r["locations"][0]["logicalLocations"][0]["fullyQualifiedName"] == "pond_drain"
               for r in named):
        sys.exit("the entities are not named")
    if not any(len(r["message"]["text"]) > 100000 for r in results):
        sys.exit("the long message was cut")
    lines = [json.loads(line) for line in logs["diag.jsonl"].splitlines()]
    pairs = lambda rows: sorted((r["ruleId"], r["message"]["text"] if isinstance(r["message"], dict)
                                 else r["message"]) for r in rows)
    if pairs(lines) != pairs(results):
        sys.exit("the JSON Lines and the SARIF log differ")
    print(f"{len(results)} results valid against SARIF 2.1.0")


if __name__ == "__main__":
    main()
