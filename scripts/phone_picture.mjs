// The page on a phone's screen in headless Chromium, typed in as a player
// would: INT 100, Enter, Medi 99.5, Enter, Focus 0. Writes the PNG to the path
// given.
// usage: node scripts/phone_picture.mjs OUT.png
import { launch, openPage } from '../web/tests/browser.mjs';

const [, , out] = process.argv;
const browser = await launch();
try {
    // A mid-range phone's screen, at one device pixel per CSS pixel so that
    // the picture stays small.
    const device = { viewport: { width: 393, height: 851 }, isMobile: true, hasTouch: true };
    const page = await openPage(browser, { device });
    for (const [text, key] of [['100', 'Enter'], ['99.5', 'Enter'], ['0', null]]) {
        await page.keyboard.type(text);
        if (key) await page.keyboard.press(key);
    }
    await page.screenshot({ path: out });
} finally {
    await browser.close();
}
