// Marks the listings that detection found on the page and lets the user pick a field in one of
// them, for the Larkspan window.
//
// Installed with the document bridge (resources/dom_bridge.js), in its world. The bridge's
// request {op: "run", doc, script: "listing_marks.js", arguments: ARGS} answers, by ARGS.op:
//
//   "outline" {selector: SELECTOR or ""}  outlines every element the selector finds (and takes
//                                         the outline off those outlined before); the count
//   "arm" {listing: SELECTOR, link: BOOL} the next click inside a listing picks the element
//                                         clicked (and does nothing else); true
//   "picked"                              null until a click picked, then
//                                         {selector, attribute, found, listings}: the selector
//                                         of the element relative to its listing, "href" or
//                                         "src" when the field is a link (`link`) and the
//                                         element has one, and in how many listings it finds a
//                                         value
//   "disarm"                              the next click is the page's again; true

"use strict";

(() => {
    const OUTLINE = "2px solid #d9822b";
    const call = (method, self, ...args) => Reflect.apply(method, self, args);
    const { querySelectorAll: selectAllIn, querySelector: selectIn, closest, matches, getAttribute } =
        Element.prototype;
    const selectAll = Document.prototype.querySelectorAll;
    const addListener = EventTarget.prototype.addEventListener;
    const removeListener = EventTarget.prototype.removeEventListener;
    const textOf = Object.getOwnPropertyDescriptor(Node.prototype, "textContent").get;

    let outlined = [];
    let armed = null;
    let picked = null;

    function outline(selector) {
        for (const [element, before] of outlined) {
            element.style.outline = before;
        }
        outlined = [];
        if (!selector) {
            return 0;
        }
        for (const element of call(selectAll, document, selector)) {
            outlined.push([element, element.style.outline]);
            element.style.outline = OUTLINE;
        }
        return outlined.length;
    }

    // Class names a site keeps from page to page: no long digit runs or hashes.
    function stableClasses(element) {
        const classes = (call(getAttribute, element, "class") || "").split(/\s+/);
        return classes.filter((name) => /^[A-Za-z_-][\w-]*$/.test(name) && !/\d{3,}|[0-9a-f]{6,}/i.test(name));
    }

    function stepOf(element) {
        const classes = stableClasses(element).map((name) => "." + CSS.escape(name)).join("");
        return element.localName + classes;
    }

    // The shortest chain of steps from the listing down to the element that finds it first.
    function relativeSelector(listing, element) {
        const steps = [];
        for (let at = element; at !== null && at !== listing; at = at.parentElement) {
            steps.unshift(stepOf(at));
            const selector = steps.join(" ");
            if (call(selectIn, listing, selector) === element) {
                return selector;
            }
        }
        return steps.join(" > ");
    }

    function valueIn(listing, selector, attribute) {
        const element = call(selectIn, listing, selector);
        if (element === null) {
            return "";
        }
        return attribute ? (call(getAttribute, element, attribute) || "") : call(textOf, element).trim();
    }

    function onClick(event) {
        const listing = event.target instanceof Element ? call(closest, event.target, armed.listing) : null;
        if (listing === null) {
            return;
        }
        event.preventDefault();
        event.stopPropagation();
        let element = event.target;
        let attribute = "";
        if (armed.link) {
            const link = call(closest, element, "a[href], img[src]");
            if (link !== null && listing.contains(link)) {
                element = link;
                attribute = call(matches, link, "a") ? "href" : "src";
            }
        }
        const selector = element === listing ? ":scope" : relativeSelector(listing, element);
        const listings = Array.from(call(selectAll, document, armed.listing));
        const found = selector === ":scope"
            ? listings.length
            : listings.filter((each) => valueIn(each, selector, attribute) !== "").length;
        picked = { selector, attribute, found, listings: listings.length };
        disarm();
    }

    function disarm() {
        if (armed !== null) {
            call(removeListener, window, "click", onClick, true);
            armed = null;
        }
        return true;
    }

    function listingMarks(args) {
        switch (args.op) {
            case "outline":
                return outline(args.selector);
            case "arm":
                disarm();
                picked = null;
                armed = { listing: args.listing, link: Boolean(args.link) };
                call(addListener, window, "click", onClick, true);
                return true;
            case "picked":
                return picked;
            case "disarm":
                return disarm();
            default:
                throw new Error("listing_marks.js: unknown op " + args.op);
        }
    }

    globalThis.larkspanDom.definePageScript("listing_marks.js", listingMarks);
})();
