// Checks a generated page whose names or texts were chosen to break it: each text shows as
// plain text, no link leaves the disk by a scheme of its own, and no script ran because of a
// text (the page's title is still the one it was given, and the marker `window.pwned` the
// hostile texts would set is unset). Clicking each text of `open` first (a menu's topics)
// runs the page's own script over them too. Parameters:
//   { "title": "",                                   // the title the page sets itself
//     "open": ["Topic", ...],                        // clicked in order, each once
//     "shown": ["text", ...],                        // shown afterwards
//     "links": [{"text": "a.html", "href": "..."}],  // the address of the link showing a text
//     "globals": {"name": "value"} }                 // script variables and their values
module.exports = async function (page, params) {
    const { title = '', open = [], shown = [], links = [], globals = {} } = params;
    for (const text of open) {
        await page.waitFor(`"${text}" shows`, async () => page.shown(text));
        await page.click(text);
    }
    for (const text of shown) await page.waitFor(`"${text}" shows`, async () => page.shown(text));
    for (const { text, href } of links) {
        const link = await page.linkOf(text);
        page.check(link === href, `"${text}" links to ${href} (got ${link})`);
    }
    const protocols = await page.evaluate(
        `[...document.querySelectorAll('a[href]')].map((a) => a.protocol)`);
    page.check(protocols.every((p) => p === 'file:'),
        `every link leads to a file (${[...new Set(protocols)].join(' ')})`);
    for (const [name, value] of Object.entries(globals)) {
        const now = await page.evaluate(`typeof ${name} === 'undefined' ? null : ${name}`);
        page.check(now === value, `${name} is ${JSON.stringify(value)} (got ${JSON.stringify(now)})`);
    }
    const now = await page.evaluate('document.title');
    page.check(now === title, `the title is still "${title}" (got "${now}")`);
    page.check(await page.evaluate('window.pwned === undefined'), 'no text ran as script');
    await page.screenshot();
};
