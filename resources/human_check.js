// Whether a page asks whether a human is there, for the Larkspan browser.
//
// Installed with the document bridge (resources/dom_bridge.js), in its world. The bridge's
// request
//
//     {op: "run", doc, script: "human_check.js",
//      arguments: [{where: "frame" | "script" | "element" | "text", text: TEXT}, ...]}
//
// answers the position of the first marker the page shows, or -1 when it shows none: a frame
// or a script whose address contains the text, an element the text (a CSS selector) finds, or
// visible text that contains it, letter case aside (the text is given in lower case).

"use strict";

(() => {
    const getterOf = (prototype, name) => Object.getOwnPropertyDescriptor(prototype, name).get;
    const call = (method, self, ...args) => Reflect.apply(method, self, args);

    const innerTextOf = getterOf(HTMLElement.prototype, "innerText");
    const bodyOf = getterOf(Document.prototype, "body");
    const { getAttribute } = Element.prototype;
    const selectAll = Document.prototype.querySelectorAll;
    const selectOne = Document.prototype.querySelector;
    const toLowerCase = String.prototype.toLowerCase;
    const includes = String.prototype.includes;
    const URLClass = URL;

    function addresses(selector, attribute) {
        const found = [];
        for (const element of call(selectAll, document, selector)) {
            const value = call(getAttribute, element, attribute);
            try {
                found.push(new URLClass(value, document.baseURI).href);
            } catch {
                found.push(String(value));
            }
        }
        return found;
    }

    function visibleText() {
        const body = bodyOf.call(document);
        return body === null ? "" : call(toLowerCase, innerTextOf.call(body));
    }

    function humanCheck(markers) {
        let frames = null;
        let scripts = null;
        let text = null;
        for (let index = 0; index < markers.length; ++index) {
            const { where, text: wanted } = markers[index];
            let shown = false;
            if (where === "frame") {
                frames ??= addresses("iframe[src], frame[src]", "src");
                shown = frames.some((address) => call(includes, address, wanted));
            } else if (where === "script") {
                scripts ??= addresses("script[src]", "src");
                shown = scripts.some((address) => call(includes, address, wanted));
            } else if (where === "element") {
                try {
                    shown = call(selectOne, document, wanted) !== null;
                } catch {
                    shown = false;
                }
            } else if (where === "text") {
                text ??= visibleText();
                shown = call(includes, text, wanted);
            }
            if (shown) {
                return index;
            }
        }
        return -1;
    }

    globalThis.larkspanDom.definePageScript("human_check.js", humanCheck);
})();
