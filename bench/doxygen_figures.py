#!/usr/bin/env python3
"""What Sylva's doxygen style shows of what Doxygen extracts from the same files.

For each tree it runs Debian's `doxygen` with GENERATE_XML=YES (nothing else) and
`sylva -STYLE=doxygen` over the same files, reads Doxygen's XML and Sylva's pages, and prints:

  entities    Doxygen's documented entities (compounds and members with a brief or detailed
              description) that have a page in Sylva's site, or, for a data member of a struct,
              class or union, a row on its scope's page.
  words       the words of their descriptions (brief and detailed, with the parameters, return
              values, notes and enumerators' texts) found on that page, counted with repetition.
  lists, tables, code, headings
              the lists (itemized and ordered), tables, code blocks (code, verbatim and the
              author's <pre>) and headings (sections and HTML headings) of those descriptions
              rendered as such on the page: per page, at most as many as Doxygen has there.
  in place    code blocks whose page shows them behind the same words as in Doxygen's text.
  members     documented members of a class, struct, union, namespace or group whose scope's page
              links to the member's page.
  references  Doxygen's links in description text (<ref>) shown as links with the same text.
  bases       documented base classes that the derived class's page links.

Functions that Doxygen, which expands no macro here, names after a macro in front of them
("CVAPI(int) cvInit(...)" read as a function CVAPI, whose texts it then runs together) are left
out, and counted.

    bench/doxygen_figures.py [--sylva build-release/src/app/sylva] [--filter EXTENSIONS]
                             [--keep DIR [--reuse]] [--misses N] [NAME=DIR ...]
    bench/doxygen_figures.py --cases bench/doxygen_cases [--verbose]

Without NAME=DIR it reads event2, SDL2, GLFW and eigen3 under /usr/include. The files each
program reads are chosen as bench/doxygen_compare.py chooses them (and checked to be the same).
With --cases, every file of the directory is a tree of its own, and a case passes when every
figure of it that has something to count is 100 %; the script prints each case's figures and the
number of cases that pass the pages figures (entities to in place) and all figures.
"""

import argparse
import collections
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import doxygen_compare  # noqa: E402  (its file choice and trees)

DOXYFILE = """\
PROJECT_NAME           = "{name}"
OUTPUT_DIRECTORY       = {output}
INPUT                  = {tree}
RECURSIVE              = YES
FILE_PATTERNS          = {patterns}
EXCLUDE_PATTERNS       = {excluded}
EXTRACT_ALL            = NO
GENERATE_HTML          = NO
GENERATE_LATEX         = NO
GENERATE_XML           = YES
XML_PROGRAMLISTING     = NO
HAVE_DOT               = NO
QUIET                  = YES
WARNINGS               = NO
"""
# Doxygen's simple sections that Sylva's pages show in sections of their own.
ASIDE = {"return", "see", "author", "authors", "copyright", "version", "since", "date"}
STRUCTURES = ("lists", "tables", "code", "headings")
PAGE_FIGURES = ("entities", "words") + STRUCTURES + ("in place",)
LINK_FIGURES = ("members", "references", "bases")
FIGURES = PAGE_FIGURES + LINK_FIGURES
# The lists Doxygen makes of "@deprecated", "@todo", ... texts, which no comment writes.
GENERATED_PAGES = {"deprecated", "todo", "bug", "test"}
MAIN_PAGE_ID = "indexpage"
MAIN_PAGE_NAME = "Main page"
# Whether Doxygen's XML that --keep holds from an earlier run is read again instead of made anew.
REUSE = [False]
# How many functions Doxygen named after a macro in front of them, left out of the figures.
MISREAD = [0]
SCOPE_KINDS = {"class", "struct", "union", "namespace", "group"}
ROW_SCOPES = {"class", "struct", "union"}
# The name cell of a row of a member table, with or without its anchor.
ROW_CELL = r'<I(?: id="[^"]*")?>{}</I>'
WORD = re.compile(r"[A-Za-z0-9_]+")
# In place: the last SAME_WORDS words before a code block in Doxygen's text stand, one after the
# other, among the last CONTEXT_WORDS words before it on the page (a word the page adds between
# them, such as the text of a command Doxygen knows and Sylva shows, is no move).
CONTEXT_WORDS = 6
SAME_WORDS = 3
# The Syntax block and the parameter table of the built-in templates, which are no part of a
# description.
SYNTAX_PRE = "<pre><b>"
FILES_LABEL = "Files<BR>("
TEMPLATE_TABLE = '<table border="0" width="100%">'
DECLARED_AT = re.compile(r'<p class="declared">Declared in <code>([^<]*)</code>, line (\d+)\.</p>')


def words(text):
    return WORD.findall(text)


class Description:
    """What Doxygen's description of one entity holds: its words in order, with its code blocks
    standing among them, its structures and its references."""

    def __init__(self):
        self.stream = []  # words, and ("code", first words of the code) markers
        self.aside = []  # words of the parts a page shows in sections of their own
        self.counts = collections.Counter()
        self.references = []
        self._target = self.stream

    def read(self, element):
        if element is None:
            return
        self._walk(element)

    def _walk(self, element):
        tag = element.tag
        if (tag == "parameterlist" or (tag == "simplesect" and element.get("kind") in ASIDE)) \
                and self._target is self.stream:
            # Parameters, return values, See also and the like stand in sections of their own
            # on Sylva's pages: they are no place for the code around them. The text behind
            # one (its tail) is the description's again, as the blank line that ends the section
            # makes it.
            self._target = self.aside
            self._walk_inside(element)
            self._target = self.stream
            self._tail(element)
            return
        if tag in ("programlisting", "verbatim", "preformatted"):
            code = spaced_text(element)
            if not code.strip():
                # An example file Doxygen did not find (no EXAMPLE_PATH): an empty block.
                self._tail(element)
                return
            self.counts["code"] += 1
            self._target.append(("code", tuple(words(code)[:3])))
            self._target.extend(words(code))
            self._tail(element)
            return
        if tag in ("itemizedlist", "orderedlist"):
            self.counts["lists"] += 1
        elif tag == "table":
            self.counts["tables"] += 1
        elif tag in ("sect1", "sect2", "sect3", "sect4", "heading"):
            self.counts["headings"] += 1
        elif tag == "ref":
            self.references.append("".join(element.itertext()).strip())
        self._walk_inside(element)
        self._tail(element)

    def _walk_inside(self, element):
        if element.text:
            self._target.extend(words(element.text))
        for child in element:
            self._walk(child)

    def _tail(self, element):
        if element.tail:
            self._target.extend(words(element.tail))

    def word_list(self):
        return [w for w in self.stream + self.aside if isinstance(w, str)]

    def has_text(self):
        return bool(self.word_list()) or self.counts["code"] > 0

    def places(self):
        """Each code block, with the words before it."""
        return code_places(self.stream) + code_places(self.aside)


class Entity:
    def __init__(self, kind, name, scope=None, row=False):
        self.kind = kind
        self.name = name
        self.scope = scope  # the compound's entity, for members
        self.row = row  # a data member of a struct, class or union
        self.description = Description()
        self.page = None
        self.row_page = None  # the scope's page that shows it as a row
        self.bases = []  # names of documented bases
        self.location = None  # (file name, line) of its declaration, where Doxygen gives one
        self.label = None  # a group's label ("@defgroup label Title")


def spaced_text(element):
    """The text of Doxygen's code: its <sp/> elements are blanks, its lines end with line feeds."""
    parts = [element.text or ""]
    for child in element:
        if child.tag == "sp":
            parts.append(" ")
        else:
            parts.append(spaced_text(child))
            if child.tag == "codeline":
                parts.append("\n")
        parts.append(child.tail or "")
    return "".join(parts)


def without_template_arguments(name):
    """`name` without its template argument lists: Doxygen names a partial specialization
    "A< T, B >::f", Sylva "A::f"; both are matched by "A::f"."""
    out, depth = [], 0
    for ch in name:
        if ch == "<" and not out[-8:] == list("operator"):
            depth += 1
        elif ch == ">" and depth > 0:
            depth -= 1
        elif depth == 0:
            out.append(ch)
    return re.sub(r"\s+", " ", "".join(out)).strip()


def without_inline_namespaces(name, inline):
    """`name` as a reader writes it: Doxygen names "cv::legacy::tracking::TrackerCSRT" with the
    inline namespace `tracking`, Sylva, as the code uses it, "cv::legacy::TrackerCSRT"."""
    kept, path = [], []
    for part in name.split("::"):
        path.append(part)
        if "::".join(path) not in inline:
            kept.append(part)
    return "::".join(kept)


def inline_namespaces(xml_dir, index):
    """The qualified names of the inline namespaces of Doxygen's XML."""
    inline = set()
    for compound in index.findall("compound"):
        path = os.path.join(xml_dir, compound.get("refid") + ".xml")
        if compound.get("kind") != "namespace" or not os.path.exists(path):
            continue
        for cdef in ElementTree.parse(path).getroot().findall("compounddef"):
            if cdef.get("inline") == "yes":
                inline.add(text_of(cdef.find("compoundname")))
    return inline


def text_of(element):
    return "" if element is None else "".join(element.itertext()).strip()


def location_of(element):
    found = element.find("location")
    if found is None or not found.get("line"):
        return None
    return os.path.basename(found.get("file", "")), int(found.get("line"))


def page_declared_at(listed, location, taken):
    """Of the pages of one name not yet taken, the one declared closest before `location`, the
    line Doxygen gives the declaration: an overload's own page, whatever order each program lists
    the overloads in (Doxygen puts friends after the member functions)."""
    best = None
    for page in listed:
        if page.declared is None or page.declared[0] != location[0] or id(page) in taken:
            continue
        if page.declared[1] <= location[1] and (best is None or
                                                page.declared[1] > best.declared[1]):
            best = page
    return best


def read_doxygen(xml_dir, project):
    """Doxygen's documented entities, and the members of each scope, from its XML."""
    index = ElementTree.parse(os.path.join(xml_dir, "index.xml")).getroot()
    entities, members_of, seen = [], collections.defaultdict(list), {}
    inline = inline_namespaces(xml_dir, index)
    compounds = {}
    for compound in index.findall("compound"):
        path = os.path.join(xml_dir, compound.get("refid") + ".xml")
        if not os.path.exists(path):
            continue
        for cdef in ElementTree.parse(path).getroot().findall("compounddef"):
            kind = cdef.get("kind")
            if kind == "dir" or cdef.get("id") in GENERATED_PAGES:
                continue
            if kind == "example" and not re.search(r"\w", text_of(cdef.find("compoundname"))):
                # "\example:" written without a file: Doxygen's page of nothing.
                continue
            name = text_of(cdef.find("compoundname"))
            title = text_of(cdef.find("title"))
            if cdef.get("id") == MAIN_PAGE_ID:
                # Without a title of its own it is the project's: Sylva calls it "Main page".
                    name = title if title and title != project else MAIN_PAGE_NAME
            elif kind in ("group", "page") and title:
                name = title
            elif kind in ("file", "example"):
                name = os.path.basename(name)
            entity = Entity(kind, without_inline_namespaces(without_template_arguments(name),
                                                            inline))
            entity.description.read(cdef.find("briefdescription"))
            entity.description.read(cdef.find("detaileddescription"))
            entity.bases = [b.get("refid") for b in cdef.findall("basecompoundref")
                            if b.get("refid")]
            entity.id = cdef.get("id")
            if kind == "group":
                entity.label = text_of(cdef.find("compoundname"))
            entity.location = location_of(cdef)
            compounds[entity.id] = entity
            if entity.description.has_text():
                entities.append(entity)
            for member in cdef.iter("memberdef"):
                mid = member.get("id")
                qualified = text_of(member.find("qualifiedname")) or text_of(member.find("name"))
                if mid in seen:
                    # Listed again by a group or namespace: a member of it too, when documented.
                    if kind in SCOPE_KINDS and seen[mid].description.has_text():
                        members_of[entity].append(seen[mid])
                    continue
                row = kind in ROW_SCOPES and member.get("kind") == "variable"
                values = member.findall("enumvalue")
                if member.get("kind") == "function" and \
                        re.fullmatch(r"[A-Z][A-Z0-9_]*", text_of(member.find("name"))) and \
                        text_of(member.find("argsstring")).startswith("("):
                    # Doxygen, which expands no macro, reads "CVAPI(int) cvInit(...)" as a
                    # function CVAPI, and runs the texts of all such functions together: no
                    # entity to compare with.
                    MISREAD[0] += 1
                    continue
                if "@" in qualified.rsplit("::", 1)[-1] and values:
                    # An anonymous enum: Sylva names it by its first enumerator, or, inside a
                    # class, lists its enumerators as rows of the class.
                    scope = qualified.rsplit("::", 1)[0] + "::" if "::" in qualified else ""
                    qualified = scope + text_of(values[0].find("name"))
                    row = row or kind in ROW_SCOPES
                item = Entity(member.get("kind"),
                              without_inline_namespaces(without_template_arguments(qualified),
                                                        inline), entity, row)
                item.description.read(member.find("briefdescription"))
                item.description.read(member.find("detaileddescription"))
                for value in values:
                    item.description.read(value.find("briefdescription"))
                    item.description.read(value.find("detaileddescription"))
                item.location = location_of(member)
                seen[mid] = item
                if item.description.has_text():
                    entities.append(item)
                    if kind in SCOPE_KINDS:
                        members_of[entity].append(item)
    for entity in entities:
        entity.bases = [compounds[b].name for b in entity.bases
                        if b in compounds and compounds[b].description.has_text()]
    return entities, members_of


class Page:
    def __init__(self, path):
        self.file = os.path.basename(path)
        with open(path, errors="replace") as source:
            self.html = source.read()
        title = re.search(r"<title>(.*?)</title>", self.html, re.S | re.I)
        self.title = html.unescape(re.sub(r"<[^>]*>", "", title.group(1))).strip() if title else ""
        body = self.html
        self.stream = []
        pre = re.compile(r"(<pre class=\"code\">|<pre>(?!<b>))(.*?)</pre>|<[^>]*>|[^<]+", re.S)
        for piece in pre.finditer(body):
            if piece.group(1):
                code = words(html.unescape(re.sub(r"<[^>]*>", "", piece.group(2))))
                self.stream.append(("code", tuple(code[:3])))
                self.stream.extend(code)
            elif not piece.group(0).startswith("<"):
                self.stream.extend(words(html.unescape(piece.group(0))))
        self.words = collections.Counter(w for w in self.stream if isinstance(w, str))
        lower = self.html.lower()
        self.counts = {
            "lists": lower.count("<ul") + lower.count("<ol"),
            "tables": lower.count("<table") - self.html.count(TEMPLATE_TABLE)
            - self.html.count('class="doc retval"'),
            "code": self.html.count('<pre class="code">')
            + len(re.findall(r"<pre>(?!<b>)", self.html)),
            "headings": len(re.findall(r"<h[1-6][ >]", lower)),
        }
        self.links = collections.defaultdict(set)  # link text -> targets
        for target, text in re.findall(r"<a href=\"([^\"]*)\"[^>]*>(.*?)</a>", self.html, re.S):
            self.links[html.unescape(re.sub(r"<[^>]*>", "", text)).strip()].add(target)
        self.targets = {t.split("#")[0] for texts in self.links.values() for t in texts}
        declared = DECLARED_AT.search(self.html)
        # Sylva gives the line its comment starts on, which is at or before the declaration's.
        self.declared = (os.path.basename(html.unescape(declared.group(1))),
                         int(declared.group(2))) if declared else None


def read_sylva(project):
    pages = collections.defaultdict(list)
    for name in sorted(os.listdir(project)):
        if name.startswith("SYLVA_") and name.endswith(".html"):
            page = Page(os.path.join(project, name))
            pages[without_template_arguments(page.title)].append(page)
            # Doxygen names a file by its name alone, Sylva as its "@file" comment writes it.
            if FILES_LABEL in page.html and "/" in page.title:
                pages[page.title.rsplit("/", 1)[1]].append(page)
    for listed in pages.values():
        # The plain page first, then the numbered ones in their order.
        listed.sort(key=lambda p: (re.search(r"_\d{3,}\.html$", p.file) is not None, p.file))
    return pages


def preceding(stream, index):
    before = []
    for token in reversed(stream[:index]):
        if isinstance(token, str):
            before.append(token)
            if len(before) == CONTEXT_WORDS:
                break
    return tuple(reversed(before))


def stands_behind(page_words, doxygen_words):
    wanted = doxygen_words[len(doxygen_words) - SAME_WORDS:] if len(doxygen_words) > SAME_WORDS \
        else doxygen_words
    if not wanted:
        return True
    return any(page_words[i:i + len(wanted)] == wanted
               for i in range(len(page_words) - len(wanted) + 1))


def code_places(stream):
    return [(token[1], preceding(stream, i)) for i, token in enumerate(stream)
            if isinstance(token, tuple)]


def figures(entities, members_of, pages, misses=None):
    """The shown and total counts of every figure; with `misses`, a Counter, also what each
    figure missed, by figure and name (an entity without a page, a page short of words,
    structures or code in place, a name not linked)."""
    misses = collections.Counter() if misses is None else misses
    shown = collections.Counter()
    total = collections.Counter()
    used = collections.Counter()
    taken = collections.defaultdict(set)  # the pages the overloads of a name took
    on_page = collections.defaultdict(list)
    # A name Doxygen could not place in a scope ("\class TensorImagePatch" inside a namespace) is
    # found by its last part, when exactly one page ends with it.
    by_last = collections.defaultdict(list)
    for title, listed in pages.items():
        by_last[title.rsplit("::", 1)[-1]].append(title)
    # Both name a group's page by its label. Doxygen titles a group by its label when it missed
    # the "@defgroup" title (a text that runs into the next "@defgroup", a file it reads as no
    # C++), while Sylva's page shows the title: the label pairs them then.
    by_label = collections.defaultdict(list)
    for listed in pages.values():
        for page in listed:
            label = re.fullmatch(r"SYLVA_group_(\w+)\.html", page.file)
            if label and page not in by_label[label.group(1)]:
                by_label[label.group(1)].append(page)

    def pages_of(entity):
        return pages.get(entity.name) or (by_label.get(entity.label, [])
                                           if entity.kind == "group" else [])

    for entity in entities:
        listed = pages_of(entity)
        last = entity.name.rsplit("::", 1)[-1]
        if not listed and "::" not in entity.name and len(by_last[entity.name]) == 1:
            listed = pages[by_last[entity.name][0]]
        elif not listed and last in pages and entity.scope is not None:
            # A function Doxygen lists as a related member of a class ("@relates").
            listed = pages[last]
        # Overloads take the pages of their name in turn; a struct and the typedef of its name
        # ("typedef struct S {...} S;") are one page.
        # A friend is one more overload of its name.
        family = entity.name, "function" if entity.kind == "friend" else entity.kind
        if len(listed) > 1 and entity.location is not None:
            entity.page = page_declared_at(listed, entity.location, taken[family])
        if entity.page is None and used[entity.name, entity.kind] < len(listed):
            entity.page = listed[used[entity.name, entity.kind]]
        used[entity.name, entity.kind] += 1
        if entity.page is not None:
            taken[family].add(id(entity.page))
        total["entities"] += 1
        target = entity.page
        if target is None and entity.row and entity.scope is not None:
            scope_pages = pages_of(entity.scope)
            short = entity.name.rsplit("::", 1)[-1]
            for page in scope_pages:
                if re.search(ROW_CELL.format(re.escape(html.escape(short, quote=False))),
                             page.html):
                    target = page
                    entity.row_page = page
                    break
        if target is not None:
            shown["entities"] += 1
            on_page[target.file].append((entity, target))
        else:
            on_page[None].append((entity, None))
    for key, placed in on_page.items():
        page = placed[0][1]
        if page is not None:
            # Doxygen gives a typedef of a struct ("typedef struct S {...} S;") the struct's own
            # text; on their one page that text is shown once and counted once.
            texts = set()
            distinct = []
            for entity, target in placed:
                text = (tuple(entity.description.word_list()),
                        tuple(sorted(entity.description.counts.items())))
                if text not in texts or not text[0]:
                    texts.add(text)
                    distinct.append((entity, target))
            placed = distinct
        wanted = collections.Counter()
        counts = collections.Counter()
        for entity, _ in placed:
            wanted.update(entity.description.word_list())
            counts.update(entity.description.counts)
        total["words"] += sum(wanted.values())
        for kind in STRUCTURES:
            total[kind] += counts[kind]
        if page is None:
            for entity, _ in placed:
                total["in place"] += len(entity.description.places())
                misses["entities", f"{entity.kind} {entity.name}"] += 1
            continue
        shown["words"] += sum(min(n, page.words[w]) for w, n in wanted.items())
        for kind in STRUCTURES:
            shown[kind] += min(counts[kind], page.counts[kind])
        lost = sum(n - min(n, page.words[w]) for w, n in wanted.items())
        if lost:
            missing = sorted(w for w, n in wanted.items() if page.words[w] < n)
            misses["words", f"{page.file} {' '.join(missing[:12])}"] += lost
        for kind in STRUCTURES:
            misses[kind, page.file] += max(0, counts[kind] - page.counts[kind])
        sylva_places = collections.Counter(code_places(page.stream))
        for entity, _ in placed:
            for code, before in entity.description.places():
                total["in place"] += 1
                match = next((p for p in sylva_places if p[0] == code and
                              stands_behind(p[1], before) and sylva_places[p] > 0), None)
                if match:
                    sylva_places[match] -= 1
                    shown["in place"] += 1
                else:
                    misses["in place", f"{page.file} {' '.join(code)} after "
                                       f"{' '.join(before)}"] += 1
        for entity, _ in placed:
            for reference in entity.description.references:
                total["references"] += 1
                linked = bool(page.links.get(reference))
                shown["references"] += linked
                misses["references", reference] += not linked
            for base in entity.bases:
                total["bases"] += 1
                base_pages = pages.get(base, [])
                linked = any(b.file in page.targets for b in base_pages)
                shown["bases"] += linked
                misses["bases", f"{entity.name} : {base}"] += not linked
    for scope, members in members_of.items():
        scope_pages = pages_of(scope)
        for member in members:
            total["members"] += 1
            if member.page is not None and any(member.page.file in s.targets
                                               for s in scope_pages):
                shown["members"] += 1
            elif member.row_page is not None and member.row_page in scope_pages and \
                    f'id="{html.escape(member.name.rsplit("::", 1)[-1])}"' in member.row_page.html:
                # A data member or enumerator is a row of its scope's page, reached by its anchor.
                shown["members"] += 1
            else:
                misses["members", member.name] += 1
    return shown, total


def run_doxygen(doxygen, name, tree, work, patterns, excluded):
    output = os.path.join(work, "doxygen")
    if REUSE[0] and os.path.exists(os.path.join(output, "xml", "index.xml")):
        return os.path.join(output, "xml")
    shutil.rmtree(output, ignore_errors=True)
    os.makedirs(output)
    doxyfile = os.path.join(output, "Doxyfile")
    with open(doxyfile, "w") as out:
        out.write(DOXYFILE.format(name=name, output=output, tree=tree,
                                  patterns=" ".join(patterns), excluded=" ".join(excluded)))
    subprocess.run([doxygen, doxyfile], cwd=output, check=True, capture_output=True)
    return os.path.join(output, "xml")


def run_sylva(sylva, name, tree, work, extensions):
    output = os.path.join(work, "sylva")
    shutil.rmtree(output, ignore_errors=True)
    cwd = os.path.join(work, "sylva-run")  # no SYLVA.INI there: the built-in settings
    os.makedirs(cwd, exist_ok=True)
    # A cache of the run's own: a cache is known by Sylva's version, so a shared one would replay
    # what an earlier build of the same version read.
    cache = os.path.join(work, "sylva-cache")
    shutil.rmtree(cache, ignore_errors=True)
    result = subprocess.run([sylva, "-STYLE=doxygen", f"-PROJECT={name}", f"-SCAN={tree}",
                             f"-OUT={output}", f"-FILTER={extensions}", f"-CACHE={cache}",
                             "-FORCE"], cwd=cwd,
                            capture_output=True, text=True, errors="replace")
    if result.returncode not in (0, 1):
        sys.exit(f"sylva failed on {tree} with status {result.returncode}:\n{result.stderr}")
    return os.path.join(output, name)


def measure(sylva, doxygen, name, tree, work, misses=None):
    patterns, excluded = doxygen_compare.doxygen_patterns(tree)
    if doxygen_compare.files_sylva_reads(tree) != doxygen_compare.files_doxygen_reads(
            tree, patterns, excluded):
        sys.exit(f"{name}: the patterns {patterns} select other files than Sylva reads")
    xml_dir = run_doxygen(doxygen, name, tree, work, patterns, excluded)
    project = run_sylva(sylva, name, tree, work, doxygen_compare.sylva_filter)
    entities, members_of = read_doxygen(xml_dir, name)
    return figures(entities, members_of, read_sylva(project), misses)


def share(shown, total, figure):
    if total[figure] == 0:
        return "-"
    return f"{100 * shown[figure] / total[figure]:.1f}% ({shown[figure]}/{total[figure]})"


def passes(shown, total, which):
    return all(shown[f] == total[f] for f in which)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sylva", default="build-release/src/app/sylva")
    parser.add_argument("--doxygen", default="doxygen")
    parser.add_argument("--filter", default=doxygen_compare.DEFAULT_FILTER,
                        help="the extensions Sylva reads (its -FILTER), e.g. .H|.HPP")
    parser.add_argument("--keep", help="keep the outputs in this directory")
    parser.add_argument("--reuse", action="store_true",
                        help="with --keep: read the Doxygen XML an earlier run kept there again")
    parser.add_argument("--cases", help="a directory of one-file cases, each judged alone")
    parser.add_argument("--verbose", action="store_true", help="with --cases: every case")
    parser.add_argument("--misses", type=int, default=0, metavar="N",
                        help="print the N most frequent misses of each link figure")
    parser.add_argument("trees", nargs="*", metavar="NAME=DIR")
    args = parser.parse_args()
    doxygen_compare.sylva_filter = args.filter.upper()
    REUSE[0] = args.reuse and args.keep is not None
    sylva = os.path.abspath(args.sylva)
    doxygen = shutil.which(args.doxygen) or sys.exit(f"{args.doxygen} is not installed")
    version = subprocess.run([doxygen, "--version"], capture_output=True, text=True).stdout
    work_root = args.keep or tempfile.mkdtemp(prefix="sylva-figures-")
    print(f"Sylva {sylva} against Doxygen {version.strip()} (its XML)")
    try:
        if args.cases:
            run_cases(args, sylva, doxygen, work_root)
        else:
            trees = [tuple(t.split("=", 1)) for t in args.trees] or doxygen_compare.DEFAULT_TREES
            print(f"{'tree':<8} " + " ".join(f"{f:>22}" for f in FIGURES))
            for name, tree in trees:
                work = os.path.join(work_root, name)
                os.makedirs(work, exist_ok=True)
                MISREAD[0] = 0
                misses = collections.Counter()
                shown, total = measure(sylva, doxygen, name, tree, work, misses)
                print(f"{name:<8} " + " ".join(f"{share(shown, total, f):>22}" for f in FIGURES))
                print_misses(misses, args.misses)
                if MISREAD[0]:
                    print(f"         ({MISREAD[0]} functions Doxygen named after a macro in "
                          f"front of them, such as CVAPI(int), left out)")
    finally:
        if not args.keep:
            shutil.rmtree(work_root)


def print_misses(misses, count):
    for figure in ("entities", "words", *STRUCTURES, "in place", *LINK_FIGURES):
        missed = [(n, name) for (f, name), n in misses.items() if f == figure and n > 0]
        for n, name in sorted(missed, key=lambda m: (-m[0], m[1]))[:count]:
            print(f"         missed {figure}: {n} x {name}")


def run_cases(args, sylva, doxygen, work_root):
    cases = sorted(f for f in os.listdir(args.cases)
                   if os.path.isfile(os.path.join(args.cases, f)) and not f.startswith("."))
    page_passes = all_passes = 0
    failing = collections.Counter()
    for case in cases:
        tree = os.path.join(work_root, "trees", case)
        os.makedirs(tree, exist_ok=True)
        shutil.copy(os.path.join(args.cases, case), tree)
        work = os.path.join(work_root, "work", case)
        os.makedirs(work, exist_ok=True)
        name = re.sub(r"[^A-Za-z0-9]", "_", case)
        shown, total = measure(sylva, doxygen, name, tree, work)
        pages_ok = passes(shown, total, PAGE_FIGURES)
        all_ok = pages_ok and passes(shown, total, LINK_FIGURES)
        page_passes += pages_ok
        all_passes += all_ok
        failing.update(f for f in FIGURES if shown[f] != total[f])
        if args.verbose or not pages_ok:
            figures_text = ", ".join(f"{f} {shown[f]}/{total[f]}" for f in FIGURES if total[f])
            print(f"  {'pass' if pages_ok else 'FAIL'} {case}: {figures_text}")
    print(f"{len(cases)} cases: {page_passes} pass the pages figures, {all_passes} pass all "
          f"figures")
    print("cases failing each figure: " + ", ".join(f"{f} {failing[f]}" for f in FIGURES))


if __name__ == "__main__":
    main()
