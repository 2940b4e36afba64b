// The checks run over one generated site in the browser: the way a reader enters it (master
// index, project link, frame set), the index frame's ways of choosing an item, the theme's
// colour schemes, filter box and search (search_checks.mjs), every link of every page, and the
// console.
//
// The frame set checks run in order on one page and share what they found in `state`; a check
// whose predecessor failed fails too, with its own message.

import path from 'node:path';

import {JudgeSchemeColours} from './colours.mjs';
import {CrawlSite, DescribeReference, JudgeReferences} from './crawl.mjs';
import {CollectMarkupInPage, JudgeMarkup} from './markup.mjs';
import {CheckKeyboard, CheckQueries, FramesScrollingSideways, ItemSearch, kExamplesSearch, OpenQueryLink, TypeQuery,} from './search_checks.mjs';

export const kMasterIndexFile = 'SYLVA_MAIN_INDEX.HTML';
const kFrameSetSuffix = '_frame.HTML';
const kIndexFrameSuffix = '_frameidx.HTML';
const kDropDown = 'select[name="IndexList"]';
const kFilterMissText = 'zz-no-item-holds-this-zz';
const kBrowserIconPath = '/favicon.ico';
const kSearchResultLinks = '.sylva-results a';
const kPhoneViewport = {
    width: 390,
    height: 844
};

const kLongParameter = {
    name: 'git_repository_open_ext_options_for_a_repository_found_by_searching_upwards',
    type: 'const struct git_repository_open_extended_options_with_a_very_long_name *',
};

function Fail(message) { throw new Error(message); }

// Runs inside a description page: gives its parameter table (one of the page's own class when it
// has none) a row with a long name and type, as real libraries have them.
function AddLongParameter(parameter) {
    let table = document.querySelector('table.params');
    if (table === null) {
        table = document.createElement('table');
        table.className = 'params';
        document.body.appendChild(table);
    }
    const row = table.insertRow();
    row.insertCell().textContent = parameter.name;
    row.insertCell().textContent = parameter.type;
}

// Runs inside a frame or page. The colours a reader sees behind and in the body: a transparent
// body shows the root element's background, and a transparent root shows the canvas.
function MeasureColoursInPage() {
    const body = document.body;
    if (body === null || body.tagName !== 'BODY') {
        return null;
    }
    const transparent = (colour) => colour === 'rgba(0, 0, 0, 0)' || colour === 'transparent';
    let background = getComputedStyle(body).backgroundColor;
    if (transparent(background)) {
        background = getComputedStyle(document.documentElement).backgroundColor;
    }
    if (transparent(background)) {
        const probe = document.createElement('div');
        probe.style.backgroundColor = 'Canvas';
        document.documentElement.appendChild(probe);
        background = getComputedStyle(probe).backgroundColor;
        probe.remove();
    }
    const link = document.querySelector('a[href]');
    return {
        background,
        text: getComputedStyle(body).color,
        link: link === null ? null : getComputedStyle(link).color,
    };
}

// Problems of every frame of the page (or the page itself) in each scheme of the theme.
async function SchemeProblems(page, schemes) {
    const problems = [];
    for (const scheme of schemes) {
        await page.emulateMedia({colorScheme: scheme});
        for (const frame of page.frames()) {
            const measured = await frame.evaluate(MeasureColoursInPage);
            if (measured === null) {
                continue;
            }
            for (const problem of JudgeSchemeColours(scheme, measured)) {
                problems.push(`${scheme}: ${frame.url()}: ${problem}`);
            }
        }
    }
    await page.emulateMedia({colorScheme: schemes[0]});
    return problems;
}

// Every item link of the index frame (a link aimed at the "Details" frame, not one of the
// search's results), in page order: [{name, href, shown}].
function ItemLinks(indexFrame) {
    return indexFrame.$$eval('a[target]', (links, results) => {
        const items = links.filter(
            (link) =>
                link.getAttribute('target').toLowerCase() === 'details' && !link.matches(results));
        return items.map((link) => ({
                             name: link.textContent.trim(),
                             href: link.href,
                             shown: link.getClientRects().length > 0,
                         }));
    }, kSearchResultLinks);
}

// The items of the index frame, each once: an item stands twice when the alphabetical index
// follows the groups.
async function ItemRows(indexFrame) {
    const seen = new Set();
    const links = await ItemLinks(indexFrame);
    return links.filter((link) => !seen.has(link.href) && seen.add(link.href));
}

function ChooseItem(rows, wanted) {
    if (rows.length === 0) {
        Fail('the index frame lists no items');
    }
    if (wanted === undefined) {
        return rows[Math.floor(rows.length / 2)];
    }
    return rows.find((row) => row.name === wanted) ??
        Fail(`the index frame has no item "${wanted}"`);
}

async function ExpectDetails(details, row) {
    if (details.url() !== row.href) {
        Fail(`the Details frame shows ${details.url()}, expected ${row.href}`);
    }
    const title = await details.title();
    if (title !== row.name) {
        Fail(`the Details frame's page is titled "${title}", expected "${row.name}"`);
    }
}

function NeedFrames(state) { return state.index ?? Fail('the frame set did not open'); }

async function OpenFrameSet({page, site, statuses, state}) {
    const masterUrl = site.siteUrl + kMasterIndexFile;
    const status = await statuses.Status(masterUrl);
    if (status !== 200) {
        Fail(`${masterUrl} answers ${status}`);
    }
    await page.goto(masterUrl, {waitUntil: 'load'});
    const link = page.getByRole('link', {name: site.projectName, exact: true});
    const count = await link.count();
    if (count !== 1) {
        Fail(`the master index has ${count} links named "${site.projectName}"`);
    }
    const isFrameSet = (url) => url.href.endsWith(kFrameSetSuffix);
    await Promise.all([page.waitForURL(isFrameSet, {waitUntil: 'load'}), link.click()]);
    state.frameSetUrl = page.url();
}

async function CheckFrames({page, site, statuses, state}) {
    if (state.frameSetUrl === undefined) {
        Fail('the frame set did not open');
    }
    const base = state.frameSetUrl.slice(0, -kFrameSetSuffix.length);
    const expected = {Index: base + kIndexFrameSuffix, Details: base + '.HTML'};
    for (const [name, url] of Object.entries(expected)) {
        const frame = page.frame({name}) ?? Fail(`the frame set has no frame "${name}"`);
        if (frame.url() !== url) {
            Fail(`frame "${name}" shows ${frame.url()}, expected ${url}`);
        }
        const status = await statuses.Status(url);
        if (status !== 200) {
            Fail(`frame "${name}": ${url} answers ${status}`);
        }
        const title = await frame.title();
        if (title !== site.projectName) {
            Fail(`frame "${name}" is titled "${title}", expected "${site.projectName}"`);
        }
        const text = await frame.evaluate(() => (document.body?.innerText ?? '').trim());
        if (text === '') {
            Fail(`frame "${name}" shows no text`);
        }
    }
    state.index = page.frame({name: 'Index'});
    state.details = page.frame({name: 'Details'});
    state.rows = await ItemRows(state.index);
    state.item = ChooseItem(state.rows, site.itemName);
}

async function ChooseWithGo({state}) {
    const index = NeedFrames(state);
    const select = index.locator(kDropDown);
    const values = await select.locator('option').evaluateAll((all) => all.map((o) => o.value));
    if (values.length !== state.rows.length) {
        Fail(`the drop-down has ${values.length} entries for ${state.rows.length} items`);
    }
    const leadsToItem = (value) => new URL(value, index.url()).href === state.item.href;
    state.itemOption =
        values.find(leadsToItem) ?? Fail(`no drop-down entry leads to ${state.item.href}`);
    await select.selectOption(state.itemOption);
    await Promise.all([
        state.details.waitForURL(state.item.href, {waitUntil: 'load'}),
        index.locator('input[value="Go"]').click(),
    ]);
    await ExpectDetails(state.details, state.item);
    // "Go" also submits the drop-down's form, which reloads the index frame.
    await index.waitForLoadState('load');
}

async function ChooseWithRow({page, state}) {
    const index = NeedFrames(state);
    const other = state.rows.find((row) => row.href !== state.details.url()) ?? state.item;
    for (const row of [other, state.item]) {
        // The whole text: "event_new" must not find "bufferevent_new" first.
        const wholeName = new RegExp(`^${row.name.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')}$`);
        const link = index.locator('a[target]').filter({hasText: wholeName}).first();
        await Promise.all([state.details.waitForURL(row.href, {waitUntil: 'load'}), link.click()]);
        await ExpectDetails(state.details, row);
        if (page.url() !== state.frameSetUrl) {
            Fail(`the window left the frame set for ${page.url()}`);
        }
    }
}

// A text that some but not all item names hold, in upper case so that the filter must ignore
// case; with a single item, that item's name.
function FilterQuery(rows) {
    const names = rows.map((row) => row.name.toLowerCase());
    const partial = names.find((name) => names.some((other) => !other.includes(name)));
    return (partial ?? names[0]).toUpperCase();
}

async function CheckFilterBox({state}) {
    const index = NeedFrames(state);
    const box = index.locator('input[type="search"]');
    for (const text of [FilterQuery(state.rows), kFilterMissText, '']) {
        await box.fill(text);
        const holds = (link) => link.name.toLowerCase().includes(text.toLowerCase());
        const links = await ItemLinks(index);
        const wrong = links.filter((link) => link.shown !== holds(link));
        if (wrong.length > 0) {
            const listed = wrong.map((link) => `${link.name} (${link.shown ? 'shown' : 'hidden'})`);
            Fail(`after typing "${text}" these rows are shown or hidden wrongly: ${
                listed.join(', ')}`);
        }
    }
}

// Runs inside a frame: the colours of the search's first result against the page.
function MeasureResultColours() {
    const name = document.querySelector('.sylva-results .sylva-name');
    const summary = document.querySelector('.sylva-results .sylva-summary');
    if (name === null || summary === null) {
        return null;
    }
    return {
        background: getComputedStyle(document.body).backgroundColor,
        text: getComputedStyle(summary).color,
        link: getComputedStyle(name).color,
    };
}

// What the search is asked on `site`: about examples/, or about the item the checks show.
function SearchPlan(site, state) {
    return site.examples ? kExamplesSearch : ItemSearch(state.item.name);
}

// With results shown in `frame`: the problems of their colours in each scheme.
async function ResultColourProblems(page, frame, schemes) {
    const problems = [];
    for (const scheme of schemes) {
        await page.emulateMedia({colorScheme: scheme});
        const measured = await frame.evaluate(MeasureResultColours);
        if (measured === null) {
            problems.push(`${scheme}: the results show no name and summary`);
            continue;
        }
        for (const problem of JudgeSchemeColours(scheme, measured)) {
            problems.push(`${scheme}: the results: ${problem}`);
        }
    }
    await page.emulateMedia({colorScheme: schemes[0]});
    return problems;
}

// Types the item name `name` into the index frame and opens its first result in the details
// frame, which must be that item.
async function OpenFirstResult(index, details, name) {
    const read = await TypeQuery(index, name);
    const first = read.results[0] ?? Fail(`"${name}" found nothing`);
    // The details frame may show that item already: wait for its next load, not for an address.
    const navigated = details.page().waitForEvent('framenavigated', (frame) => frame === details);
    await index.locator(kSearchResultLinks).first().click();
    await navigated;
    await details.waitForLoadState('load');
    await ExpectDetails(details, {name, href: first.href});
}

async function CheckIndexFrameSearch({page, site, statuses, state}) {
    const index = NeedFrames(state);
    const plan = SearchPlan(site, state);
    await CheckQueries(plan.queries, (query) => TypeQuery(index, query), 'Details', statuses);
    await OpenFirstResult(index, state.details, plan.open);
    const problems = await ResultColourProblems(page, index, site.theme.schemes);
    await index.locator('input.sylva-search').fill('');
    if (problems.length > 0) {
        Fail(problems.join('\n'));
    }
}

async function CheckQueryLinks({page, site, statuses, state}) {
    NeedFrames(state);
    await CheckQueries(
        SearchPlan(site, state).queries, (query) => OpenQueryLink(page, state.item.href, query),
        '_self', statuses);
}

async function CheckSearchKeys({page, site, state}) {
    NeedFrames(state);
    await CheckKeyboard(page, state.item.href, SearchPlan(site, state).keyboard);
}

// The frame set on a phone-sized screen, in each colour scheme: the pages take the whole width,
// the bar above them opens the index, its search finds what it finds on a desktop, choosing a
// result shows it and closes the index, and no frame scrolls sideways.
async function CheckPhone({browserContext, site, statuses, state, consoleErrors}) {
    NeedFrames(state);
    const plan = SearchPlan(site, state);
    const phone = await browserContext.newPage();
    WatchConsole(phone, consoleErrors);
    const problems = [];
    try {
        await phone.setViewportSize(kPhoneViewport);
        for (const scheme of site.theme.schemes) {
            await phone.emulateMedia({colorScheme: scheme});
            await phone.goto(state.frameSetUrl, {waitUntil: 'load'});
            const indexFrame = phone.locator('iframe[name="Index"]');
            const detailsFrame = phone.locator('iframe[name="Details"]');
            if (await indexFrame.isVisible() || !(await detailsFrame.isVisible())) {
                problems.push(`${scheme}: the index does not give the details the whole screen`);
            }
            await phone.getByRole('button', {name: 'Index'}).click();
            if (!(await indexFrame.isVisible())) {
                Fail(`${scheme}: the bar's "Index" button does not open the index`);
            }
            const index = phone.frame({name: 'Index'});
            await CheckQueries(
                plan.queries, (query) => TypeQuery(index, query), 'Details', statuses);
            await TypeQuery(index, plan.open);
            problems.push(...await ResultColourProblems(phone, index, [scheme]));
            problems.push(...(await SchemeProblems(phone, [scheme])));
            await OpenFirstResult(index, phone.frame({name: 'Details'}), plan.open);
            if (await indexFrame.isVisible() || !(await detailsFrame.isVisible())) {
                problems.push(`${scheme}: choosing a result leaves the index open`);
            }
            for (const url of await FramesScrollingSideways(phone)) {
                problems.push(`${scheme}: ${url} scrolls sideways`);
            }
        }
        // A description page alone, with a long parameter: it fits the screen, or only its table
        // scrolls.
        await phone.goto(state.item.href, {waitUntil: 'load'});
        await phone.evaluate(AddLongParameter, kLongParameter);
        for (const url of await FramesScrollingSideways(phone)) {
            problems.push(`${url} with a long parameter name scrolls sideways`);
        }
        // A linked search: the frame set hands ?q= to its index and opens it.
        const linked = await OpenQueryLink(phone, state.frameSetUrl, plan.open, 'Index');
        if (linked.results[0]?.name !== plan.open ||
            !(await phone.locator('iframe[name="Index"]').isVisible())) {
            problems.push(
                `the frame set opened with ?q=${plan.open} does not show its results in the index`);
        }
    } finally {
        await phone.close();
    }
    if (problems.length > 0) {
        Fail(problems.join('\n'));
    }
}

async function CheckFrameSetColours({page, site, state}) {
    NeedFrames(state);
    const problems = await SchemeProblems(page, site.theme.schemes);
    if (problems.length > 0) {
        Fail(problems.join('\n'));
    }
}

async function TakeScreenshots({page, site, state}) {
    NeedFrames(state);
    // Choosing a row scrolled the index frame, left the pointer on it and the focus in the
    // filter box; the picture shows each frame's head at rest.
    await page.mouse.move(page.viewportSize().width - 1, 0);
    for (const frame of page.frames()) {
        await frame.evaluate(() => {
            window.scrollTo(0, 0);
            document.activeElement?.blur();
        });
    }
    // "Go" reloads the index frame, which resets the drop-down; show the item chosen.
    if (state.itemOption !== undefined) {
        await state.index.locator(kDropDown).selectOption(state.itemOption);
    }
    const desktop = page.viewportSize();
    for (const shot of site.theme.screenshots) {
        await page.emulateMedia({colorScheme: shot.scheme});
        // A shot may show a phone-sized screen with the index opened from its bar, and the
        // results of a query in the index frame.
        if (shot.phone) {
            await page.setViewportSize(kPhoneViewport);
            await page.getByRole('button', {name: 'Index'}).click();
        }
        if (shot.query !== undefined) {
            await TypeQuery(state.index, shot.query);
            await state.index.evaluate(() => document.activeElement?.blur());
        }
        const file = (site.screenshotPrefix ?? '') + shot.file;
        await page.screenshot({path: path.join(site.screenshotDir, file)});
        if (shot.query !== undefined) {
            await state.index.locator('input.sylva-search').fill('');
        }
        if (shot.phone) {
            await page.getByRole('button', {name: 'Close'}).click();
            await page.setViewportSize(desktop);
        }
    }
    await page.emulateMedia({colorScheme: site.theme.schemes[0]});
}

async function FollowBackLink({page, site, state}) {
    const index = NeedFrames(state);
    const back = index.locator('a[target="_top"]', {hasText: 'back'}).first();
    const master = site.siteUrl + kMasterIndexFile;
    await Promise.all([page.waitForURL(master, {waitUntil: 'load'}), back.click()]);
}

const kSchemeWords = (theme) => `the ${theme.schemes.join(' and ')} colour scheme`;

// The frame set checks in the order a reader meets them; `when` leaves out what a theme or a
// run does not show.
const kFrameSetChecks = [
    {
        title: 'the master index links the project, and the link opens its frame set',
        run: OpenFrameSet
    },
    {title: 'the frame set loads its index frame and its details frame', run: CheckFrames},
    {
        title: 'choosing an item in the drop-down and pressing "Go" shows its page',
        when: (site) => site.theme.dropDown,
        run: ChooseWithGo,
    },
    {
        title: 'an item row of the index frame opens the item in the details frame',
        run: ChooseWithRow
    },
    {
        title: 'the filter box shows exactly the items whose names hold the text typed',
        when: (site) => site.theme.filterBox,
        run: CheckFilterBox,
    },
    {
        title: 'the index frame\'s search finds every kind of query, and a result opens in the ' +
            'details frame',
        when: (site) => site.theme.search,
        run: CheckIndexFrameSearch,
    },
    {
        title: (theme) => `the frame set reads well in ${kSchemeWords(theme)}`,
        run: CheckFrameSetColours
    },
    {
        title: 'screenshots of the frame set',
        when: (site) => site.screenshotDir !== undefined,
        run: TakeScreenshots,
    },
    {
        title: 'the index frame\'s "back" link returns the whole window to the master index',
        run: FollowBackLink
    },
];

// The search's checks that leave the frame set, run after the checks above.
const kSearchPageChecks = [
    {
        title: 'a description page opened with ?q=WORDS shows the results for WORDS',
        run: CheckQueryLinks
    },
    {
        title: '"/" focuses the search box, the arrow keys choose a result, Enter opens it',
        run: CheckSearchKeys
    },
    {
        title: 'on a 390 px screen the bar opens the index, whose search works, and nothing ' +
            'scrolls sideways',
        run: CheckPhone,
    },
];

// Collects the page's console errors and uncaught script errors, with where they came from, into
// `errors`.
function WatchConsole(page, errors = []) {
    page.on('console', (message) => {
        const source = message.location().url;
        // The browser asks for the site's icon on its own; no generated page refers to one.
        const isIcon = source !== '' && new URL(source).pathname === kBrowserIconPath;
        if (message.type() === 'error' && !isIcon) {
            errors.push(`${source}: ${message.text()}`);
        }
    });
    page.on('pageerror', (error) => errors.push(`uncaught: ${error.message}`));
    return errors;
}

// Checks one site. site: {theme, siteUrl, projectName, itemName, examples, screenshotDir,
// screenshotPrefix, sampleEvery}; theme says which of the index frame's controls it shows and
// which colour schemes it supports; `examples` is true when the site documents examples/, whose
// search is asked what it must find there; sampleEvery N opens one description page in N
// (CrawlSite).
export async function CheckSite(browserContext, reporter, statuses, site) {
    const {theme} = site;
    const page = await browserContext.newPage();
    const consoleErrors = WatchConsole(page);
    await page.emulateMedia({colorScheme: theme.schemes[0]});
    const check = (title, body) => reporter.Check(`${theme.name}: ${title}`, body);

    const context = {page, site, statuses, state: {}, browserContext, consoleErrors};
    for (const {title, when, run} of kFrameSetChecks) {
        if (when === undefined || when(site)) {
            const words = typeof title === 'function' ? title(theme) : title;
            await check(words, () => run(context));
        }
    }
    if (theme.search) {
        for (const {title, run} of kSearchPageChecks) {
            await check(title, () => run(context));
        }
    }

    // The crawl visits every page once; the link check and the colour check judge what it saw.
    let schemeProblems = null;
    let markupProblems = null;
    const pagesChecked = site.sampleEvery > 1 ?
        `every index page and one description page in ${site.sampleEvery}` :
        'every page';
    await check(`every link of ${pagesChecked} resolves`, async () => {
        const problems = [];
        const markup = [];
        const collectProblems = async (url) => {
            for (const problem of await SchemeProblems(page, theme.schemes)) {
                problems.push(`${url}: ${problem}`);
            }
            for (const problem of JudgeMarkup(await page.evaluate(CollectMarkupInPage))) {
                markup.push(`${url}: ${problem}`);
            }
        };
        const startUrl = site.siteUrl + kMasterIndexFile;
        const crawl = await CrawlSite(page, {
            startUrl,
            siteUrl: site.siteUrl,
            statuses,
            onPage: collectProblems,
            sampleEvery: site.sampleEvery,
        });
        schemeProblems = problems;
        markupProblems = markup;
        const judged = await JudgeReferences(crawl, statuses);
        for (const reference of judged.allowed) {
            reporter.Note(
                `${theme.name}: See also entry naming no item: ${DescribeReference(reference)}`);
        }
        reporter.Note(
            `${theme.name}: ${crawl.pagesVisited.length} pages visited, ` +
            `${crawl.references.length} references checked, ${crawl.skipped} outside the site`);
        if (judged.broken.length > 0) {
            Fail(judged.broken.map(DescribeReference).join('\n'));
        }
    });
    await check(`${pagesChecked} reads well in ${kSchemeWords(theme)}`, async () => {
        if (schemeProblems === null) {
            Fail('the pages were not all visited');
        }
        if (schemeProblems.length > 0) {
            Fail(schemeProblems.join('\n'));
        }
    });
    await check(`${pagesChecked} shows its text as written, without broken markup`, async () => {
        if (markupProblems === null) {
            Fail('the pages were not all visited');
        }
        if (markupProblems.length > 0) {
            Fail(markupProblems.join('\n'));
        }
    });
    await check('no script errors or console errors', async () => {
        if (consoleErrors.length > 0) {
            Fail(consoleErrors.join('\n'));
        }
    });
    await page.close();
}
