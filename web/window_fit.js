// The window's size on a touch screen. At its own size the window is a stamp
// there, with boxes far below a fingertip: it scales, as browser zoom scales
// it, to the largest size the visible viewport holds, and again when the
// phone turns. A fine pointer keeps the window's own size. This runs before
// the window is parsed, so that the window is laid out and painted once, at
// the size it keeps, rather than drawn as the stamp and again.
// size: the window's own width and height; the answer is what the page needs
// to fit the window again and to place the note on it.
'use strict';
function fitWindow(size) {
    const touchScreen = window.matchMedia('(pointer: coarse)');
    let scale = 1;
    let fittedWidth = 0;

    // The visible viewport as it is without the player's own pinch zoom.
    function viewportSize() {
        const viewport = window.visualViewport;
        if (!viewport) return [window.innerWidth, window.innerHeight];
        return [viewport.width * viewport.scale, viewport.height * viewport.scale];
    }

    // Whether the window took another size.
    function fit(force) {
        // Measured on a touch screen only: the viewport's size takes a layout,
        // which a desktop then does before its first paint rather than here.
        const [width, height] = touchScreen.matches ? viewportSize() : [0, 0];
        // Only a turn changes the width. An on-screen keyboard takes height
        // alone, and the window must not shrink under the player's finger.
        if (!force && width === fittedWidth) return false;
        fittedWidth = width;
        const fitting = Math.min(width / size.width, height / size.height);
        // In hundredths, down: a rounded-up size would scroll by a pixel.
        scale = touchScreen.matches ? Math.floor(fitting * 100) / 100 : 1;
        document.body.style.zoom = scale === 1 ? '' : String(scale);
        return true;
    }

    fit(true);
    return { touchScreen, viewportSize, fit, scale: () => scale };
}
