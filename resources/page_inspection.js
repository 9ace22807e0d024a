// Page inspection of the Larkspan browser.
//
// Installed at document creation in every frame of a page, frames of other origins included, in
// the script world of the document bridge (resources/dom_bridge.js). The native side appends
//
//     installPageInspection(CONSOLE_KEY);
//
// where CONSOLE_KEY is a random text of the page, written by a JSON encoder. Page scripts run in
// another world and can never read it.
//
// Protocol
// --------
// In the top document the bridge's request {op: "inspect", doc, query, ...} is answered by
// larkspanInspection.answer(request). Every query reads what it needs in one go:
//
//   {query: "frames", request: ID}      -> [FRAME, ...]: the top document and every frame below
//                                           it, depth first, each frame right after its parent
//   {query: "images"}                   -> [src, ...] of the document's images
//   {query: "formControls"}             -> {forms: number of FORM elements,
//                                           controls: [FIELD, ...], error: TEXT or null}
//   {query: "formTree"}                 -> [{name, controls: [CONTROL or {error: TEXT}, ...]}, ...]
//   {query: "elementAt", x, y}          -> ELEMENT or null (x, y: the viewport's CSS pixels)
//   {query: "highlight", text}          -> the number of occurrences marked
//   {query: "bodyStyle", property, value} -> false without a body ("borderStyle", "overflow")
//   {query: "insertBodyHTML", markup}   -> false without a body
//   {query: "characterSet"}             -> the charset the document was decoded with
//   {query: "serialized"}               -> the document's markup as it stands now
//   {query: "designMode", on}           -> whether the document is editable (on: optional)
//
// FRAME is {path, url, body, links} for a document the top document may read: path is the list
// of frame positions from the top (the top itself has []), body the tag name of its body or null,
// links the addresses of its links. A frame of another origin comes as {path, remote: true}: the
// top document has sent it the window message {larkspanInspection: ID}, and the frame writes its
// own FRAME to the console as
//
//     larkspan-frame CONSOLE_KEY {request: ID, path, url, body, links}
//
// which only the native side reads. A frame answers only messages from its top window.
//
// FIELD is {name, id, tagName, text, innerText, innerHTML}; CONTROL is {name, value, type,
// maxLength (for "text"), options: [{text, value}, ...] (for "select-one")}. Reading a property
// that the control does not have is an error: "TAG has no property NAME".
// ELEMENT is {tagName, id, innerText, innerHTML, className, href}; href is the address of an
// image or a LINK element, null for any other element.

"use strict";

function installPageInspection(consoleKey) {
    if (globalThis.larkspanInspection !== undefined) {
        return;
    }

    const CONSOLE_PREFIX = `larkspan-frame ${consoleKey} `;
    const MARK_STYLE = "background-color: yellow; font-weight: bolder;";
    // A bound on the work one search does, however large the page.
    const MOST_MARKS = 100000;
    // Text that is not shown as text.
    const UNSEARCHED = new Set(["SCRIPT", "STYLE", "NOSCRIPT", "TEXTAREA"]);
    const STYLE_PROPERTIES = new Set(["borderStyle", "overflow"]);
    // Kept before page scripts can replace it.
    const log = console.log.bind(console);

    function tagNameOf(element) {
        return element.namespaceURI === "http://www.w3.org/1999/xhtml" ? element.tagName.toUpperCase() : element.tagName;
    }

    // As a late-bound read: a property the element does not have is an error, not undefined.
    function property(element, name) {
        if (!(name in element)) {
            throw new Error(`${tagNameOf(element)} has no property ${name}`);
        }
        return element[name];
    }

    function text(element, name) {
        return String(property(element, name) ?? "");
    }

    function errorText(error) {
        return String(error?.message ?? error);
    }

    function describeDocument(path, doc) {
        return {
            path,
            url: doc.URL,
            body: doc.body ? tagNameOf(doc.body) : null,
            links: Array.from(doc.links, (link) => link.href),
        };
    }

    function readableDocument(frameWindow) {
        try {
            return frameWindow.document;
        } catch (error) {
            return null;
        }
    }

    function framesBelow(topWindow, request) {
        const frames = [];
        const visit = (frameWindow, path) => {
            const doc = readableDocument(frameWindow);
            if (doc) {
                frames.push(describeDocument(path, doc));
            } else {
                frames.push({ path, remote: true });
                frameWindow.postMessage({ larkspanInspection: request }, "*");
            }
            for (let index = 0; index < frameWindow.length; ++index) {
                visit(frameWindow[index], path.concat([index]));
            }
        };
        visit(topWindow, []);
        return frames;
    }

    // Where this frame sits below the top window.
    function ownPath() {
        const path = [];
        for (let current = window; current !== current.parent; current = current.parent) {
            const parent = current.parent;
            for (let index = 0; index < parent.length; ++index) {
                if (parent[index] === current) {
                    path.unshift(index);
                    break;
                }
            }
        }
        return path;
    }

    function formControls() {
        const controls = [];
        try {
            for (const form of Array.from(document.forms)) {
                for (const control of Array.from(form.elements)) {
                    controls.push({
                        name: text(control, "name"),
                        id: text(control, "id"),
                        tagName: text(control, "tagName"),
                        text: String(control),
                        innerText: text(control, "innerText"),
                        innerHTML: text(control, "innerHTML"),
                    });
                }
            }
        } catch (error) {
            return { forms: document.getElementsByTagName("form").length, controls, error: errorText(error) };
        }
        return { forms: document.getElementsByTagName("form").length, controls, error: null };
    }

    function treeControl(control) {
        try {
            const node = { name: text(control, "name"), value: text(control, "value"), type: text(control, "type") };
            if (node.type === "text") {
                node.maxLength = Number(property(control, "maxLength"));
            } else if (node.type === "select-one") {
                node.options = Array.from(property(control, "options"), (option) => ({
                    text: text(option, "text"),
                    value: text(option, "value"),
                }));
            }
            return node;
        } catch (error) {
            return { error: errorText(error) };
        }
    }

    function formTree() {
        return Array.from(document.forms, (form) => ({
            name: text(form, "name"),
            controls: Array.from(form.elements, treeControl),
        }));
    }

    function elementAt(x, y) {
        const element = document.elementFromPoint(Number(x), Number(y));
        if (!element) {
            return null;
        }
        let href = null;
        if (element instanceof HTMLImageElement) {
            href = element.src;
        } else if (element instanceof HTMLLinkElement) {
            href = element.href;
        }
        return {
            tagName: tagNameOf(element),
            id: element.id,
            innerText: element instanceof HTMLElement ? element.innerText : element.textContent ?? "",
            innerHTML: element.innerHTML,
            className: element.getAttribute("class") ?? "",
            href,
        };
    }

    // Every occurrence in the body's text, in any case; each is wrapped in a marking span, and
    // the search goes on after it.
    function highlight(searched) {
        if (!document.body || searched === "") {
            return 0;
        }
        const pattern = new RegExp(searched.replace(/[.*+?^${}()|[\]\\]/g, "\\$&"), "iu");
        const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT, {
            acceptNode: (node) => (UNSEARCHED.has(node.parentNode.nodeName) ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT),
        });
        // Collected first, so the marks made on the way do not lead the walk astray.
        const texts = [];
        while (walker.nextNode()) {
            texts.push(walker.currentNode);
        }
        let marked = 0;
        let lastMark = null;
        for (let rest of texts) {
            for (let found = pattern.exec(rest.data); found && marked < MOST_MARKS; found = pattern.exec(rest.data)) {
                const match = rest.splitText(found.index);
                rest = match.splitText(found[0].length);
                const mark = document.createElement("span");
                mark.setAttribute("style", MARK_STYLE);
                match.replaceWith(mark);
                mark.appendChild(match);
                lastMark = mark;
                ++marked;
            }
        }
        lastMark?.scrollIntoView(true);
        return marked;
    }

    function setBodyStyle(name, value) {
        if (!STYLE_PROPERTIES.has(name)) {
            throw new Error(`no body style ${name}`);
        }
        if (!document.body) {
            return false;
        }
        document.body.style[name] = String(value);
        return true;
    }

    function insertBodyHTML(markup) {
        if (!document.body) {
            return false;
        }
        document.body.insertAdjacentHTML("beforeend", String(markup));
        return true;
    }

    function serialized() {
        const doctype = document.doctype ? new XMLSerializer().serializeToString(document.doctype) + "\n" : "";
        return doctype + (document.documentElement?.outerHTML ?? "");
    }

    function designMode(on) {
        if (on !== undefined) {
            document.designMode = on ? "on" : "off";
        }
        return document.designMode === "on";
    }

    const queries = new Map([
        ["frames", (request) => framesBelow(window, request.request)],
        ["images", () => Array.from(document.images, (image) => image.src)],
        ["formControls", () => formControls()],
        ["formTree", () => formTree()],
        ["elementAt", (request) => elementAt(request.x, request.y)],
        ["highlight", (request) => highlight(String(request.text))],
        ["bodyStyle", (request) => setBodyStyle(String(request.property), request.value)],
        ["insertBodyHTML", (request) => insertBodyHTML(request.markup)],
        ["characterSet", () => document.characterSet],
        ["serialized", () => serialized()],
        ["designMode", (request) => designMode(request.on)],
    ]);

    function answer(request) {
        const query = queries.get(request.query);
        if (query === undefined) {
            throw new Error(`unknown inspection ${request.query}`);
        }
        return query(request);
    }

    if (window !== window.top) {
        addEventListener("message", (event) => {
            const request = event.data?.larkspanInspection;
            if (event.source !== window.top || !Number.isInteger(request)) {
                return;
            }
            log(CONSOLE_PREFIX + JSON.stringify({ request, ...describeDocument(ownPath(), document) }));
        });
    }

    globalThis.larkspanInspection = Object.freeze({ answer });
}
