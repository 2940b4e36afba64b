// Visits every page of a generated site in the browser, collects each page's references
// (href, src, frame sources and the drop-down's page names) and checks that their targets answer
// 200. Pages are parsed by the browser itself, so a reference counts exactly as a reader's
// browser sees it, frames included.

import {ClassifyReference, FolderOf, IsAllowedMissing, IsDescriptionPage, IsPageToVisit, IsSampled, kMasterIndexLinkText, kSeeAlsoHeading, PageKey} from './links.mjs';

// Answers the HTTP status of a URL once and remembers it.
export class StatusCache {
    #statuses = new Map();

    async Status(url) {
        if (!this.#statuses.has(url)) {
            const answered = (response) => response.status;
            const unreachable = (error) => `unreachable (${error.message})`;
            this.#statuses.set(url, fetch(url, {method: 'HEAD'}).then(answered, unreachable));
        }
        return this.#statuses.get(url);
    }
}

// Runs inside the page. Returns the page's references in document order, marking those of the
// See also section (from its heading to the closing "Main" link), and the texts of the item rows
// of an index frame (links aimed at the "Details" frame), which are the documented item names.
function CollectReferencesInPage([seeAlsoHeading, closingLinkText]) {
    let heading = null;
    const walker = document.createTreeWalker(document.documentElement, NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
        if (walker.currentNode.data.trim() === seeAlsoHeading)
            heading = walker.currentNode;
    }
    const references = [];
    let seeAlsoClosed = false;
    const elements =
        document.querySelectorAll('[href], [src], select[name="IndexList"] option[value]');
    for (const element of elements) {
        const tag = element.tagName.toLowerCase();
        const text = (element.textContent || '').trim();
        const afterHeading = heading !== null &&
            (heading.compareDocumentPosition(element) & Node.DOCUMENT_POSITION_FOLLOWING) !== 0;
        const inSeeAlso = tag === 'a' && afterHeading && !seeAlsoClosed;
        if (inSeeAlso && text === closingLinkText)
            seeAlsoClosed = true;
        const attributes = tag === 'option' ? ['value'] : ['href', 'src'];
        for (const attribute of attributes) {
            if (!element.hasAttribute(attribute))
                continue;
            references.push(
                {tag, attribute, raw: element.getAttribute(attribute), text, inSeeAlso});
        }
    }
    const itemNames = [...document.querySelectorAll('a[target]')]
                          .filter((link) => link.getAttribute('target').toLowerCase() === 'details')
                          .map((link) => link.textContent.trim());
    return {baseUri: document.baseURI, references, itemNames};
}

// Visits the site from startUrl, breadth first, staying inside siteUrl. onPage(url) runs on
// every page reached, after it has loaded. With sampleEvery N it opens only one description page
// in N, in the order they are found (the index's order), and every other page; the references
// of the pages opened are all checked, those to pages left closed included. Returns what was
// found; nothing is judged here.
export async function CrawlSite(page, {startUrl, siteUrl, statuses, onPage, sampleEvery = 1}) {
    const siteOrigin = new URL(siteUrl).origin;
    const queue = [startUrl];
    const queued = new Set([PageKey(startUrl)]);
    const references = [];
    const namesByFolder = new Map();
    const pagesVisited = [];
    let skipped = 0;
    let descriptionPages = 0;
    for (let next = 0; next < queue.length; next++) {
        const url = queue[next];
        // A page that does not answer 200 is not opened: the reference to it is reported.
        if ((await statuses.Status(url)) !== 200)
            continue;
        await page.goto(url, {waitUntil: 'load'});
        pagesVisited.push(url);
        const found =
            await page.evaluate(CollectReferencesInPage, [kSeeAlsoHeading, kMasterIndexLinkText]);
        const folder = FolderOf(url);
        if (!namesByFolder.has(folder))
            namesByFolder.set(folder, new Set());
        for (const name of found.itemNames)
            namesByFolder.get(folder).add(name);
        if (onPage)
            await onPage(url);
        for (const reference of found.references) {
            const decision = ClassifyReference(reference.raw, found.baseUri, siteOrigin);
            if (decision.action === 'skip') {
                skipped++;
                continue;
            }
            references.push({...reference, page: url, url: decision.url});
            if (decision.url === null || !IsPageToVisit(decision.url, siteUrl))
                continue;
            const key = PageKey(decision.url);
            if (queued.has(key))
                continue;
            queued.add(key);
            if (IsDescriptionPage(key) && !IsSampled(descriptionPages++, sampleEvery))
                continue;
            queue.push(key);
        }
    }
    return {references, namesByFolder, pagesVisited, skipped};
}

// Splits the crawl's references whose target does not answer 200 into broken ones and allowed
// ones (See also entries naming no documented item of the page's project).
export async function JudgeReferences({references, namesByFolder}, statuses) {
    const broken = [];
    const allowed = [];
    for (const reference of references) {
        const status = reference.url === null ? 'unparsable' : await statuses.Status(reference.url);
        if (status === 200)
            continue;
        const names = namesByFolder.get(FolderOf(reference.page)) ?? new Set();
        (IsAllowedMissing(reference, names) ? allowed : broken).push({...reference, status});
    }
    return {broken, allowed};
}

export function DescribeReference({tag, attribute, raw, inSeeAlso, page, url, status}) {
    const where = inSeeAlso ? ' (See also)' : '';
    const target = url ?? '(cannot be resolved)';
    return `<${tag} ${attribute}="${raw}">${where} on ${page} -> ${target}: ${status}`;
}
