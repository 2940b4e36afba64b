// The search of a theme that has one, used as a reader uses it: queries of every kind typed into
// a search box or opened as a ?q= link, judged by their results, the words marked in them and
// where their links lead; the keyboard; and the frame set on a phone-sized screen.
//
// The queries of examples/ (the Nursery library) say what each must find there; on another tree
// only what holds on any site is asked (ItemSearch).

const kBox = 'input.sylva-search';
const kResultsEvent = 'sylva-search-results';
const kResultsTimeoutMs = 10000;

// Each query with what its results must be: `names` all of them in order, `first` the first one,
// `firstMarks` the words marked in the first one's name, `nameHolds` a word that the names of the
// first results hold and the later ones do not (names rank before texts).
const kNoResultQuery = {
    what: 'a query no item matches',
    query: 'zz-no-item-holds-this-zz',
    names: []
};
const kHostileQuery = {
    what: 'a query holding markup and quotes',
    query: '<script>window.sylvaInjected=1</script> "quoted" \'single\' ' +
        '<img src=x onerror="window.sylvaInjected=2">',
    names: [],
};

const kExamplesQueries = [
    {
        what: 'an exact name',
        query: 'CBed::Plant',
        first: 'CBed::Plant',
        firstMarks: ['CBed::Plant']
    },
    {what: 'a name prefix', query: 'cbed::pl', names: ['CBed::Plant'], firstMarks: ['CBed::Pl']},
    {what: 'a word of names and texts', query: 'Plant', nameHolds: 'plant', firstMarks: ['Plant']},
    {what: 'a word only in a Remarks section', query: 'firmware', names: ['NurseryVersion']},
    {
        what: 'a word of an item documented with German keywords',
        query: 'Knospen',
        names: ['NURSERY_MIN_CUT_HEIGHT']
    },
    {what: 'two words, each anywhere', query: 'water bed', first: 'WaterBed'},
    {
        what: 'the last part of a name before a name that only begins with it',
        query: 'bed',
        first: 'CBed'
    },
    kNoResultQuery,
    kHostileQuery,
];

// What the search is asked on a site: `queries` (rows as above), `open` the name of an item whose
// exact query's first result is opened, `keyboard` one chosen with the arrow keys.
export const kExamplesSearch = {
    queries: kExamplesQueries,
    open: 'CBed::Plant',
    keyboard: 'WaterBed'
};

// The search of a tree other than examples/, asked about the item `name` it shows.
export function ItemSearch(name) {
    return {
        queries: [{what: 'an exact name', query: name, first: name}, kNoResultQuery, kHostileQuery],
        open: name,
        keyboard: name,
    };
}

function Fail(message) { throw new Error(message); }

// Runs inside a page or frame: the result list of its first search box as a reader sees it.
function ReadResults() {
    const box = document.querySelector('input.sylva-search');
    const panel = box?.nextElementSibling;
    if (!panel?.classList.contains('sylva-results')) {
        return null;
    }
    const results = [...panel.querySelectorAll('li a')].map(
        (link) => ({
            name: link.querySelector('.sylva-name')?.textContent ?? '',
            href: link.href,
            target: link.getAttribute('target'),
            marks: [...link.querySelectorAll('.sylva-name mark')].map((mark) => mark.textContent),
        }));
    return {
        shown: !panel.hidden && panel.getClientRects().length > 0,
        status: panel.querySelector('.sylva-status')?.textContent ?? '',
        results,
        // Anything the query could have planted had it been read as HTML.
        planted: panel.querySelectorAll('script, img, iframe, [onerror]').length +
            (window.sylvaInjected === undefined ? 0 : 1),
    };
}

// Resolves to the results of the first search box of `frame` once `act()` has made it show those
// for `query`.
async function ResultsAfter(frame, query, act) {
    const shown = frame.evaluate(
        ([box, event, wanted, timeout]) => new Promise((resolve) => {
            const input = document.querySelector(box);
            const timer = setTimeout(() => resolve(false), timeout);
            input.addEventListener(event, function listener(shown) {
                if (shown.detail.query === wanted) {
                    clearTimeout(timer);
                    input.removeEventListener(event, listener);
                    resolve(true);
                }
            });
        }),
        [kBox, kResultsEvent, query, kResultsTimeoutMs]);
    await act();
    if (!(await shown)) {
        Fail(`no results were shown for "${query}"`);
    }
    return frame.evaluate(ReadResults);
}

// Types `query` into the first search box of `frame` and resolves to its results once shown.
export function TypeQuery(frame, query) {
    return ResultsAfter(frame, query, () => frame.locator(kBox).first().fill(query));
}

// Opens `pageUrl` with ?q=query and resolves to the results once shown: in the page itself, or in
// its frame named `frameName`.
export async function OpenQueryLink(page, pageUrl, query, frameName = undefined) {
    const url = new URL(pageUrl);
    url.searchParams.set('q', query);
    await page.goto(url.href, {waitUntil: 'load'});
    const frame = frameName === undefined ?
        page.mainFrame() :
        page.frame({name: frameName}) ?? Fail(`the page has no frame "${frameName}"`);
    await frame.waitForFunction(() => {
        const panel = document.querySelector('.sylva-results');
        return panel !== null && !panel.hidden;
    }, null, {timeout: kResultsTimeoutMs});
    return frame.evaluate(ReadResults);
}

const Same = (a, b) => JSON.stringify(a) === JSON.stringify(b);

// The problems of the results `read` for the query row `row`; links must aim at `target`.
export async function JudgeResults(row, read, target, statuses) {
    if (read === null) {
        return ['the page has no search box with a result list after it'];
    }
    const problems = [];
    const names = read.results.map((result) => result.name);
    if (!read.shown) {
        problems.push('the result list is not shown');
    }
    if (read.planted > 0) {
        problems.push('the query was read as HTML: it planted elements or ran a script');
    }
    const wantedStatus =
        names.length === 0 ? `No results for \u201c${row.query}\u201d` : /^\d+ results?$/;
    if (typeof wantedStatus === 'string' ? read.status !== wantedStatus :
                                           !wantedStatus.test(read.status)) {
        problems.push(`the list says "${read.status}", expected ${wantedStatus}`);
    }
    if (row.names !== undefined && !Same(names, row.names)) {
        problems.push(`found ${JSON.stringify(names)}, expected ${JSON.stringify(row.names)}`);
    }
    if (row.first !== undefined && names[0] !== row.first) {
        problems.push(`the first result is "${names[0]}", expected "${row.first}"`);
    }
    if (row.nameHolds !== undefined) {
        const holds = names.map((name) => name.toLowerCase().includes(row.nameHolds));
        const firstWithout = holds.indexOf(false);
        if (!holds[0] || (firstWithout >= 0 && holds.slice(firstWithout).includes(true))) {
            problems.push(
                `names holding "${row.nameHolds}" do not all come first: ${JSON.stringify(names)}`);
        }
    }
    if (row.firstMarks !== undefined && !Same(read.results[0]?.marks, row.firstMarks)) {
        problems.push(`the first result marks ${JSON.stringify(read.results[0]?.marks)}, expected ${
            JSON.stringify(row.firstMarks)}`);
    }
    for (const result of read.results) {
        if (result.target !== target) {
            problems.push(
                `the link to ${result.name} opens in "${result.target}", not "${target}"`);
        }
        const status = await statuses.Status(result.href.split(/[?#]/)[0]);
        if (status !== 200) {
            problems.push(`the link to ${result.name} leads to ${result.href}: ${status}`);
        }
    }
    return problems;
}

// Runs every query of `queries` with `run(query)` and fails with all problems found.
export async function CheckQueries(queries, run, target, statuses) {
    const problems = [];
    for (const row of queries) {
        try {
            for (const problem of await JudgeResults(row, await run(row.query), target, statuses)) {
                problems.push(`${row.what} (${JSON.stringify(row.query)}): ${problem}`);
            }
        } catch (error) {
            problems.push(`${row.what} (${JSON.stringify(row.query)}): ${error.message}`);
        }
    }
    if (problems.length > 0) {
        Fail(problems.join('\n'));
    }
}

// "/" focuses the box of a description page, the arrow keys choose the result `name` and Enter
// opens it.
export async function CheckKeyboard(page, pageUrl, name) {
    await page.goto(pageUrl, {waitUntil: 'load'});
    await page.locator('body').click({position: {x: 2, y: 2}});
    await page.keyboard.press('/');
    const focused = await page.evaluate((box) => document.activeElement?.matches(box), kBox);
    if (!focused) {
        Fail('"/" did not focus the search box');
    }
    const read = await ResultsAfter(page.mainFrame(), name, () => page.keyboard.type(name));
    const wanted = read?.results.findIndex((result) => result.name === name) ?? -1;
    if (wanted < 0) {
        Fail(`typing "${name}" did not find ${name}`);
    }
    for (let i = 0; i <= wanted; i++) {
        await page.keyboard.press('ArrowDown');
    }
    const selected =
        await page.locator('.sylva-results li[aria-selected="true"] .sylva-name').textContent();
    if (selected !== name) {
        Fail(`the arrow keys chose "${selected}", expected "${name}"`);
    }
    // The result may be the page the box stands on: wait for the load, not for a new address.
    await Promise.all([page.waitForEvent('load'), page.keyboard.press('Enter')]);
    if (page.url() !== read.results[wanted].href) {
        Fail(`Enter opened ${page.url()}, expected ${read.results[wanted].href}`);
    }
    if ((await page.title()) !== name) {
        Fail(`Enter opened "${await page.title()}", expected ${name}`);
    }
}

// Runs inside a frame or page: true when its content is wider than its window.
function ScrollsSideways() {
    return document.documentElement.scrollWidth > document.documentElement.clientWidth + 1;
}

export async function FramesScrollingSideways(page) {
    const wide = [];
    for (const frame of page.frames()) {
        if (await frame.evaluate(ScrollsSideways)) {
            wide.push(frame.url());
        }
    }
    return wide;
}
