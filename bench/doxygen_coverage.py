#!/usr/bin/env python3
"""Compares Sylva's documentation coverage of a header tree with what Doxygen extracts from it.

Runs Debian's doxygen once with EXTRACT_ALL=YES and GENERATE_XML=YES, counts per file the
declarations its XML holds (classes, structs, unions and every member but enumerators, friends and
private members) and those with a description, runs `sylva -COVERAGE=FILE` on the same tree, and
prints both totals and the files whose counts differ most.

    python3 bench/doxygen_coverage.py --sylva build/src/app/sylva /usr/include/event2
"""
import argparse
import collections
import glob
import json
import os
import subprocess
import tempfile
import xml.etree.ElementTree as ET


def described(element):
    return any(''.join(part.itertext()).strip()
               for tag in ('briefdescription', 'detaileddescription')
               for part in element.findall(tag))


def doxygen_counts(tree, work):
    doxyfile = os.path.join(work, 'Doxyfile')
    with open(doxyfile, 'w') as out:
        out.write(f'INPUT={tree}\nFILE_PATTERNS=*.h *.hh *.hpp *.hxx\nRECURSIVE=YES\n'
                  f'EXTRACT_ALL=YES\nGENERATE_HTML=NO\nGENERATE_LATEX=NO\nGENERATE_XML=YES\n'
                  f'OUTPUT_DIRECTORY={work}\nQUIET=YES\nWARNINGS=NO\n')
    subprocess.run(['doxygen', doxyfile], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    total, documented, seen = collections.Counter(), collections.Counter(), set()
    for path in glob.glob(os.path.join(work, 'xml', '*.xml')):
        if path.endswith('index.xml'):
            continue
        for compound in ET.parse(path).getroot().iter('compounddef'):
            entities = [compound] if compound.get('kind') in ('class', 'struct', 'union') else []
            entities += [m for m in compound.iter('memberdef')
                         if m.get('kind') not in ('enumvalue', 'friend')
                         and m.get('prot') != 'private']
            for entity in entities:
                location = entity.find('location')
                if entity.get('id') in seen or location is None:
                    continue
                seen.add(entity.get('id'))
                name = os.path.realpath(location.get('file'))
                total[name] += 1
                documented[name] += described(entity)
    return total, documented


def sylva_counts(sylva, tree, work):
    report = os.path.join(work, 'coverage.json')
    subprocess.run([sylva, '-FORCE', '-STYLE=doxygen', f'-SCAN={tree}',
                    f'-OUT={os.path.join(work, "out")}', '-PROJECT=Coverage',
                    f'-CACHE={os.path.join(work, "cache")}', f'-COVERAGE={report}'],
                   check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(report) as data:
        coverage = json.load(data)
    files = {os.path.realpath(f['name']): f['count'] for f in coverage['files']}
    return coverage['total'], files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--sylva', default='build/src/app/sylva')
    parser.add_argument('--worst', type=int, default=8, help='files shown that differ most')
    parser.add_argument('tree')
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        total, documented = doxygen_counts(os.path.abspath(args.tree), work)
        sylva_total, files = sylva_counts(os.path.abspath(args.sylva), args.tree, work)
    all_total, all_documented = sum(total.values()), sum(documented.values())
    print(f'doxygen: {all_documented} of {all_total} documented '
          f'({100.0 * all_documented / max(all_total, 1):.1f} %)')
    print(f'sylva:   {sylva_total["documented"]} of {sylva_total["total"]} documented '
          f'({sylva_total["share"]:.1f} %)')
    equal = sum(1 for f in total if files.get(f, {}).get('total') == total[f])
    near = sum(1 for f in total
               if abs(files.get(f, {}).get('total', 0) - total[f]) <= max(2, 0.05 * total[f]))
    print(f'files: {len(total)}, equal totals {equal}, totals within 5 % (or 2) {near}')
    differ = sorted(total, key=lambda f: -abs(files.get(f, {}).get('total', 0) - total[f]))
    for name in differ[:args.worst]:
        ours = files.get(name, {'documented': 0, 'total': 0})
        print(f'  {name}: doxygen {documented[name]}/{total[name]}, '
              f'sylva {ours["documented"]}/{ours["total"]}')


if __name__ == '__main__':
    main()
