// The link check in the browser, over a small hand-made site with known faults: every dangling
// reference must be reported with its page, and only a See also entry naming no documented item
// may dangle.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {LaunchChromium} from './browser.mjs';
import {CrawlSite, JudgeReferences, StatusCache} from './crawl.mjs';
import {CollectMarkupInPage, JudgeMarkup} from './markup.mjs';
import {ServeDirectory} from './static_server.mjs';

const kSite = {
    'SYLVA_MAIN_INDEX.HTML': '<table><tr><td><a href="P/P_frame.HTML">P</a></td></tr></table>' +
        '<a href="mailto:someone@example.org">mail</a><a href="#top">top</a>',
    'P/P_frame.HTML': '<FRAMESET COLS="240,*"><FRAME SRC="P_frameidx.HTML" NAME="Index">' +
        '<FRAME SRC="P.HTML" NAME="Details"></FRAMESET>',
    'P/P_frameidx.HTML': '<a href="../SYLVA_MAIN_INDEX.HTML" target="_top">back</a>' +
        '<form name="FormList"><select name="IndexList"><option value="SYLVA_Alpha.html">Alpha' +
        '<option value="SYLVA_Gone.html">Gone</select></form><img src="missing.gif">' +
        '<a href="SYLVA_Alpha.html" target="Details">Alpha</a><BR>' +
        '<a href="SYLVA_Beta.html" TARGET="Details">Beta</a><BR>' +
        '<a href="SYLVA_Gamma_000.html" target="Details">Gamma</a><BR>',
    'P/P.HTML': '<a href="SYLVA_Alpha.html#Syntax">Alpha</a><a href="https://example.org/">out</a>',
    'P/SYLVA_Alpha.html': '<p>Uses <a href="SYLVA_Beta.html">Beta</a>.</p>' +
        '<p><strong><big><font face="Arial">See also:</font></big></strong>' +
        '<P><a href="SYLVA_Beta.html">Beta</a><BR><a href="SYLVA_std__string.html">std::string</a><BR>' +
        '<a href="SYLVA_Gamma.html">Gamma</a><BR><a href="SYLVA_.html"></a><BR>' +
        '<a href="P.HTML">Project description index</a><BR>' +
        '<a href="../SYLVA_MAIN_INDEX.HTML" target="_top">Main</a><BR></P>' +
        '<footer><a href="SYLVA_After.html">after the section</a></footer>',
    'P/SYLVA_Beta.html': '<p>See <a href="SYLVA_Nothing.html">Nothing</a>.</p>' +
        '<p>std::vector<int> v; a &amp;lt; b</p><h2>See also:</h2>' +
        '<div><a href="P.html">Project description index</a><br>' +
        '<a href="../SYLVA_MAIN_INDEX.HTML" target="_top">Main</a><br></div>',
    'P/SYLVA_Gamma_000.html': '<h1>Gamma</h1><a href="SYLVA_Lost.html">Lost</a>',
};

let root;
let server;
let browser;

before(async () => {
    root = fs.mkdtempSync(path.join(os.tmpdir(), 'sylva-crawl-'));
    for (const [name, body] of Object.entries(kSite)) {
        fs.mkdirSync(path.dirname(path.join(root, 'site', name)), {recursive: true});
        fs.writeFileSync(path.join(root, 'site', name), `<html>${body}</html>`);
    }
    server = await ServeDirectory(root);
    browser = await LaunchChromium();
});

after(async () => {
    await browser?.close();
    await server?.close();
    fs.rmSync(root, {recursive: true, force: true});
});

// The pages of the hand-made site that are no description pages: the crawl opens them always.
const kIndexPages = ['P/P.HTML', 'P/P_frame.HTML', 'P/P_frameidx.HTML', 'SYLVA_MAIN_INDEX.HTML'];

// Crawls the hand-made site with `options` added; returns the pages visited and the broken and
// allowed references, each named relative to the site and sorted.
async function CrawlHandMadeSite(page, options = {}) {
    const siteUrl = `${server.origin}/site/`;
    const statuses = new StatusCache();
    const crawl = await CrawlSite(
        page, {startUrl: `${siteUrl}SYLVA_MAIN_INDEX.HTML`, siteUrl, statuses, ...options});
    const judged = await JudgeReferences(crawl, statuses);
    const relative = (url) => url.slice(siteUrl.length);
    const short = (reference) => `${relative(reference.page)} -> ${reference.raw}`;
    return {
        crawl,
        judged,
        relative,
        visited: crawl.pagesVisited.map(relative).sort(),
        broken: judged.broken.map(short).sort(),
        allowed: judged.allowed.map(short).sort(),
    };
}

test(
    'every dangling reference is found with its page; only unknown See also names may dangle',
    async () => {
        const page = await browser.context.newPage();
        const {crawl, judged, visited, broken, allowed} = await CrawlHandMadeSite(page);
        const descriptions = ['P/SYLVA_Alpha.html', 'P/SYLVA_Beta.html', 'P/SYLVA_Gamma_000.html'];
        assert.deepEqual(visited, [...kIndexPages, ...descriptions].sort());
        assert.deepEqual(broken, [
            'P/P_frameidx.HTML -> SYLVA_Gone.html',
            'P/P_frameidx.HTML -> missing.gif',
            'P/SYLVA_Alpha.html -> SYLVA_After.html',
            'P/SYLVA_Alpha.html -> SYLVA_Gamma.html',
            'P/SYLVA_Beta.html -> P.html',
            'P/SYLVA_Beta.html -> SYLVA_Nothing.html',
            'P/SYLVA_Gamma_000.html -> SYLVA_Lost.html',
        ]);
        assert.deepEqual(allowed, [
            'P/SYLVA_Alpha.html -> SYLVA_.html',
            'P/SYLVA_Alpha.html -> SYLVA_std__string.html',
        ]);
        assert.ok(
            judged.broken.every((reference) => reference.status === 404), 'statuses are kept');
        assert.equal(crawl.skipped, 3, 'mailto, fragment and other host are not followed');
        await page.close();
    });

test(
    'one description page in N is opened, and every reference of the pages opened is checked',
    async () => {
        const page = await browser.context.newPage();
        const markup = new Map();
        const collect = async (url) =>
            markup.set(url, JudgeMarkup(await page.evaluate(CollectMarkupInPage)));
        const {relative, visited, broken} =
            await CrawlHandMadeSite(page, {sampleEvery: 2, onPage: collect});
        // The description pages in the order the index frame gives them: Alpha (opened), Gone,
        // Beta (opened), Gamma_000.
        assert.deepEqual(
            visited, [...kIndexPages, 'P/SYLVA_Alpha.html', 'P/SYLVA_Beta.html'].sort());
        assert.ok(broken.includes('P/P_frameidx.HTML -> SYLVA_Gone.html'), String(broken));
        assert.ok(!broken.includes('P/SYLVA_Gamma_000.html -> SYLVA_Lost.html'), String(broken));
        const problems = new Map([...markup].map(([url, found]) => [relative(url), found]));
        assert.deepEqual(problems.get('P/SYLVA_Alpha.html'), []);
        assert.equal(
            problems.get('P/SYLVA_Beta.html').length, 2, String(problems.get('P/SYLVA_Beta.html')));
        await page.close();
    });
