// Drives Debian's chromium, headless, over documentation that sylva generated, once per theme,
// the way a reader uses it; see site_checks.mjs for what is checked. Exits 1 when a check fails.
//
//   node site_test.mjs --root DIR --project NAME [--item NAME] [--theme NAME]... [--screenshots
//   DIR [--screenshot-prefix TEXT]] [--sample-every N] [--other-tree]
//
// DIR holds one output directory per theme, named like the theme ("default", "modern"), each
// with its master index. --item names the item shown in the details frame (else the middle one
// of the index frame); --screenshots saves pictures of each theme's frame set into that folder,
// their names after TEXT; --sample-every N opens only one description page in N of a large site
// (every link of the pages opened is still followed); --other-tree says that the site documents
// another tree than examples/, so the search is asked only about the item shown.

import fs from 'node:fs';
import {parseArgs} from 'node:util';

import {LaunchChromium} from './browser.mjs';
import {StatusCache} from './crawl.mjs';
import {CheckSite} from './site_checks.mjs';
import {ServeDirectory} from './static_server.mjs';

// What each theme shows, and so what can be checked on it.
const kThemes = new Map([
    [
        'default', {
            name: 'default',
            dropDown: true,
            filterBox: false,
            search: false,
            schemes: ['light'],
            screenshots: [{scheme: 'light', file: 'frameset-default.png'}],
        }
    ],
    [
        'modern', {
            name: 'modern',
            dropDown: false,
            filterBox: true,
            search: true,
            schemes: ['light', 'dark'],
            screenshots: [
                {scheme: 'light', file: 'frameset-modern-light.png'},
                {scheme: 'dark', file: 'frameset-modern-dark.png'},
                {scheme: 'light', file: 'search-modern-light.png', query: 'water'},
                {scheme: 'dark', file: 'search-modern-phone-dark.png', query: 'water', phone: true},
            ],
        }
    ],
]);

class Reporter {
    passed = 0;
    failed = 0;

    async Check(title, body) {
        try {
            await body();
            this.passed++;
            console.log(`ok   ${title}`);
        } catch (error) {
            this.failed++;
            console.log(`FAIL ${title}`);
            for (const line of String(error.message).split('\n'))
                console.log(`       ${line}`);
        }
    }

    Note(text) { console.log(`note ${text}`); }
}

const kUsage = 'usage: node site_test.mjs --root DIR --project NAME [--item NAME] ' +
    '[--theme NAME]... [--screenshots DIR [--screenshot-prefix TEXT]] [--sample-every N] ' +
    '[--other-tree]';

function ParseCommandLine() {
    let values;
    try {
        ({values} = parseArgs({
             options: {
                 root: {type: 'string'},
                 project: {type: 'string'},
                 item: {type: 'string'},
                 theme: {type: 'string', multiple: true},
                 screenshots: {type: 'string'},
                 'screenshot-prefix': {type: 'string'},
                 'sample-every': {type: 'string'},
                 'other-tree': {type: 'boolean'},
             },
         }));
    } catch (error) {
        console.error(`${error.message}\n${kUsage}`);
        process.exit(2);
    }
    const every = Number(values['sample-every'] ?? '1');
    if (!Number.isInteger(every) || every < 1) {
        console.error(`--sample-every needs a whole number from 1\n${kUsage}`);
        process.exit(2);
    }
    values.sampleEvery = every;
    if (values.root === undefined || values.project === undefined) {
        console.error(kUsage);
        process.exit(2);
    }
    for (const theme of values.theme ?? []) {
        if (!kThemes.has(theme)) {
            console.error(`unknown theme "${theme}"; known: ${[...kThemes.keys()].join(', ')}`);
            process.exit(2);
        }
    }
    return values;
}

async function Main() {
    const options = ParseCommandLine();
    const themes = (options.theme ?? [...kThemes.keys()]).map((name) => kThemes.get(name));
    if (options.screenshots !== undefined)
        fs.mkdirSync(options.screenshots, {recursive: true});

    const server = await ServeDirectory(options.root);
    const reporter = new Reporter();
    let browser = null;
    try {
        browser = await LaunchChromium();
        const statuses = new StatusCache();
        for (const theme of themes) {
            await CheckSite(browser.context, reporter, statuses, {
                theme,
                siteUrl: `${server.origin}/${theme.name}/`,
                projectName: options.project,
                itemName: options.item,
                examples: !options['other-tree'],
                screenshotDir: options.screenshots,
                screenshotPrefix: options['screenshot-prefix'],
                sampleEvery: options.sampleEvery,
            });
        }
    } finally {
        if (browser !== null)
            await browser.close();
        await server.close();
    }
    console.log(`browser: ${reporter.passed} passed, ${reporter.failed} failed`);
    return reporter.failed === 0 ? 0 : 1;
}

process.exitCode = await Main();
