// Colour arithmetic for judging whether a page is readable in a colour scheme: parsing the
// colours the browser computes, their relative luminance and the contrast ratio between two.

// Parses "rgb(r, g, b)" or "rgba(r, g, b, a)" as getComputedStyle writes them.
// Returns {r, g, b, a} with channels 0..255 and alpha 0..1, or null for anything else.
export function ParseComputedColour(text) {
    const match =
        /^rgba?\(\s*([\d.]+)[\s,]+([\d.]+)[\s,]+([\d.]+)(?:\s*[,/]\s*([\d.]+))?\s*\)$/.exec(
            text.trim());
    if (match === null)
        return null;
    const [r, g, b] = match.slice(1, 4).map(Number);
    const a = match[4] === undefined ? 1 : Number(match[4]);
    if ([r, g, b].some((channel) => channel > 255) || a > 1)
        return null;
    return {r, g, b, a};
}

function Linear(channel) {
    const value = channel / 255;
    return value <= 0.04045 ? value / 12.92 : ((value + 0.055) / 1.055) ** 2.4;
}

// Relative luminance, 0 for black to 1 for white.
export function Luminance({r, g, b}) {
    return 0.2126 * Linear(r) + 0.7152 * Linear(g) + 0.0722 * Linear(b);
}

// Contrast ratio between two opaque colours, 1 (none) to 21 (black on white).
export function ContrastRatio(first, second) {
    const [light, dark] = [Luminance(first), Luminance(second)].sort((x, y) => y - x);
    return (light + 0.05) / (dark + 0.05);
}

// Ordinary text needs 4.5:1 to be comfortably readable.
export const kMinimumTextContrast = 4.5;

// Judges the colours measured on one page for a scheme ('light' or 'dark'). measured holds the
// computed texts {background, text, link}; link may be null on a page without links.
// Returns the list of problems, empty when the page reads well in that scheme.
export function JudgeSchemeColours(scheme, measured) {
    const background = ParseComputedColour(measured.background);
    const text = ParseComputedColour(measured.text);
    if (background === null || background.a < 1) {
        return [`background ${measured.background} is not an opaque colour`];
    }
    if (text === null)
        return [`text colour ${measured.text} cannot be read`];
    const problems = [];
    const luminance = Luminance(background);
    if (scheme === 'dark' && luminance > 0.2) {
        problems.push(`background ${measured.background} is not dark`);
    }
    if (scheme === 'light' && luminance < 0.6) {
        problems.push(`background ${measured.background} is not light`);
    }
    const pairs = [['text', text]];
    if (measured.link !== null)
        pairs.push(['link', ParseComputedColour(measured.link)]);
    for (const [role, colour] of pairs) {
        if (colour === null) {
            problems.push(`${role} colour cannot be read`);
            continue;
        }
        const ratio = ContrastRatio(colour, background);
        if (ratio < kMinimumTextContrast) {
            problems.push(`${role} ${measured[role]} on ${measured.background}: contrast ${
                ratio.toFixed(2)}`);
        }
    }
    return problems;
}
