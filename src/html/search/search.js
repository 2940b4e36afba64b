// The search of one project's pages. A page that holds a search box (an <input> of class
// "sylva-search") loads this script; it finds items by their names and by the words of their
// pages in the index files written beside the pages. Each index file is a script that hands its
// data to SylvaSearch, so it loads through a <script> element from file:// as from a server, and
// a query loads only what it needs: the manifest, one shard per word typed, and the blocks of the
// item table that hold the results shown.
//
// Ranking, best first: the whole name; a whole word or the last part of the name ("oid" in
// git_oid); a prefix of the name; another part of the name; a word of the description; a word of
// the other sections; a word typed in full before one only begun; a deprecated item after the
// others of the same match; then the order of the items. Words are split and folded as the index's writer does it: only ASCII
// letters are folded, and a word is a run of ASCII letters, digits, '_' and characters above
// U+00BF other than punctuation.
//
// "/" focuses the box, the arrow keys choose a result, Enter opens it, Escape empties the box.
// A page opened with ?q=WORDS shows the results for WORDS. Whatever was typed is only ever shown
// as text.
(function() {
'use strict';
if (window.SylvaSearch) {
    return;
}

const kManifestFile = 'sylva_search_index.js';
const kShardPrefix = 'sylva_search_w_';
const kBlockPrefix = 'sylva_search_i_';
const kScriptExtension = '.js';
const kShardKeyLength = 2;
// A posting: (item - previous item) * 8 + level, in digits of 5 bits, least significant first;
// the first 32 digits end a number, the others are followed by more.
const kDigits = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_';
const kLevelCount = 8;
const kDigitBase = 32;
const kNoMatch = 255;
const kResultsShown = 20;
const kBoxSelector = 'input.sylva-search';
const kResultsEvent = 'sylva-search-results';
const kIndexFrameName = 'Index';
const kDetailsFrameName = 'Details';
const kText = {
    results: (count) => count === 1 ? '1 result' : `${count} results`,
    none: (query) => `No results for \u201c${query}\u201d`,
    shortWord: 'Type two letters or more',
    more: 'More results',
    failed: 'The search index could not be loaded',
    list: 'Search results',
};

const digitValues = new Int8Array(128).fill(-1);
for (let i = 0; i < kDigits.length; i++) {
    digitValues[kDigits.charCodeAt(i)] = i;
}

// --- The index files, loaded on demand ------------------------------------------------------

let manifest = null;
const shards = new Map();  // key -> [term, postings, term, postings, ...]
const blocks = new Map();  // number -> {texts, rows}
const loads = new Map();   // file -> Promise<boolean>

window.SylvaSearch = {
    index(data) {
        manifest = {
            items: data.items,
            block: data.block,
            keys: new Set(data.keys),
            split: new Set(data.split),
            stop: new Set(data.stop),
            deprecated: new Set(data.deprecated ?? []),
        };
    },
    shard(key, list) { shards.set(key, list); },
    items(number, texts, rows) { blocks.set(number, {texts, rows}); },
};

// Resolves to true once the script `file` has run, to false when it cannot be loaded.
function Load(file) {
    if (!loads.has(file)) {
        loads.set(file, new Promise((resolve) => {
                      const script = document.createElement('script');
                      script.src = file;
                      script.onload = () => resolve(true);
                      script.onerror = () => resolve(false);
                      document.head.appendChild(script);
                  }));
    }
    return loads.get(file);
}

async function LoadManifest() {
    if (manifest === null && !(await Load(kManifestFile) && manifest !== null)) {
        throw new Error(kText.failed);
    }
    return manifest;
}

function ShardFile(key) {
    let name = '';
    for (const character of key) {
        name +=
            /[a-z0-9]/.test(character) ? character : `_${character.codePointAt(0).toString(16)}_`;
    }
    return kShardPrefix + name + kScriptExtension;
}

// The key of the shard that holds the terms beginning with `word` (an array of characters), or
// null when the index has no such shard. A shard that grew too large is split by one more
// character; a word no longer than such a key finds only the term equal to it.
function ShardKey(word) {
    let length = Math.min(kShardKeyLength, word.length);
    let key = word.slice(0, length).join('');
    while (manifest.split.has(key) && word.length > length) {
        length++;
        key = word.slice(0, length).join('');
    }
    return manifest.keys.has(key) ? key : null;
}

// --- Words and ranking ----------------------------------------------------------------------

function FoldCase(text) { return text.replace(/[A-Z]+/g, (letters) => letters.toLowerCase()); }

function IsWordCharacter(code) {
    if (code < 0x80) {
        return /[A-Za-z0-9_]/.test(String.fromCharCode(code));
    }
    return code >= 0xC0 && code !== 0xD7 && code !== 0xF7 && !(code >= 0x2000 && code <= 0x206F) &&
        !(code >= 0x3000 && code <= 0x303F) && code !== 0xFEFF && code !== 0xFFFD;
}

function IsWordText(text) {
    for (const character of text) {
        if (!IsWordCharacter(character.codePointAt(0))) {
            return false;
        }
    }
    return true;
}

function WordsOf(text) {
    const words = [];
    let word = '';
    for (const character of text) {
        if (IsWordCharacter(character.codePointAt(0))) {
            word += character;
        } else if (word !== '') {
            words.push(word);
            word = '';
        }
    }
    if (word !== '') {
        words.push(word);
    }
    return words;
}

// How well a term matches, lower is better. Levels as the index's writer files them: 0 the whole
// name, 1 a whole word or the last part of the name, 2 another part of it, 3 a word of the
// description, 4 of the other sections. A whole name or word typed in full ranks above a name
// begun; a part begun ranks with a whole word begun.
function Score(level, exact) {
    switch (level) {
        case 0:
            return exact ? 0 : 2;
        case 1:
            return exact ? 1 : 4;
        default:
            return level * 2 - 1 + (exact ? 0 : 1);
    }
}

function ForEachPosting(encoded, visit) {
    let item = 0;
    let value = 0;
    let scale = 1;
    for (let i = 0; i < encoded.length; i++) {
        const digit = digitValues[encoded.charCodeAt(i)];
        value += (digit % kDigitBase) * scale;
        if (digit >= kDigitBase) {
            scale *= kDigitBase;
            continue;
        }
        item += Math.floor(value / kLevelCount);
        visit(item, value % kLevelCount);
        value = 0;
        scale = 1;
    }
}

// The best score of every item for `word`, or null when no term matches it.
async function ScoresFor(word) {
    const characters = Array.from(word);
    const key = ShardKey(characters);
    if (key === null || !(await Load(ShardFile(key))) || !shards.has(key)) {
        return null;
    }
    // A split shard keeps only the term equal to its key; the others are in the longer keys.
    const exactOnly = manifest.split.has(key);
    const list = shards.get(key);
    let scores = null;
    for (let i = 0; i < list.length; i += 2) {
        const term = list[i];
        const exact = term === word;
        if (!exact && (exactOnly || !term.startsWith(word))) {
            continue;
        }
        scores = scores ?? new Uint8Array(manifest.items).fill(kNoMatch);
        ForEachPosting(list[i + 1], (item, level) => {
            const score = Score(level, exact);
            if (score < scores[item]) {
                scores[item] = score;
            }
        });
    }
    return scores;
}

// The words of a query as they are looked for: each run of non-space text folded; one that no
// term begins with and that holds other characters than word characters ("plant()") is looked
// for as its words. Words that carry no meaning of their own are dropped when others remain.
async function QueryWords(query) {
    const words = [];
    for (const text of FoldCase(query).split(/\s+/).filter((text) => text !== '')) {
        const scores = await ScoresFor(text);
        if (scores !== null || IsWordText(text)) {
            words.push({text, scores});
            continue;
        }
        for (const part of WordsOf(text)) {
            words.push({text: part, scores: await ScoresFor(part)});
        }
    }
    const meaningful = words.filter((word) => !manifest.stop.has(word.text));
    return meaningful.length > 0 ? meaningful : words;
}

// The items that match every word of the query, best first.
async function Search(query) {
    await LoadManifest();
    const words = await QueryWords(query);
    if (words.length === 0 || words.some((word) => word.scores === null)) {
        return {words, items: []};
    }
    const byScore = [];
    const [first, ...others] = words.map((word) => word.scores);
    for (let item = 0; item < first.length; item++) {
        let total = first[item];
        if (total === kNoMatch) {
            continue;
        }
        for (const scores of others) {
            total = scores[item] === kNoMatch ? -1 : total + scores[item];
            if (total < 0) {
                break;
            }
        }
        if (total >= 0) {
            const rank = total * 2 + (manifest.deprecated.has(item) ? 1 : 0);
            (byScore[rank] = byScore[rank] ?? []).push(item);
        }
    }
    return {words, items: byScore.flat()};
}

// The rows of the item table for `items`: {name, page, group, type, summary}.
async function Rows(items) {
    const numbers = [...new Set(items.map((item) => Math.floor(item / manifest.block)))];
    await Promise.all(numbers.map((number) => Load(kBlockPrefix + number + kScriptExtension)));
    return items.map((item) => {
        const block = blocks.get(Math.floor(item / manifest.block));
        const row = block?.rows[item % manifest.block];
        if (row === undefined) {
            return null;
        }
        const [name, page, group, type, summary] = row;
        return {name, page, group: block.texts[group], type: block.texts[type], summary};
    });
}

// --- The result list ------------------------------------------------------------------------

// True when a word may begin at `index` of `text`: at the start, after a character that is not
// part of a word or after '_', at a capital after a small letter, where letters and digits meet.
function WordMayBeginAt(text, index) {
    if (index === 0) {
        return true;
    }
    const before = text[index - 1];
    const here = text[index];
    return !IsWordCharacter(text.codePointAt(index - 1)) || before === '_' ||
        (/[a-z]/.test(before) && /[A-Z]/.test(here)) ||
        (/[0-9]/.test(before) !== /[0-9]/.test(here));
}

// `text` as nodes, each place where a word of the query begins one of its words marked.
function Highlighted(text, words) {
    const folded = FoldCase(text);
    const marked = new Uint8Array(text.length);
    for (const {text: word} of words) {
        for (let at = folded.indexOf(word); at >= 0; at = folded.indexOf(word, at + 1)) {
            if (WordMayBeginAt(text, at)) {
                marked.fill(1, at, at + word.length);
            }
        }
    }
    const fragment = document.createDocumentFragment();
    for (let start = 0; start < text.length;) {
        let end = start;
        while (end < text.length && marked[end] === marked[start]) {
            end++;
        }
        const part = document.createTextNode(text.slice(start, end));
        if (marked[start]) {
            const mark = document.createElement('mark');
            mark.appendChild(part);
            fragment.appendChild(mark);
        } else {
            fragment.appendChild(part);
        }
        start = end;
    }
    return fragment;
}

function Span(className, content) {
    const span = document.createElement('span');
    span.className = className;
    span.append(content);
    return span;
}

let boxCount = 0;

class SearchBox {
    constructor(box) {
        this.box = box;
        this.id = `sylva-results-${++boxCount}`;
        this.generation = 0;
        this.selected = -1;
        this.found = null;
        this.next = 0;  // the first result not yet shown
        this.target = window.name === kIndexFrameName && window.parent !== window ?
            kDetailsFrameName :
            '_self';

        this.panel = document.createElement('div');
        this.panel.className = 'sylva-results';
        this.panel.hidden = true;
        this.status = document.createElement('p');
        this.status.className = 'sylva-status';
        this.status.setAttribute('role', 'status');
        this.list = document.createElement('ul');
        this.list.id = this.id;
        this.list.setAttribute('role', 'listbox');
        this.list.setAttribute('aria-label', kText.list);
        this.more = document.createElement('button');
        this.more.type = 'button';
        this.more.className = 'sylva-more';
        this.more.textContent = kText.more;
        this.more.hidden = true;
        this.panel.append(this.status, this.list, this.more);
        box.insertAdjacentElement('afterend', this.panel);

        box.setAttribute('role', 'combobox');
        box.setAttribute('aria-controls', this.id);
        box.setAttribute('aria-expanded', 'false');
        box.setAttribute('aria-autocomplete', 'list');
        box.addEventListener('input', () => this.Run());
        box.addEventListener('focus', () => LoadManifest().catch(() => {}), {once: true});
        box.addEventListener('keydown', (event) => this.OnKey(event));
        this.more.addEventListener('click', () => this.ShowMore());
    }

    async Run() {
        const generation = ++this.generation;
        const query = this.box.value;
        if (query.trim() === '') {
            this.Close();
            return;
        }
        let found;
        try {
            found = await Search(query);
        } catch (error) {
            if (generation === this.generation) {
                this.Show(query, null, error.message);
            }
            return;
        }
        if (generation !== this.generation) {
            return;
        }
        this.found = found;
        this.list.replaceChildren();
        this.selected = -1;
        this.next = 0;
        const status = found.items.length > 0                 ? kText.results(found.items.length) :
            Array.from(query.trim()).length < kShardKeyLength ? kText.shortWord :
                                                                kText.none(query.trim());
        await this.Append(generation);
        if (generation === this.generation) {
            this.Show(query, found.items.length, status);
        }
    }

    // Shows the next results, as many as one page shows.
    async Append(generation) {
        const first = this.next;
        const items = this.found.items.slice(first, first + kResultsShown);
        const rows = await Rows(items);
        if (generation !== this.generation) {
            return;
        }
        rows.forEach((row, i) => {
            if (row !== null) {
                this.list.appendChild(this.ResultRow(row, first + i));
            }
        });
        this.next = first + items.length;
        this.more.hidden = this.next >= this.found.items.length;
    }

    ResultRow(row, position) {
        const option = document.createElement('li');
        option.id = `${this.id}-${position}`;
        option.setAttribute('role', 'option');
        option.setAttribute('aria-selected', 'false');
        const link = document.createElement('a');
        link.href = row.page;
        link.target = this.target;
        link.tabIndex = -1;
        link.append(Span('sylva-name', Highlighted(row.name, this.found.words)));
        const kind = [row.type, row.group].filter((text) => text !== '').join(' \u00b7 ');
        if (kind !== '') {
            link.append(Span('sylva-kind', kind));
        }
        if (row.summary !== '') {
            link.append(Span('sylva-summary', Highlighted(row.summary, this.found.words)));
        }
        option.appendChild(link);
        return option;
    }

    Show(query, count, status) {
        this.status.textContent = status;
        this.panel.hidden = false;
        this.box.setAttribute('aria-expanded', String((count ?? 0) > 0));
        this.box.dispatchEvent(new CustomEvent(kResultsEvent, {detail: {query, count}}));
    }

    Close() {
        ++this.generation;
        this.found = null;
        this.list.replaceChildren();
        this.panel.hidden = true;
        this.box.setAttribute('aria-expanded', 'false');
        this.box.removeAttribute('aria-activedescendant');
    }

    async ShowMore() {
        if (this.found !== null) {
            await this.Append(this.generation);
        }
    }

    Select(position) {
        const options = this.list.children;
        if (options.length === 0) {
            return;
        }
        this.selected = (position + options.length) % options.length;
        for (let i = 0; i < options.length; i++) {
            options[i].setAttribute('aria-selected', String(i === this.selected));
        }
        const option = options[this.selected];
        this.box.setAttribute('aria-activedescendant', option.id);
        option.scrollIntoView({block: 'nearest'});
    }

    OnKey(event) {
        if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
            event.preventDefault();
            this.Select(this.selected + (event.key === 'ArrowDown' ? 1 : -1));
        } else if (event.key === 'Enter') {
            event.preventDefault();
            const option = this.list.children[Math.max(this.selected, 0)];
            option?.querySelector('a').click();
        } else if (event.key === 'Escape') {
            this.box.value = '';
            this.Close();
        }
    }
}

function IsTypingInto(element) {
    return element !== null &&
        (element.isContentEditable || /^(INPUT|TEXTAREA|SELECT)$/.test(element.tagName));
}

function Start() {
    const boxes = [...document.querySelectorAll(kBoxSelector)].map((box) => new SearchBox(box));
    if (boxes.length === 0) {
        return;
    }
    document.addEventListener('keydown', (event) => {
        if (event.key === '/' && !event.ctrlKey && !event.metaKey && !event.altKey &&
            !IsTypingInto(document.activeElement)) {
            event.preventDefault();
            boxes[0].box.focus();
        }
    });
    const query = new URLSearchParams(window.location.search).get('q');
    if (query !== null && query.trim() !== '') {
        // As if typed: whatever else listens to the box (a filter of the page) follows too.
        boxes[0].box.value = query;
        boxes[0].box.dispatchEvent(new Event('input'));
    }
}

if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', Start);
} else {
    Start();
}
})();
