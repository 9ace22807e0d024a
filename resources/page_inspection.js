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
    const XHTML = "http://www.w3.org/1999/xhtml";
    // Text that is not shown as text, or that a control shows its own way.
    const UNSEARCHED = new Set(["SCRIPT", "STYLE", "NOSCRIPT", "TEXTAREA", "SELECT", "TEMPLATE"]);
    // Inline elements that end a line of text, or stand in it as an object.
    const LINE_ENDERS = new Set([
        "BR", "IMG", "INPUT", "BUTTON", "SELECT", "TEXTAREA", "IFRAME", "EMBED", "OBJECT", "VIDEO",
        "AUDIO", "CANVAS", "METER", "PROGRESS",
    ]);
    const STYLE_PROPERTIES = new Set(["borderStyle", "overflow"]);
    // Kept before page scripts can replace it.
    const log = console.log.bind(console);

    function tagNameOf(element) {
        return element.namespaceURI === XHTML ? element.tagName.toUpperCase() : element.tagName;
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

    function escapedPattern(text) {
        return text.replace(/[.*+?^${}()|[\]\\]/g, "\\$&");
    }

    // Whether the element's box is drawn where it can be seen. Its descendants cannot undo
    // display: none, an opacity of 0, skipped content, a clipping box of (almost) no size, or a
    // place left of or above the page, where no scrolling reaches. Boxes are measured only for
    // the few elements that clip or are placed, since measuring costs.
    function isShown(element, style) {
        if (style.display === "none" || style.opacity === "0" || style.contentVisibility === "hidden") {
            return false;
        }
        if (style.display === "contents") {
            return true;
        }
        const clips = style.overflowX !== "visible" || style.overflowY !== "visible";
        const placed = style.position === "absolute" || style.position === "fixed";
        if (!clips && !placed) {
            return true;
        }
        const box = element.getBoundingClientRect();
        if (clips && (box.width < 2 || box.height < 2)) {
            return false;
        }
        return !placed || (box.right + scrollX > 0 && box.bottom + scrollY > 0);
    }

    // Whether the element's own text shows; its children may say otherwise for theirs.
    function showsText(style) {
        return style.visibility === "visible" && style.fontSize !== "0px";
    }

    // Text reads on across an inline element's edges, as "piz<b>za</b>" reads "pizza"; blocks,
    // line breaks and embedded objects end the line.
    function continuesLine(element, style) {
        return (
            (style.display === "inline" || style.display === "contents") &&
            element.namespaceURI === XHTML &&
            !LINE_ENDERS.has(tagNameOf(element))
        );
    }

    // A closed details element shows its summary only; the engine lays the rest out all the
    // same, for its own find.
    function shownChildren(element) {
        if (tagNameOf(element) === "DETAILS" && !element.open) {
            const summary = Array.from(element.children).find((child) => tagNameOf(child) === "SUMMARY");
            return summary ? [summary] : [];
        }
        return element.childNodes;
    }

    // The visible text nodes of the body in document order, as runs of nodes whose texts read
    // on into each other.
    function visibleTextRuns(body) {
        const runs = [];
        let run = [];
        const endRun = () => {
            if (run.length > 0) {
                runs.push(run);
                run = [];
            }
        };
        // Nodes to visit, last first, each with whether its parent's text shows; END_OF_BLOCK
        // where a block that ends a line is left.
        const END_OF_BLOCK = null;
        const pending = [body];
        const inVisible = [true];
        while (pending.length > 0) {
            const node = pending.pop();
            const visible = inVisible.pop();
            if (node === END_OF_BLOCK) {
                endRun();
            } else if (node.nodeType === Node.TEXT_NODE) {
                if (visible) {
                    run.push(node);
                }
            } else if (node.nodeType === Node.ELEMENT_NODE) {
                const style = getComputedStyle(node);
                if (!isShown(node, style)) {
                    continue;
                }
                if (!continuesLine(node, style)) {
                    endRun();
                    pending.push(END_OF_BLOCK);
                    inVisible.push(false);
                }
                // Marks inside other markup languages would hide their text.
                if (UNSEARCHED.has(tagNameOf(node)) || node.namespaceURI !== XHTML) {
                    continue;
                }
                const children = shownChildren(node);
                const childrenVisible = showsText(style);
                for (let index = children.length - 1; index >= 0; --index) {
                    pending.push(children[index]);
                    inVisible.push(childrenVisible);
                }
            }
        }
        endRun();
        return runs;
    }

    // The parts of the run's nodes that its first matches cover, by node: [{start, end, match,
    // leading}], leading for the part where its match starts; and the last match.
    function matchedParts(run, pattern, mostMatches) {
        const text = run.map((node) => node.data).join("");
        const parts = new Map();
        let node = 0;
        let nodeStart = 0;
        let matches = 0;
        let match = null;
        pattern.lastIndex = 0;
        for (let found = pattern.exec(text); found && matches < mostMatches; found = pattern.exec(text)) {
            const from = found.index;
            const to = from + found[0].length;
            match = { mark: null };
            while (nodeStart + run[node].data.length <= from) {
                nodeStart += run[node].data.length;
                ++node;
            }
            for (let covered = node, start = nodeStart; start < to; start += run[covered].data.length, ++covered) {
                const part = {
                    start: Math.max(from, start) - start,
                    end: Math.min(to, start + run[covered].data.length) - start,
                    match,
                    leading: covered === node,
                };
                if (part.start < part.end) {
                    if (!parts.has(run[covered])) {
                        parts.set(run[covered], []);
                    }
                    parts.get(run[covered]).push(part);
                }
            }
            ++matches;
        }
        return { parts, matches, last: match };
    }

    function wrapInMark(text) {
        const mark = document.createElement("span");
        mark.setAttribute("style", MARK_STYLE);
        text.replaceWith(mark);
        mark.appendChild(text);
        return mark;
    }

    // Every occurrence in the text the body shows, in any case, also across inline markup; any
    // white space in the searched text matches any white space of the page. Each occurrence is
    // wrapped in marking spans, one per text node it covers, and the last one is scrolled to
    // the top of the window.
    function highlight(searched) {
        if (!document.body || searched === "") {
            return 0;
        }
        const pattern = new RegExp(searched.split(/\s+/u).map(escapedPattern).join("\\s+"), "giu");
        // All found before any mark is made, so the marks do not lead the search astray.
        const found = [];
        let marked = 0;
        let lastMatch = null;
        for (const run of visibleTextRuns(document.body)) {
            if (marked === MOST_MARKS) {
                break;
            }
            const { parts, matches, last } = matchedParts(run, pattern, MOST_MARKS - marked);
            found.push(parts);
            marked += matches;
            lastMatch = last ?? lastMatch;
        }
        for (const parts of found) {
            for (const [text, nodeParts] of parts) {
                // From the node's end, so that the offsets of the parts before stay right.
                for (let index = nodeParts.length - 1; index >= 0; --index) {
                    const part = nodeParts[index];
                    if (part.end < text.data.length) {
                        text.splitText(part.end);
                    }
                    const mark = wrapInMark(part.start > 0 ? text.splitText(part.start) : text);
                    if (part.leading) {
                        part.match.mark = mark;
                    }
                }
            }
        }
        lastMatch?.mark.scrollIntoView(true);
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
