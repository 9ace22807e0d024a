// Structured data of the Larkspan browser: every schema.org item a page publishes.
//
// Installed with the document bridge (resources/dom_bridge.js), in its world, so the page's
// scripts can neither see nor replace it. The bridge's request
//
//     {op: "run", doc, script: "structured_data.js", arguments: null}
//
// answers, in one go:
//
//     {base: TEXT, items: [ITEM, ...], texts: [TEXT, ...]}
//
// base is the address the document resolves relative addresses against. texts (handed over
// beside the JSON text, see larkspanDom.texts) holds the text of
// every <script type="application/ld+json">, in document order, exactly as written: reading it
// (and repairing what real pages break) is the native side's work. items holds the top-level
// microdata items (itemscope without itemprop) and then the top-level RDFa Lite items (typeof
// without property), in document order:
//
//     ITEM  = {"@type": [TYPE, ...], "@id": ADDRESS (when given), NAME: [VALUE, ...], ...}
//     VALUE = a text, or an ITEM for a nested item
//
// TYPE is an itemtype as written, or an RDFa term with its vocab before it. NAME is a property
// name without any vocabulary before it ("http://schema.org/name" and "schema:name" give "name").
// A value is the element's content attribute when it has one; else the absolute address of a
// link's href, a media element's src or an object's data (RDFa: resource first); else the
// datetime of a time element, the value of a data or meter element; else its text. Items nested
// deeper than MOST_DEPTH give their text instead, so no page can make the answer too deep to
// pass.
//
// Page scripts may plant elements whose names hide properties of document and form objects
// ("<img name=querySelectorAll>"), so the DOM is read only through the prototypes' own methods.

"use strict";

(() => {
    const MOST_DEPTH = 32;

    const getterOf = (prototype, name) => Object.getOwnPropertyDescriptor(prototype, name).get;
    const call = (method, self, ...args) => Reflect.apply(method, self, args);

    const baseOf = getterOf(Node.prototype, "baseURI");
    const textOf = getterOf(Node.prototype, "textContent");
    const firstChildOf = getterOf(Element.prototype, "firstElementChild");
    const nextSiblingOf = getterOf(Element.prototype, "nextElementSibling");
    const localNameOf = getterOf(Element.prototype, "localName");
    const { getAttribute, hasAttribute, closest } = Element.prototype;
    const selectAll = Document.prototype.querySelectorAll;

    const LINK_ATTRIBUTES = new Map([
        ["a", "href"], ["area", "href"], ["link", "href"],
        ["audio", "src"], ["embed", "src"], ["iframe", "src"], ["img", "src"], ["source", "src"],
        ["track", "src"], ["video", "src"], ["object", "data"],
    ]);
    const VALUE_ELEMENTS = new Set(["data", "meter"]);

    const MICRODATA = {
        isItem: (element) => call(hasAttribute, element, "itemscope"),
        propertyAttribute: "itemprop",
        types: (element) => tokens(call(getAttribute, element, "itemtype")),
        idAttribute: "itemid",
        resourceAttribute: null,
    };

    const RDFA = {
        isItem: (element) => call(hasAttribute, element, "typeof"),
        propertyAttribute: "property",
        types: (element) => {
            const scope = call(closest, element, "[vocab]");
            const vocab = scope === null ? "" : call(getAttribute, scope, "vocab");
            return tokens(call(getAttribute, element, "typeof"))
                .map((term) => (term.includes(":") ? term : vocab + term));
        },
        idAttribute: "resource",
        resourceAttribute: "resource",
    };

    function tokens(text) {
        return text === null ? [] : text.split(/\s+/).filter((token) => token !== "");
    }

    function absolute(address, base) {
        try {
            return new URL(address, base).href;
        } catch {
            return address;
        }
    }

    function valueOf(element, syntax, base) {
        const attribute = (name) => call(getAttribute, element, name);
        if (attribute("content") !== null) {
            return attribute("content");
        }
        if (syntax.resourceAttribute !== null && attribute(syntax.resourceAttribute) !== null) {
            return absolute(attribute(syntax.resourceAttribute), base);
        }
        const name = localNameOf.call(element);
        const link = LINK_ATTRIBUTES.get(name);
        if (link !== undefined && attribute(link) !== null) {
            return absolute(attribute(link), base);
        }
        if (name === "time" && attribute("datetime") !== null) {
            return attribute("datetime");
        }
        if (VALUE_ELEMENTS.has(name) && attribute("value") !== null) {
            return attribute("value");
        }
        return textOf.call(element);
    }

    function newItem(element, syntax, base) {
        const item = { "@type": syntax.types(element) };
        const id = call(getAttribute, element, syntax.idAttribute);
        if (id !== null) {
            item["@id"] = absolute(id, base);
        }
        return item;
    }

    function addValue(item, names, value) {
        for (const token of tokens(names)) {
            const name = token.replace(/^.*[/#:]/, "");
            // "@type" and "@id" are the item's own.
            if (name === "" || name.startsWith("@")) {
                continue;
            }
            // An own property of a fresh object, so "__proto__" is a name like any other.
            if (!Object.hasOwn(item, name)) {
                Object.defineProperty(item, name, { value: [], enumerable: true, writable: true });
            }
            item[name].push(value);
        }
    }

    // The item of this element with every property below it, nested items included, in
    // document order. A loop over an explicit stack, so no page is deep enough to exhaust the
    // call stack.
    function itemOf(root, syntax, base) {
        const top = newItem(root, syntax, base);
        const pending = [];
        const pushChildren = (parent, item, depth) => {
            const children = [];
            for (let child = firstChildOf.call(parent); child !== null; child = nextSiblingOf.call(child)) {
                children.push(child);
            }
            for (let i = children.length - 1; i >= 0; --i) {
                pending.push({ element: children[i], item, depth });
            }
        };
        pushChildren(root, top, 1);
        while (pending.length > 0) {
            const { element, item, depth } = pending.pop();
            const names = call(getAttribute, element, syntax.propertyAttribute);
            const isItem = syntax.isItem(element);
            if (names !== null && isItem && depth < MOST_DEPTH) {
                const nested = newItem(element, syntax, base);
                addValue(item, names, nested);
                pushChildren(element, nested, depth + 1);
                continue;
            }
            if (names !== null) {
                addValue(item, names, isItem ? textOf.call(element) : valueOf(element, syntax, base));
            }
            // An item without a property is an item of its own, not part of this one.
            if (!isItem) {
                pushChildren(element, item, depth);
            }
        }
        return top;
    }

    function itemsOf(selector, syntax, base) {
        return Array.from(call(selectAll, document, selector), (element) => itemOf(element, syntax, base));
    }

    function jsonLdTexts() {
        const texts = [];
        for (const script of call(selectAll, document, "script[type]")) {
            const type = call(getAttribute, script, "type").trim().toLowerCase();
            if (type === "application/ld+json" || type.startsWith("application/ld+json;")) {
                texts.push(textOf.call(script));
            }
        }
        return texts;
    }

    function structuredData() {
        const base = baseOf.call(document);
        return globalThis.larkspanDom.texts(jsonLdTexts(), {
            base,
            items: itemsOf("[itemscope]:not([itemprop])", MICRODATA, base)
                .concat(itemsOf("[typeof]:not([property])", RDFA, base)),
        });
    }

    globalThis.larkspanDom.definePageScript("structured_data.js", structuredData);
})();
