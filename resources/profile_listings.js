// What a capture profile's selectors find on the page, for the Larkspan browser.
//
// Installed with the document bridge (resources/dom_bridge.js), in its world, so the page's
// scripts can neither see nor replace it. The bridge's request
//
//     {op: "run", doc, script: "profile_listings.js",
//      arguments: {listing: SELECTOR, waitFor: SELECTOR or null,
//                  fields: {KEY: {selector: SELECTOR, attribute: NAME or ""}, ...}}}
//
// answers {ready: false} while the page shows no element for waitFor, and otherwise
//
//     {ready: true, listings: [{KEY: VALUE or null, ...}, ...]}
//
// with one object per element the listing selector finds, in document order. VALUE is what the
// field's selector finds inside that element (":scope" is the element itself): its rendered
// text, or the attribute's value, href and src made absolute against the document. null when
// the selector finds nothing or the attribute is not there.
//
// Page scripts may plant elements whose names hide properties of document and form objects, or
// replace the prototypes' methods after this script was installed, so the DOM is read only
// through methods taken when it was installed.

"use strict";

(() => {
    const getterOf = (prototype, name) => Object.getOwnPropertyDescriptor(prototype, name).get;
    const call = (method, self, ...args) => Reflect.apply(method, self, args);

    const baseOf = getterOf(Node.prototype, "baseURI");
    const textOf = getterOf(Node.prototype, "textContent");
    const innerTextOf = getterOf(HTMLElement.prototype, "innerText");
    const { getAttribute, hasAttribute, querySelector } = Element.prototype;
    const selectAll = Document.prototype.querySelectorAll;
    const selectOne = Document.prototype.querySelector;
    const hasOwn = Object.prototype.hasOwnProperty;
    const entriesOf = Object.entries;
    const URLClass = URL;

    const ADDRESS_ATTRIBUTES = new Set(["href", "src"]);

    function renderedText(element) {
        // SVG and MathML elements have no rendered text of their own.
        return element instanceof HTMLElement ? innerTextOf.call(element) : textOf.call(element);
    }

    function attributeValue(element, name) {
        if (!call(hasAttribute, element, name)) {
            return null;
        }
        const value = call(getAttribute, element, name);
        if (!ADDRESS_ATTRIBUTES.has(name.toLowerCase())) {
            return value;
        }
        try {
            return new URLClass(value.trim(), baseOf.call(element)).href;
        } catch {
            return value;
        }
    }

    function fieldValue(listing, rule) {
        const element = rule.selector === ":scope"
            ? listing
            : call(querySelector, listing, rule.selector);
        if (element === null) {
            return null;
        }
        return rule.attribute ? attributeValue(element, rule.attribute) : renderedText(element);
    }

    function profileListings(args) {
        if (args.waitFor && call(selectOne, document, args.waitFor) === null) {
            return { ready: false };
        }
        const rules = entriesOf(args.fields);
        const listings = [];
        for (const listing of call(selectAll, document, args.listing)) {
            const values = {};
            for (const [key, rule] of rules) {
                if (call(hasOwn, args.fields, key)) {
                    values[key] = fieldValue(listing, rule);
                }
            }
            listings.push(values);
        }
        return { ready: true, listings };
    }

    globalThis.larkspanDom.definePageScript("profile_listings.js", profileListings);
})();
