// Broken markup on a generated page: text the browser took for an element it does not know (a
// "<" of plain text left unescaped, as in "std::vector<int>"), and entities a page shows as text
// (an "&" escaped twice). The judgement is kept free of the browser; the collector runs inside the
// page.

// The built-in templates of the index pages write `<align="right">` (an attribute without its
// element) in front of their closing line, which browsers read as an element of that name; it is
// fixed text of the templates, the same on every site, and shows nothing.
const kTemplateElements = new Set(['align="right"']);

// Runs inside the page: the names of the elements the browser does not know, and the entities
// its text shows.
export function CollectMarkupInPage() {
    const unknown = [...document.querySelectorAll('*')]
                        .filter((element) => element instanceof HTMLUnknownElement)
                        .map((element) => element.localName);
    const text = document.body?.innerText ?? '';
    return {unknown, entities: text.match(/&(lt|gt|amp|quot|#[0-9]+|#x[0-9a-fA-F]+);/g) ?? []};
}

// What is wrong with the markup collected from one page; empty when nothing is.
export function JudgeMarkup({unknown, entities}) {
    const problems = [];
    for (const name of new Set(unknown)) {
        if (!kTemplateElements.has(name))
            problems.push(
                `an element <${name}> no browser knows: a "<" of the text is not escaped`);
    }
    for (const entity of new Set(entities))
        problems.push(`the text shows "${entity}": an "&" is escaped twice`);
    return problems;
}
