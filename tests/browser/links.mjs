// Rules of the link check, kept free of the browser so that they can be tested on their own:
// which references are followed, which are pages to visit, and when a missing target is allowed.

// The two links that close every See also section; they always name pages of the project.
export const kProjectIndexLinkText = 'Project description index';
export const kMasterIndexLinkText = 'Main';
// The heading above the See also section on a description page.
export const kSeeAlsoHeading = 'See also:';

// Decides what to do with one href/src/option value found on the page at pageUrl.
// Returns {action: 'skip', reason} or {action: 'check', url} where url has no fragment.
// Invariant: only references that resolve to http(s) on siteOrigin are checked; other schemes
// (mailto:, javascript:, file:) and other hosts are outside the generated site.
export function ClassifyReference(raw, pageUrl, siteOrigin) {
    const text = raw.trim();
    if (text.startsWith('#'))
        return {action: 'skip', reason: 'fragment'};
    let url;
    try {
        url = new URL(text, pageUrl);
    } catch {
        return {action: 'check', url: null};
    }
    if (url.protocol !== 'http:' && url.protocol !== 'https:') {
        return {action: 'skip', reason: `scheme ${url.protocol}`};
    }
    if (url.origin !== siteOrigin)
        return {action: 'skip', reason: 'other host'};
    url.hash = '';
    return {action: 'check', url: url.href};
}

// A page to visit (and collect links from): an HTML file inside the site's folder.
export function IsPageToVisit(url, siteUrl) {
    const parsed = new URL(url);
    return url.startsWith(siteUrl) && /\.html?$/i.test(parsed.pathname);
}

// A description page of a project (the pages of the index and the master index end in ".HTML").
export function IsDescriptionPage(url) {
    return /\/SYLVA_[^/]*\.html$/.test(new URL(url).pathname);
}

// Whether the crawl opens the description page found `ordinal`-th (from 0) when it opens one in
// every `every`: the first, then every `every`-th after it.
export function IsSampled(ordinal, every) { return ordinal % every === 0; }

// The crawl key of a URL: the same page with another query string is not visited again.
export function PageKey(url) {
    const parsed = new URL(url);
    parsed.search = '';
    parsed.hash = '';
    return parsed.href;
}

// The folder of a page's URL; description pages, index and frame of a project share one.
export function FolderOf(url) { return new URL('.', url).href; }

// A missing target is allowed only for a See also entry that names no documented item: the
// section turns every line into a link, also lines that name something outside the project.
// The closing "Project description index" and "Main" links must always resolve.
export function IsAllowedMissing(reference, documentedNames) {
    if (!reference.inSeeAlso)
        return false;
    const name = reference.text.trim();
    if (name === kProjectIndexLinkText || name === kMasterIndexLinkText)
        return false;
    return !documentedNames.has(name);
}
