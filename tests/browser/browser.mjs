// Starts Debian's chromium, headless, through playwright-core, with a fresh profile that is
// removed again on close. Nothing is downloaded: the browser is the system's /usr/bin/chromium.

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {chromium} from 'playwright-core';

const kChromium = '/usr/bin/chromium';
// The machine's network is closed: without these, chromium's own connections are refused and
// stall its start.
const kChromiumArguments = [
    '--headless',
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
];
const kViewport = {
    width: 1200,
    height: 800
};
const kActionTimeoutMs = 15000;

// Resolves to {context, close}; close() ends the browser and removes its profile.
export async function LaunchChromium() {
    const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'sylva-chromium-'));
    const removeProfile = () => fs.rmSync(userDataDir, {recursive: true, force: true});
    let context;
    try {
        context = await chromium.launchPersistentContext(userDataDir, {
            executablePath: kChromium,
            headless: true,
            args: kChromiumArguments,
            viewport: kViewport,
        });
    } catch (error) {
        removeProfile();
        throw error;
    }
    context.setDefaultTimeout(kActionTimeoutMs);
    return {
        context,
        close: async () => {
            await context.close();
            removeProfile();
        },
    };
}
