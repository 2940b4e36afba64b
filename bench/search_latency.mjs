// How fast the search answers in headless chromium: for each query, a fresh load of the page, then
// the time from the keystroke to the first results shown (the frame after the result list was
// filled), measured in the page. Two ways: the whole query arriving in one keystroke (pasted, or
// the first query of the page: nothing of the index loaded yet), and the query typed letter by
// letter 80 ms apart, timed from its last letter. Prints each query and the medians.
//
//   node bench/search_latency.mjs PAGE_URL QUERY...
//
// PAGE_URL is a page with a search box, usually a file:// description page of a site that the
// modern theme made. Needs tests/browser's playwright-core (npm ci there) and Debian's chromium.

import {LaunchChromium} from '../tests/browser/browser.mjs';

const kBox = 'input.sylva-search';
const kTypingDelayMs = 80;

// Runs inside the page: resolves to the milliseconds from the last input event to the frame
// after the results for the box's whole text were shown.
function Watch(box) {
    const input = document.querySelector(box);
    window.sylvaLatency = new Promise((resolve) => {
        let lastInput = 0;
        input.addEventListener('input', () => {
            lastInput = performance.now();
        }, {capture: true});
        input.addEventListener('sylva-search-results', (event) => {
            if (event.detail.query === input.value) {
                requestAnimationFrame(() => resolve(performance.now() - lastInput));
            }
        });
    });
}

async function Measure(page, url, query, typed) {
    await page.goto(url, {waitUntil: 'load'});
    await page.evaluate(Watch, kBox);
    const box = page.locator(kBox).first();
    if (typed) {
        await box.pressSequentially(query, {delay: kTypingDelayMs});
    } else {
        await box.fill(query);
    }
    return page.evaluate(() => window.sylvaLatency);
}

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

async function Main([url, ...queries]) {
    if (url === undefined || queries.length === 0) {
        console.error('usage: node bench/search_latency.mjs PAGE_URL QUERY...');
        return 2;
    }
    const browser = await LaunchChromium();
    try {
        const page = await browser.context.newPage();
        const pasted = [];
        const typed = [];
        console.log('  query                               pasted ms   typed ms');
        for (const query of queries) {
            pasted.push(await Measure(page, url, query, false));
            typed.push(await Measure(page, url, query, true));
            console.log(`  ${query.padEnd(34)} ${pasted.at(-1).toFixed(1).padStart(9)} ${
                typed.at(-1).toFixed(1).padStart(10)}`);
        }
        console.log(
            `  median of ${queries.length} queries: pasted ${median(pasted).toFixed(1)} ms, ` +
            `typed ${median(typed).toFixed(1)} ms`);
    } finally {
        await browser.close();
    }
    return 0;
}

process.exitCode = await Main(process.argv.slice(2));
