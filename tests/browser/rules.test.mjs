// Tests of the browser test's own rules, without a browser: the static server's mapping of
// requests to files, which references are checked, when a missing target is allowed, and the
// colour judgement. A fault here would let a broken site pass.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {after, before, describe, test} from 'node:test';

import {ContrastRatio, JudgeSchemeColours, ParseComputedColour} from './colours.mjs';
import {ClassifyReference, IsAllowedMissing, IsDescriptionPage, IsPageToVisit, PageKey} from './links.mjs';
import {JudgeMarkup} from './markup.mjs';
import {ResolveRequestPath, ServeDirectory} from './static_server.mjs';

describe('request paths', () => {
    const root = '/srv/site';
    const cases = [
        ['/default/Demo/SYLVA_A.html', '/srv/site/default/Demo/SYLVA_A.html'],
        ['/a%20b.html?IndexList=x#top', '/srv/site/a b.html'],
        ['/./a//b.HTML', '/srv/site/a/b.HTML'],
        [
            '/R%FCckgabe.html',
            Buffer.concat(
                [Buffer.from('/srv/site/R'), Buffer.from([0xfc]), Buffer.from('ckgabe.html')])
        ],
        ['/../etc/passwd', null],
        ['/a/%2e%2E/b', null],
        ['/a%2Fb.html', null],
        ['/a%00.html', null],
        ['/bad%zz.html', null],
        ['/cut%4', null],
        [
            '/R\xfcckgabe.html',
            Buffer.concat(
                [Buffer.from('/srv/site/R'), Buffer.from([0xfc]), Buffer.from('ckgabe.html')])
        ],
        ['/wide\u0100.html', null],
        ['relative.html', null],
    ];
    for (const [target, expected] of cases) {
        test(target, () => {
            const resolved = ResolveRequestPath(root, target);
            const wanted = expected === null ? null : Buffer.from(expected);
            assert.deepEqual(resolved, wanted, `request ${target}`);
        });
    }
});

describe('static server', () => {
    let root;
    let server;
    before(async () => {
        root = fs.mkdtempSync(path.join(os.tmpdir(), 'sylva-served-'));
        fs.writeFileSync(path.join(root, 'Demo.HTML'), '<p>index</p>');
        fs.writeFileSync(path.join(root, 'SYLVA_x y.html'), 'spaced');
        fs.writeFileSync(Buffer.from(`${root}/SYLVA_R\xfc.html`, 'latin1'), 'byte name');
        fs.writeFileSync(path.join(root, 'bBallsGreen.gif'), 'GIF89a');
        fs.mkdirSync(path.join(root, 'Demo'));
        server = await ServeDirectory(root);
    });
    after(async () => {
        await server.close();
        fs.rmSync(root, {recursive: true, force: true});
    });

    // Sends the target as written: fetch() would normalise "..".
    function Request(method, target) {
        return new Promise((resolve, reject) => {
            const request =
                http.request(`${server.origin}${target}`, {method, path: target}, (response) => {
                    let body = '';
                    response.on('data', (chunk) => body += chunk);
                    response.on('end', () => resolve({
                                           status: response.statusCode,
                                           type: response.headers['content-type'],
                                           body
                                       }));
                });
            request.on('error', reject);
            request.end();
        });
    }

    const cases = [
        ['GET', '/Demo.HTML', 200, 'text/html', '<p>index</p>'],
        ['GET', '/demo.html', 404],
        ['GET', '/SYLVA_x%20y.html', 200, 'text/html', 'spaced'],
        ['GET', '/SYLVA_R%FC.html', 200, 'text/html', 'byte name'],
        ['GET', '/SYLVA_R%C3%BC.html', 404],
        ['GET', '/bBallsGreen.gif', 200, 'image/gif', 'GIF89a'],
        ['GET', '/Demo', 404],
        ['GET', '/', 404],
        ['GET', '/missing.html', 404],
        ['GET', '/Demo/../Demo.HTML', 404],
        ['HEAD', '/Demo.HTML', 200, 'text/html', ''],
        ['POST', '/Demo.HTML', 405],
    ];
    for (const [method, target, status, type, body] of cases) {
        test(`${method} ${target}`, async () => {
            const answer = await Request(method, target);
            assert.equal(answer.status, status, `${method} ${target}`);
            if (type !== undefined)
                assert.equal(answer.type, type, `${method} ${target}`);
            if (body !== undefined)
                assert.equal(answer.body, body, `${method} ${target}`);
        });
    }
});

describe('references', () => {
    const origin = 'http://127.0.0.1:8000';
    const page = `${origin}/default/Demo/SYLVA_A.html`;
    const cases = [
        ['#top', {action: 'skip', reason: 'fragment'}],
        ['mailto:someone@example.org', {action: 'skip', reason: 'scheme mailto:'}],
        ['javascript:OpenLink()', {action: 'skip', reason: 'scheme javascript:'}],
        ['file://localhost/C:/doc/index.html', {action: 'skip', reason: 'scheme file:'}],
        ['https://example.org/doc.html', {action: 'skip', reason: 'other host'}],
        ['SYLVA_B.html#Syntax', {action: 'check', url: `${origin}/default/Demo/SYLVA_B.html`}],
        ['  SYLVA_B.html  ', {action: 'check', url: `${origin}/default/Demo/SYLVA_B.html`}],
        [
            '../SYLVA_MAIN_INDEX.HTML',
            {action: 'check', url: `${origin}/default/SYLVA_MAIN_INDEX.HTML`}
        ],
        [
            'SYLVA__define MAX 1.html',
            {action: 'check', url: `${origin}/default/Demo/SYLVA__define%20MAX%201.html`}
        ],
        ['', {action: 'check', url: page}],
        ['http://[bad', {action: 'check', url: null}],
    ];
    for (const [raw, expected] of cases) {
        test(
            JSON.stringify(raw),
            () => assert.deepEqual(ClassifyReference(raw, page, origin), expected, raw));
    }

    const site = `${origin}/default/`;
    const visits = [
        [`${site}Demo/Demo_frame.HTML`, true],
        [`${site}SYLVA_MAIN_INDEX.HTML`, true],
        [`${site}Demo/SYLVA_B.htm`, true],
        [`${site}bBallsGreen.gif`, false],
        [`${origin}/modern/SYLVA_MAIN_INDEX.HTML`, false],
    ];
    for (const [url, expected] of visits) {
        test(`visit ${url}`, () => assert.equal(IsPageToVisit(url, site), expected, url));
    }

    const descriptions = [
        [`${site}Demo/SYLVA_B.html`, true],
        [`${site}Demo/SYLVA_garden__CBed_003.html?x=1`, true],
        [`${site}SYLVA_MAIN_INDEX.HTML`, false],
        [`${site}Demo/Demo.HTML`, false],
        [`${site}Demo/SYLVA_B.HTML`, false],
    ];
    for (const [url, expected] of descriptions) {
        test(`description page ${url}`, () => assert.equal(IsDescriptionPage(url), expected, url));
    }

    test('a page with another query string is the same page', () => {
        assert.equal(
            PageKey(`${site}Demo/Demo_frameidx.HTML?IndexList=SYLVA_B.html`),
            `${site}Demo/Demo_frameidx.HTML`);
    });
});

describe('missing targets', () => {
    const documented = new Set(['Open', 'CFile::Close', 'Main']);
    const cases = [
        ['an ordinary link', {inSeeAlso: false, text: 'Nowhere'}, false],
        ['See also naming no item', {inSeeAlso: true, text: 'std::vector'}, true],
        ['See also from an empty line', {inSeeAlso: true, text: ''}, true],
        ['See also naming an item', {inSeeAlso: true, text: ' CFile::Close '}, false],
        ['See also differing in case only', {inSeeAlso: true, text: 'open'}, true],
        ['the project index link', {inSeeAlso: true, text: 'Project description index'}, false],
        ['the master index link', {inSeeAlso: true, text: 'Main'}, false],
    ];
    for (const [title, reference, expected] of cases) {
        test(
            title,
            () => assert.equal(
                IsAllowedMissing(reference, documented), expected, JSON.stringify(reference)));
    }
});

describe('markup', () => {
    const cases = [
        ['nothing wrong', {unknown: [], entities: []}, 0],
        ['the index templates\' own element', {unknown: ['align="right"'], entities: []}, 0],
        ['an unescaped template argument', {unknown: ['int', 'int'], entities: []}, 1],
        ['an escaped entity shown as text', {unknown: [], entities: ['&lt;', '&amp;']}, 2],
    ];
    for (const [title, collected, problems] of cases) {
        test(title, () => {
            const found = JudgeMarkup(collected);
            assert.equal(found.length, problems, `${JSON.stringify(collected)}: ${found}`);
        });
    }
});

describe('colours', () => {
    const parses = [
        ['rgb(21, 25, 28)', {r: 21, g: 25, b: 28, a: 1}],
        ['rgba(0, 0, 0, 0)', {r: 0, g: 0, b: 0, a: 0}],
        ['rgba(255, 255, 255, 0.5)', {r: 255, g: 255, b: 255, a: 0.5}],
        ['color(srgb 1 1 1)', null],
        ['rgb(300, 0, 0)', null],
    ];
    for (const [text, expected] of parses) {
        test(`parse ${text}`, () => assert.deepEqual(ParseComputedColour(text), expected, text));
    }

    test('contrast runs from 1 to 21', () => {
        const black = {r: 0, g: 0, b: 0};
        const white = {r: 255, g: 255, b: 255};
        assert.equal(ContrastRatio(black, white), 21);
        assert.equal(ContrastRatio(white, black), 21);
        assert.equal(ContrastRatio(white, white), 1);
    });

    const light = 'rgb(253, 253, 252)';
    const dark = 'rgb(21, 25, 28)';
    const judgements = [
        [
            'light page in light scheme', 'light',
            {background: light, text: 'rgb(29, 33, 37)', link: 'rgb(47, 111, 62)'}, 0
        ],
        [
            'dark page in dark scheme', 'dark',
            {background: dark, text: 'rgb(228, 231, 234)', link: 'rgb(124, 196, 141)'}, 0
        ],
        [
            'page without links', 'dark',
            {background: dark, text: 'rgb(228, 231, 234)', link: null}, 0
        ],
        [
            'light page in dark scheme', 'dark',
            {background: light, text: 'rgb(29, 33, 37)', link: null}, 1
        ],
        [
            'dark page in light scheme', 'light',
            {background: dark, text: 'rgb(228, 231, 234)', link: null}, 1
        ],
        [
            'grey text on a dark page', 'dark',
            {background: dark, text: 'rgb(70, 70, 70)', link: null}, 1
        ],
        [
            'dark link on a dark page', 'dark',
            {background: dark, text: 'rgb(228, 231, 234)', link: 'rgb(47, 111, 62)'}, 1
        ],
        [
            'transparent background', 'light',
            {background: 'rgba(0, 0, 0, 0)', text: 'rgb(0, 0, 0)', link: null}, 1
        ],
    ];
    for (const [title, scheme, measured, problems] of judgements) {
        test(title, () => {
            const found = JudgeSchemeColours(scheme, measured);
            assert.equal(
                found.length, problems,
                `${scheme} ${JSON.stringify(measured)}: ${found.join('; ')}`);
        });
    }
});
