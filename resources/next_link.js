// The link a capture follows to the next result page, by a selector or by its exact text, for
// the Larkspan browser.
//
// Installed with the document bridge (resources/dom_bridge.js), in its world. The bridge's
// request
//
//     {op: "run", doc, script: "next_link.js", arguments: {selector: SELECTOR} or {text: TEXT}}
//
// answers null when the page has no such element, and otherwise
//
//     {index: N, text: TEXT, href: ADDRESS or ""}
//
// where N is the element's position among all the document's elements in document order (what
// the bridge's "all" list holds), so the native side can click it. A selector gives the first
// element it finds; a text gives the first link whose rendered text, white space collapsed and
// trimmed, is exactly the text.

"use strict";

(() => {
    const getterOf = (prototype, name) => Object.getOwnPropertyDescriptor(prototype, name).get;
    const call = (method, self, ...args) => Reflect.apply(method, self, args);

    const innerTextOf = getterOf(HTMLElement.prototype, "innerText");
    const textOf = getterOf(Node.prototype, "textContent");
    const hrefOf = getterOf(HTMLAnchorElement.prototype, "href");
    const selectAll = Document.prototype.querySelectorAll;
    const selectOne = Document.prototype.querySelector;
    const byTagName = Document.prototype.getElementsByTagName;
    const indexOf = Array.prototype.indexOf;

    function shownText(element) {
        const text = element instanceof HTMLElement ? innerTextOf.call(element) : textOf.call(element);
        return text.replace(/\s+/g, " ").trim();
    }

    function wanted(args) {
        if (typeof args.selector === "string") {
            return call(selectOne, document, args.selector);
        }
        for (const link of call(selectAll, document, "a")) {
            if (shownText(link) === args.text) {
                return link;
            }
        }
        return null;
    }

    function nextLink(args) {
        const element = wanted(args);
        if (element === null) {
            return null;
        }
        return {
            index: call(indexOf, call(byTagName, document, "*"), element),
            text: shownText(element),
            href: element instanceof HTMLAnchorElement ? hrefOf.call(element) : "",
        };
    }

    globalThis.larkspanDom.definePageScript("next_link.js", nextLink);
})();
