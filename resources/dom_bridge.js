// Document bridge of the Larkspan browser.
//
// Installed at document creation in a script world of its own, so the page's scripts can neither
// see nor replace it. It answers the native side's synchronous document interface in few round
// trips: a list of elements comes with the tag and the class of every element at once, and
// further properties of many elements come in one request.
//
// Protocol
// --------
// The native side evaluates nothing in this world but the one expression
//
//     typeof larkspanDom === 'object' ? larkspanDom.dispatch(REQUEST) : null
//
// where REQUEST is a JSON object written by a JSON encoder. JSON is valid expression syntax, so no
// value can ever become code. Only when a document answers that expression with null (the engine
// left it without this script) does it get this script followed by the same expression. The
// answer is a JSON text:
//
//     {"ok": true, "value": VALUE}
//     {"ok": false, "error": CODE, "message": TEXT}
//
// except where a request below answers TEXTS: many strings, which pass faster outside JSON. The
// answer is then an array: the JSON text {"ok": true, "value": {...}}, then the strings in order.
//
// CODE is "gone" (the request is meant for another document), "expired" (its snapshot has been
// released), "range" (an index outside the snapshot) or "failed" (anything else that threw).
//
// "document" opens the document: its answer carries "doc", a random token of this document. Every
// other request brings that token back in "doc"; a request meant for another document is refused
// with "gone" before any element is touched.
//
//   {op: "document"}                               -> {doc, html}
//   {op: "readyState", doc}                        -> "loading" | "interactive" | "complete"
//   {op: "body", doc}                              -> SNAPSHOT of [body], or null without a body
//   {op: "all", doc}                               -> SNAPSHOT of every element of the document
//   {op: "elementsByTagName", doc, snapshot, index, tag}
//                                                  -> SNAPSHOT of the elements below that
//                                                     element with that tag ("*": every one)
//   {op: "descendantsWithClassContaining", doc, snapshot, index, texts, properties, readAhead}
//                                                  -> SNAPSHOT of the elements below that
//                                                     element whose class attribute holds any
//                                                     of the texts, with READ_AHEAD
//   {op: "read", doc, snapshot, properties, indices, masks}
//                                                  -> TEXTS: index by index, the values of the
//                                                     "properties" its mask sets (bit 0 for the
//                                                     first), in their order
//   {op: "click", doc, snapshot, index}            -> null
//   {op: "scrollTo", doc, x, y}                    -> null
//   {op: "replaceLocation", doc, url}              -> null (the new page takes this page's
//                                                     place in the history)
//   {op: "write", doc, markup}                     -> null (the markup replaces the document's
//                                                     content; the address stays)
//   {op: "setBodyInnerHTML", doc, markup}          -> null
//   {op: "cookie", doc}                            -> the cookies scripts of the page can read
//   {op: "commandEnabled", doc, name}              -> whether the editing command can run now
//   {op: "fetchSource", doc}                       -> TICKET: fetching the document's address
//                                                     again has started
//   {op: "fetchedSource", doc, ticket}             -> null while under way, then once
//                                                     {bytes: BASE64} or {error: TEXT}
//   {op: "inspect", doc, query, ...}               -> the answer of the page inspection script
//                                                     (resources/page_inspection.js)
//   {op: "run", doc, script, arguments}            -> the answer of the page script named
//                                                     `script` to the JSON value `arguments`
//
// A page script that "run" can name is installed right after this script, in this world, and
// registers itself with larkspanDom.definePageScript(FILE_NAME, (arguments) => JSON_VALUE).
// Properties are "innerText", "innerHTML", "outerHTML" and "href".
// SNAPSHOT is TEXTS whose value carries "snapshot": ID, and whose strings are the tag names of
// the elements, then their class attributes: a fixed list of elements in document order,
// addressed afterwards as (ID, index).
// A snapshot is kept until a request names it in "release": [ID, ...], which the native side
// adds once no handle uses it any more. The table thus holds what the native side still uses and
// no more, however many lists a walk takes, and it goes with the document.
// READ_AHEAD: "readAhead" gives, for each text, a mask of the "properties" (bit 0 for the first)
// to read of every element whose class holds that text. The value then also carries "read": the
// mask of each element (the union over the texts its class holds), and the strings go on after
// the classes with the values read, element by element, in the order of "properties".

"use strict";

(() => {
    // Installed a second time in the same document, it must not give the document a new token.
    if (globalThis.larkspanDom !== undefined) {
        return;
    }

    const KEPT_FETCHES = 4;
    const HTML_NAMESPACE = "http://www.w3.org/1999/xhtml";
    const HTML_CONTENT_TYPES = new Set(["text/html", "application/xhtml+xml"]);

    // An answer of many strings, sent after the JSON text instead of inside it, and of the
    // fields that the JSON text carries.
    class Texts {
        constructor(strings, fields = {}) {
            this.strings = strings;
            this.fields = fields;
        }
    }

    class BridgeError extends Error {
        constructor(code, message) {
            super(message);
            this.code = code;
        }
    }

    function randomToken() {
        const bytes = new Uint8Array(16);
        crypto.getRandomValues(bytes);
        return Array.from(bytes, (byte) => byte.toString(16).padStart(2, "0")).join("");
    }

    const token = randomToken();
    const snapshots = new Map();
    let nextSnapshotId = 1;
    const fetches = new Map();
    let nextTicket = 1;
    const pageScripts = new Map();

    // Upper case for every HTML element, as in an HTML document, also when the page is XHTML.
    function tagNameOf(element) {
        return element.namespaceURI === HTML_NAMESPACE ? element.tagName.toUpperCase() : element.tagName;
    }

    // The attribute as written: for SVG elements the className property is an object.
    function classOf(element) {
        return element.getAttribute("class") ?? "";
    }

    // The elements below this one whose class attribute holds any of the texts, in document
    // order, each with the union of the masks of the texts it holds.
    function withClassContaining(element, texts, masks) {
        // An empty text is held by every element, a class attribute or not.
        const below = texts.includes("") ? element.getElementsByTagName("*") : element.querySelectorAll("[class]");
        const count = below.length;
        const kept = [];
        const keptMasks = [];
        for (let i = 0; i < count; ++i) {
            const className = classOf(below[i]);
            let held = false;
            let mask = 0;
            for (let t = 0; t < texts.length; ++t) {
                if (className.includes(texts[t])) {
                    held = true;
                    mask |= masks[t];
                }
            }
            if (held) {
                kept.push(below[i]);
                keptMasks.push(mask);
            }
        }
        return { kept, keptMasks };
    }

    // With masks, the properties they name are read ahead (READ_AHEAD).
    function remember(collection, properties = [], masks = null) {
        const count = collection.length;
        const elements = new Array(count);
        const texts = new Array(2 * count);
        // Indexing a live collection is several times faster than iterating over it.
        for (let i = 0; i < count; ++i) {
            const element = collection[i];
            elements[i] = element;
            texts[i] = tagNameOf(element);
            texts[count + i] = classOf(element);
        }
        const id = nextSnapshotId++;
        snapshots.set(id, elements);
        if (masks === null) {
            return new Texts(texts, { snapshot: id });
        }
        const read = properties.map(reader);
        for (let i = 0; i < count; ++i) {
            readMasked(elements[i], masks[i], read, texts);
        }
        return new Texts(texts, { snapshot: id, read: masks });
    }

    // Adds the values of the readers whose bits the mask sets, in their order.
    function readMasked(element, mask, read, values) {
        for (let p = 0; p < read.length; ++p) {
            if (mask & (1 << p)) {
                values.push(read[p](element));
            }
        }
    }

    function elementAt(snapshotId, index) {
        const elements = snapshots.get(snapshotId);
        if (elements === undefined) {
            throw new BridgeError("expired", `snapshot ${snapshotId} is no longer kept`);
        }
        if (!Number.isInteger(index) || index < 0 || index >= elements.length) {
            throw new BridgeError("range", `index ${index} is outside snapshot ${snapshotId}`);
        }
        return elements[index];
    }

    const readers = new Map([
        // SVG and other non-HTML elements have no rendered text of their own.
        ["innerText", (element) => (element instanceof HTMLElement ? element.innerText : element.textContent ?? "")],
        ["innerHTML", (element) => element.innerHTML],
        ["outerHTML", (element) => element.outerHTML],
        // The resolved target of an HTML link; an SVG link's href is an object, not an address.
        ["href", (element) =>
            element instanceof HTMLAnchorElement || element instanceof HTMLAreaElement ? element.href : ""],
    ]);

    function reader(property) {
        const read = readers.get(property);
        if (read === undefined) {
            throw new BridgeError("failed", `unknown property ${property}`);
        }
        return read;
    }

    // As a user's click: the page's handlers run and links are followed. SVG elements have no
    // click() of their own, so they get the event directly.
    function click(element) {
        if (element instanceof HTMLElement) {
            element.click();
        } else {
            element.dispatchEvent(new MouseEvent("click", { bubbles: true, cancelable: true, composed: true, view: window }));
        }
    }

    // Copy, Cut and Paste as the user could use them now. The page's own queryCommandEnabled
    // says no to them whenever scripts may not touch the clipboard, which is always here.
    function clipboardCommandEnabled(name) {
        const active = document.activeElement;
        const isTextField = active instanceof HTMLTextAreaElement
            || (active instanceof HTMLInputElement && typeof active.selectionStart === "number");
        const editable = isTextField
            ? !active.readOnly && !active.disabled
            : Boolean(active?.isContentEditable) || document.designMode === "on";
        const selected = isTextField
            ? active.selectionStart !== active.selectionEnd
            : !(getSelection()?.isCollapsed ?? true);
        const hidden = isTextField && active.type === "password";
        switch (name) {
            case "copy": return selected && !hidden;
            case "cut": return selected && editable && !hidden;
            default: return editable;
        }
    }

    function commandEnabled(name) {
        const lowered = String(name).toLowerCase();
        if (lowered === "copy" || lowered === "cut" || lowered === "paste") {
            return clipboardCommandEnabled(lowered);
        }
        return document.queryCommandEnabled(lowered);
    }

    function toBase64(buffer) {
        const bytes = new Uint8Array(buffer);
        const chunks = [];
        for (let start = 0; start < bytes.length; start += 0x8000) {
            chunks.push(String.fromCharCode.apply(null, bytes.subarray(start, start + 0x8000)));
        }
        return btoa(chunks.join(""));
    }

    // From the cache when it still holds the page, so the bytes are those that were shown.
    function fetchSource() {
        const ticket = nextTicket++;
        fetches.set(ticket, null);
        if (fetches.size > KEPT_FETCHES) {
            fetches.delete(fetches.keys().next().value);
        }
        fetch(location.href, { cache: "force-cache", credentials: "include" })
            .then((response) => {
                if (!response.ok) {
                    throw new Error(`the server answered ${response.status}`);
                }
                return response.arrayBuffer();
            })
            .then((buffer) => ({ bytes: toBase64(buffer) }), (error) => ({ error: String(error?.message ?? error) }))
            .then((outcome) => {
                if (fetches.has(ticket)) {
                    fetches.set(ticket, outcome);
                }
            });
        return ticket;
    }

    function fetchedSource(ticket) {
        if (!fetches.has(ticket)) {
            throw new BridgeError("failed", `no fetch ${ticket} is kept`);
        }
        const outcome = fetches.get(ticket);
        if (outcome !== null) {
            fetches.delete(ticket);
        }
        return outcome;
    }

    const operations = new Map([
        ["document", () => ({ doc: token, html: HTML_CONTENT_TYPES.has(document.contentType) })],
        ["readyState", () => document.readyState],
        ["body", () => (document.body ? remember([document.body]) : null)],
        ["all", () => remember(document.getElementsByTagName("*"))],
        ["elementsByTagName", (request) =>
            remember(elementAt(request.snapshot, request.index).getElementsByTagName(String(request.tag)))],
        ["descendantsWithClassContaining", (request) => {
            const texts = request.texts.map(String);
            const { kept, keptMasks } = withClassContaining(
                elementAt(request.snapshot, request.index), texts, request.readAhead.map(Number));
            return remember(kept, request.properties.map(String), keptMasks);
        }],
        ["read", (request) => {
            const read = request.properties.map(reader);
            const values = [];
            request.indices.forEach((index, i) => {
                readMasked(elementAt(request.snapshot, index), Number(request.masks[i]), read, values);
            });
            return new Texts(values);
        }],
        ["click", (request) => {
            click(elementAt(request.snapshot, request.index));
            return null;
        }],
        ["scrollTo", (request) => {
            window.scrollTo(Number(request.x), Number(request.y));
            return null;
        }],
        ["replaceLocation", (request) => {
            location.replace(String(request.url));
            return null;
        }],
        ["write", (request) => {
            document.open();
            document.write(String(request.markup));
            document.close();
            return null;
        }],
        ["setBodyInnerHTML", (request) => {
            if (!document.body) {
                throw new BridgeError("failed", "the document has no body");
            }
            document.body.innerHTML = String(request.markup);
            return null;
        }],
        ["cookie", () => document.cookie],
        ["commandEnabled", (request) => commandEnabled(request.name)],
        ["fetchSource", () => fetchSource()],
        ["fetchedSource", (request) => fetchedSource(request.ticket)],
        ["inspect", (request) => {
            if (globalThis.larkspanInspection === undefined) {
                throw new BridgeError("failed", "page inspection is not installed in this document");
            }
            return globalThis.larkspanInspection.answer(request);
        }],
        ["run", (request) => {
            const run = pageScripts.get(request.script);
            if (run === undefined) {
                throw new BridgeError("failed", `no page script ${request.script}`);
            }
            return run(request.arguments);
        }],
    ]);

    const SURROGATE = /[\uD800-\uDFFF]/;
    const LONE_SURROGATE = /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g;

    // The way out of the page turns a lone surrogate into three replacement characters; it
    // stands for one character, so it goes out as one.
    function wellFormed(string) {
        return SURROGATE.test(string) ? string.replace(LONE_SURROGATE, "\uFFFD") : string;
    }

    // A list passes many strings much faster than one long text holding them.
    function textsAnswer(strings, fields) {
        const answer = new Array(strings.length + 1);
        answer[0] = JSON.stringify({ ok: true, value: fields });
        for (let i = 0; i < strings.length; ++i) {
            answer[i + 1] = wellFormed(strings[i]);
        }
        return answer;
    }

    function dispatch(request) {
        try {
            const operation = operations.get(request.op);
            if (operation === undefined) {
                throw new BridgeError("failed", `unknown request ${request.op}`);
            }
            if (request.op !== "document" && request.doc !== token) {
                throw new BridgeError("gone", "the request is meant for another document");
            }
            for (const id of Array.isArray(request.release) ? request.release : []) {
                snapshots.delete(id);
            }
            const value = operation(request);
            if (value instanceof Texts) {
                return textsAnswer(value.strings, value.fields);
            }
            return JSON.stringify({ ok: true, value });
        } catch (error) {
            const code = error instanceof BridgeError ? error.code : "failed";
            return JSON.stringify({ ok: false, error: code, message: String(error?.message ?? error) });
        }
    }

    function definePageScript(name, run) {
        pageScripts.set(String(name), run);
    }

    // A page script that hands over many long strings answers with texts(STRINGS, FIELDS): the
    // strings pass beside the JSON text (much faster than inside it) and arrive as FIELDS.texts.
    const texts = (strings, fields) => new Texts(strings, fields);

    globalThis.larkspanDom = Object.freeze({ dispatch, definePageScript, texts });
})();
