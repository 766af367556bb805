#!/usr/bin/env node
// Opens one page from disk in headless Chromium and runs a check script against it, so that a
// generated page is tested in the program it is written for. Needs only Node and Debian's
// chromium: the browser is driven through its DevTools protocol over a pipe
// (--remote-debugging-pipe: commands go to the browser on its fd 3, answers and events come
// back on its fd 4, each message one JSON text followed by a NUL byte).
//
//   node browser-check.js <page.html> <checks.js> <screenshot.png> [params-json]
//
// checks.js exports `async function (page, params)`; it throws (or calls page.fail) when a
// check fails. `params` is the parsed JSON argument ({} when none). The page object offers:
//   page.shown(text)           true when an element showing exactly `text` is visible
//   page.present(text)         true when such an element is in the page, shown or not
//   page.box(text)             {x, y, width, height} of the visible element, or null
//   page.linkOf(text)          the address of the link showing `text`, or null
//   page.pictureBeside(text)   {file, loaded} of the picture left of that text on its line
//   page.click(text)           a real mouse click in the middle of that text
//   page.waitFor(what, test)   polls the async `test` until it is true (fails after a while)
//   page.evaluate(expression)  the value of a script expression in the page
//   page.screenshot()          saves the page as it is now to <screenshot.png>
//   page.check(ok, what)       fails with `what` unless ok; prints "ok - what" otherwise
//   page.fail(what)
// A script error in the page fails the run; a resource that cannot be loaded (a missing
// script file) is only printed. On failure the screenshot shows the page as it was then.
// Exit status: 0 passed, 1 a check failed, 2 the browser could not be started or driven.
//
// The C++ tests run it through tests/support/browser_check.h; tests/browser/menu-checks.js
// is an example check script.
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { pathToFileURL } = require('url');

const CHROMIUM = process.env.PAGEWICK_CHROMIUM || '/usr/bin/chromium';
const RUN_TIMEOUT_MS = 90000; // the whole run, browser start included
const STEP_TIMEOUT_MS = 15000; // one command, or one waitFor
const VIEWPORT = { width: 900, height: 600 };

class CheckFailed extends Error {}

function usage() {
    console.error('usage: browser-check.js <page.html> <checks.js> <screenshot.png> [params-json]');
    process.exit(2);
}

// One Chromium process with one tab, driven over the DevTools pipe.
class Browser {
    constructor() {
        this.profile = fs.mkdtempSync(path.join(os.tmpdir(), 'pagewick-chromium-'));
        this.nextId = 1;
        this.pending = new Map();
        this.listeners = [];
        this.stderr = '';
        this.buffer = Buffer.alloc(0);
        this.exited = false;
    }

    start() {
        const args = [
            '--headless', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
            '--no-first-run', '--no-default-browser-check', '--disable-extensions',
            '--disable-background-networking', '--disable-sync', '--mute-audio',
            '--hide-scrollbars', `--user-data-dir=${this.profile}`,
            `--window-size=${VIEWPORT.width},${VIEWPORT.height}`,
            '--remote-debugging-pipe', 'about:blank',
        ];
        this.process = spawn(CHROMIUM, args, { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
        this.exitedPromise = new Promise((resolve) => {
            this.process.on('exit', (code, signal) => {
                this.exited = true;
                const why = new Error(`chromium ended (${signal || code})`);
                for (const { reject } of this.pending.values()) reject(why);
                this.pending.clear();
                resolve();
            });
        });
        this.process.on('error', (error) => {
            this.exited = true;
            for (const { reject } of this.pending.values()) reject(error);
            this.pending.clear();
        });
        this.process.stderr.on('data', (data) => {
            this.stderr = (this.stderr + data).slice(-20000);
        });
        this.toBrowser = this.process.stdio[3];
        this.fromBrowser = this.process.stdio[4];
        this.toBrowser.on('error', () => {});
        this.fromBrowser.on('data', (data) => this.receive(data));
    }

    receive(data) {
        this.buffer = Buffer.concat([this.buffer, data]);
        let end;
        while ((end = this.buffer.indexOf(0)) >= 0) {
            const message = JSON.parse(this.buffer.subarray(0, end).toString('utf8'));
            this.buffer = this.buffer.subarray(end + 1);
            if (message.id !== undefined && this.pending.has(message.id)) {
                const { resolve, reject, method } = this.pending.get(message.id);
                this.pending.delete(message.id);
                if (message.error) reject(new Error(`${method}: ${message.error.message}`));
                else resolve(message.result);
            } else if (message.method) {
                for (const listener of this.listeners) listener(message);
            }
        }
    }

    send(method, params = {}, sessionId = undefined) {
        if (this.exited) return Promise.reject(new Error(`chromium is not running (${method})`));
        const id = this.nextId++;
        const message = { id, method, params };
        if (sessionId) message.sessionId = sessionId;
        return new Promise((resolve, reject) => {
            const timer = setTimeout(() => {
                this.pending.delete(id);
                reject(new Error(`${method}: no answer within ${STEP_TIMEOUT_MS} ms`));
            }, STEP_TIMEOUT_MS);
            this.pending.set(id, {
                method,
                resolve: (value) => { clearTimeout(timer); resolve(value); },
                reject: (error) => { clearTimeout(timer); reject(error); },
            });
            this.toBrowser.write(JSON.stringify(message) + '\0');
        });
    }

    // Resolves with the first event of that name (of the session, when given).
    nextEvent(method, sessionId) {
        return new Promise((resolve, reject) => {
            const timer = setTimeout(() => {
                done();
                reject(new Error(`no ${method} within ${STEP_TIMEOUT_MS} ms`));
            }, STEP_TIMEOUT_MS);
            const listener = (message) => {
                if (message.method === method && (!sessionId || message.sessionId === sessionId)) {
                    done();
                    resolve(message.params);
                }
            };
            const done = () => {
                clearTimeout(timer);
                this.listeners = this.listeners.filter((l) => l !== listener);
            };
            this.listeners.push(listener);
        });
    }

    async close() {
        if (!this.exited) {
            this.send('Browser.close').catch(() => {});
            const killer = setTimeout(() => this.process.kill('SIGKILL'), 5000);
            await this.exitedPromise;
            clearTimeout(killer);
        }
        fs.rmSync(this.profile, { recursive: true, force: true });
    }
}

// Functions run inside the page; they take plain values and return plain values.
const inPage = {
    // Every element whose own shown text is exactly `text` (the innermost of nested ones).
    find: function (text) {
        const same = (el) => (el.innerText || el.textContent || '').trim() === text;
        const found = [];
        for (const el of document.body ? document.body.querySelectorAll('*') : []) {
            if (!same(el) || Array.from(el.children).some(same)) continue;
            const r = el.getBoundingClientRect();
            const style = getComputedStyle(el);
            const visible = r.width > 0 && r.height > 0 && style.visibility !== 'hidden';
            const link = el.closest('a');
            found.push({
                box: { x: r.left, y: r.top, width: r.width, height: r.height },
                visible,
                link: link ? link.getAttribute('href') : null,
            });
        }
        return found;
    },
    picture: function (box) {
        let best = null;
        for (const img of document.images) {
            const r = img.getBoundingClientRect();
            if (r.width === 0 || r.height === 0) continue;
            const middle = r.top + r.height / 2;
            if (middle < box.y - 2 || middle > box.y + box.height + 2 || r.right > box.x + 2) continue;
            if (!best || r.right > best.right) best = { right: r.right, img };
        }
        if (!best) return null;
        const src = best.img.currentSrc || best.img.src;
        return {
            file: decodeURIComponent(src.split('/').pop()),
            loaded: best.img.complete && best.img.naturalWidth > 0,
        };
    },
};

class Page {
    constructor(browser, sessionId, screenshotPath) {
        this.browser = browser;
        this.sessionId = sessionId;
        this.screenshotPath = screenshotPath;
        this.errors = [];
        this.notes = [];
        browser.listeners.push((message) => {
            if (message.sessionId !== sessionId) return;
            if (message.method === 'Runtime.exceptionThrown') {
                const d = message.params.exceptionDetails;
                const where = d.url ? ` (${path.basename(d.url)}:${d.lineNumber + 1})` : '';
                this.errors.push(((d.exception && d.exception.description) || d.text) + where);
            } else if (message.method === 'Log.entryAdded') {
                const e = message.params.entry;
                this.notes.push(`${e.level}: ${e.text}${e.url ? ' ' + path.basename(e.url) : ''}`);
            }
        });
    }

    send(method, params) {
        return this.browser.send(method, params, this.sessionId);
    }

    async open(file) {
        await this.send('Page.enable');
        await this.send('Runtime.enable');
        await this.send('Log.enable');
        await this.send('Emulation.setDeviceMetricsOverride',
            { ...VIEWPORT, deviceScaleFactor: 1, mobile: false });
        const loaded = this.browser.nextEvent('Page.loadEventFired', this.sessionId);
        const answer = await this.send('Page.navigate', { url: pathToFileURL(file).href });
        if (answer.errorText) throw new CheckFailed(`the page did not open: ${answer.errorText}`);
        await loaded;
    }

    async evaluate(expression) {
        const answer = await this.send('Runtime.evaluate',
            { expression, returnByValue: true, awaitPromise: true });
        if (answer.exceptionDetails) {
            const d = answer.exceptionDetails;
            throw new Error(`in the page: ${(d.exception && d.exception.description) || d.text}`);
        }
        return answer.result.value;
    }

    call(fn, ...args) {
        return this.evaluate(`(${fn.toString()})(...${JSON.stringify(args)})`);
    }

    async visible(text) {
        return (await this.call(inPage.find, text)).find((m) => m.visible) || null;
    }
    async shown(text) { return (await this.visible(text)) !== null; }
    async present(text) { return (await this.call(inPage.find, text)).length > 0; }
    async box(text) { const m = await this.visible(text); return m ? m.box : null; }
    async linkOf(text) { const m = await this.visible(text); return m ? m.link : null; }

    async pictureBeside(text) {
        const box = await this.box(text);
        if (!box) this.fail(`"${text}" is not shown, so it has no picture`);
        return this.call(inPage.picture, box);
    }

    async click(text) {
        const box = await this.box(text);
        if (!box) this.fail(`"${text}" is not shown and cannot be clicked`);
        const x = box.x + box.width / 2;
        const y = box.y + box.height / 2;
        await this.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y });
        for (const type of ['mousePressed', 'mouseReleased'])
            await this.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
    }

    async waitFor(what, test) {
        const until = Date.now() + STEP_TIMEOUT_MS;
        for (;;) {
            if (await test()) return this.check(true, what);
            if (Date.now() > until) this.fail(`${what} (waited ${STEP_TIMEOUT_MS} ms)`);
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
    }

    async screenshot() {
        const shot = await this.send('Page.captureScreenshot', { format: 'png' });
        fs.mkdirSync(path.dirname(this.screenshotPath), { recursive: true });
        fs.writeFileSync(this.screenshotPath, Buffer.from(shot.data, 'base64'));
        console.log(`screenshot: ${this.screenshotPath}`);
    }

    check(ok, what) {
        if (!ok) this.fail(what);
        console.log(`ok - ${what}`);
    }

    fail(what) {
        throw new CheckFailed(what);
    }
}

async function main() {
    const [pageFile, checksFile, screenshotPath, paramsText] = process.argv.slice(2);
    if (!pageFile || !checksFile || !screenshotPath) usage();
    const checks = require(path.resolve(checksFile));
    const params = paramsText ? JSON.parse(paramsText) : {};
    const browser = new Browser();
    let status = 0;
    let page = null;
    const watchdog = setTimeout(() => {
        console.error(`FAIL: the run took longer than ${RUN_TIMEOUT_MS} ms`);
        browser.process && browser.process.kill('SIGKILL');
        fs.rmSync(browser.profile, { recursive: true, force: true });
        process.exit(2);
    }, RUN_TIMEOUT_MS);
    try {
        browser.start();
        const { targetId } = await browser.send('Target.createTarget', { url: 'about:blank' });
        const { sessionId } = await browser.send('Target.attachToTarget', { targetId, flatten: true });
        page = new Page(browser, sessionId, path.resolve(screenshotPath));
        await page.open(path.resolve(pageFile));
        await checks(page, params);
        // Errors thrown by the page's own scripts (at load or on a click) fail the run too.
        page.check(page.errors.length === 0, 'the page ran without script errors');
    } catch (error) {
        status = error instanceof CheckFailed ? 1 : 2;
        console.error(`FAIL: ${error instanceof CheckFailed ? error.message : error.stack}`);
        if (page) {
            for (const e of page.errors) console.error(`page error: ${e}`);
            await page.screenshot().catch(() => {});
        }
        if (status === 2 && browser.stderr) console.error(`chromium said:\n${browser.stderr.slice(-3000)}`);
    }
    if (page) for (const note of page.notes) console.log(`page log: ${note}`);
    await browser.close();
    clearTimeout(watchdog);
    process.exit(status);
}

main();
