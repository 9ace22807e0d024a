// Listing detection of the Larkspan browser: finds the repeated listings of any page and proposes
// the rules of a capture profile for them.
//
// Installed with the document bridge (resources/dom_bridge.js), in its world, so the page's
// scripts can neither see nor replace it. The bridge's request
//
//     {op: "run", doc, script: "listing_detection.js", arguments: null}
//
// answers, in one go:
//
//     {title: TEXT, groups: [GROUP, ...]}
//     GROUP = {listing: SELECTOR, count: N,
//              fields: {KEY: {selector, attribute (when not the text), pattern (when needed)}},
//              next: {selector: SELECTOR} | {text: TEXT} | null, nextLabel: TEXT,
//              found: [{KEY: VALUE | null, ...}, ...]}
//
// The best group comes first, then at most two alternatives that neither hold nor lie inside
// it. A group is a set of same-shape elements (tag and first stable class, under parents of one
// shape), at least three, scored by how many there are and how much text in how many pieces they
// hold; plain lists of links and whatever sits in navigation, headers or footers lose. KEY is a
// field's JSON Lines key; a field is proposed only when one rule finds a value of its kind in
// at least two in five of the sampled listings, and seldom anything else there. found holds, for every listing of the group (at most MOST_ROWS), what
// each field's selector finds: the element's rendered text or the attribute's value (href and
// src absolute), before any pattern; null where the selector finds nothing.
//
// Page scripts may plant elements whose names hide properties of document and form objects
// ("<img name=querySelectorAll>"), so the DOM is read only through the prototypes' own methods.

"use strict";

(() => {
    const LEAST_MEMBERS = 3;
    const MOST_ALTERNATIVES = 2;
    const MOST_ROWS = 2000;
    const SAMPLED_MEMBERS = 12;
    const ALTERNATIVE_SAMPLE = 6;
    const SHAPE_SAMPLE = 10;
    const MOST_SHAPED_GROUPS = 24;
    const MOST_SHAPE_ELEMENTS = 300;
    const MOST_FIELD_ELEMENTS = 1500;
    const MOST_PROPOSALS = 6;
    const MOST_VALUE_LENGTH = 4000;

    const getterOf = (prototype, name) => Object.getOwnPropertyDescriptor(prototype, name).get;

    const bodyOf = getterOf(Document.prototype, "body");
    const titleOf = getterOf(Document.prototype, "title");
    const baseOf = getterOf(Node.prototype, "baseURI");
    const textContentOf = getterOf(Node.prototype, "textContent");
    const firstNodeOf = getterOf(Node.prototype, "firstChild");
    const nextNodeOf = getterOf(Node.prototype, "nextSibling");
    const nodeTypeOf = getterOf(Node.prototype, "nodeType");
    const nodeValueOf = getterOf(Node.prototype, "nodeValue");
    const parentOf = getterOf(Node.prototype, "parentElement");
    const firstChildOf = getterOf(Element.prototype, "firstElementChild");
    const nextSiblingOf = getterOf(Element.prototype, "nextElementSibling");
    const previousSiblingOf = getterOf(Element.prototype, "previousElementSibling");
    const addressOf = getterOf(Document.prototype, "URL");
    const localNameOf = getterOf(Element.prototype, "localName");
    const innerTextOf = getterOf(HTMLElement.prototype, "innerText");
    const { getAttribute, hasAttribute, getAttributeNames } = Element.prototype;
    const selectIn = Element.prototype.querySelector;
    const selectAllInDocument = Document.prototype.querySelectorAll;
    const selectInDocument = Document.prototype.querySelector;
    const { contains, compareDocumentPosition } = Node.prototype;
    const escape = CSS.escape;

    const SKIPPED = new Set(["script", "style", "noscript", "template", "head", "svg", "iframe", "object"]);
    const HEADINGS = new Set(["h1", "h2", "h3", "h4", "h5", "h6"]);
    const FENCE_TAGS = new Set(["nav", "header", "footer"]);
    const FENCE_ROLES = new Set(["navigation", "banner", "contentinfo", "menu", "menubar"]);
    const FENCE_WORDS = /(^|[-_\s])(nav|navbar|navigation|menu|footer|breadcrumbs?|pagination|pager|paging)([-_\s]|$)/i;
    const NEXT_WORDS = /^((next|following)(\s+(page|results?))?\s*[»›>→]?|[»›→])$/i;
    const PAGER_WORDS = /pag(e|ing|er|ination)|nav/i;
    const NAME_WORDS = /name|title|author/i;

    const PHONE_PATTERN = "(\\+?\\(?\\d[\\d ().-]{6,}\\d)";
    const EMAIL = /^[^\s@]+@[^\s@]+\.[^\s@]+$/;
    const ADDRESS_END = /\b[A-Z]{2,3}\s+\d{4}$/;
    const COORDINATES = /(-?\d{1,2}\.\d{3,}),\s*(-?\d{1,3}\.\d{3,})/;

    // Names that look made by a build tool or a database rather than by a person: a hash, a long
    // run of digits, letters and digits mixed, or random case.
    function looksGenerated(name) {
        if (name.length > 40 || /\d{3,}/.test(name) || /^(css|sc|jsx|emotion|svelte)-/.test(name)) {
            return true;
        }
        for (const part of name.split(/[-_]+/)) {
            if (part.length >= 4 && /\d/.test(part) && /[a-z]/i.test(part)) {
                return true;
            }
            const changes = (part.match(/[a-z][A-Z]/g) ?? []).length;
            if (part.length >= 5 && changes / part.length > 0.2) {
                return true;
            }
        }
        return false;
    }

    function stableClasses(element) {
        const written = getAttribute.call(element, "class");
        if (written === null) {
            return [];
        }
        return written.split(/\s+/).filter((name) => name !== "" && !looksGenerated(name));
    }

    function stableId(element) {
        const id = getAttribute.call(element, "id");
        return id !== null && id !== "" && !looksGenerated(id) ? id : null;
    }

    function collapse(text) {
        return text.replace(/\s+/g, " ").trim();
    }

    function renderedText(element) {
        const text = innerTextOf !== undefined && element instanceof HTMLElement
            ? innerTextOf.call(element) : textContentOf.call(element);
        return (text ?? "").slice(0, MOST_VALUE_LENGTH);
    }

    function sourceText(element) {
        return (textContentOf.call(element) ?? "").slice(0, MOST_VALUE_LENGTH);
    }

    function absolute(address, base) {
        try {
            return new URL(address, base).href;
        } catch {
            return address;
        }
    }

    // --- The page in numbers ----------------------------------------------------------

    // Every element below the body in document order, so that an element's subtree is the run
    // of `size` elements from it, with what each holds; nothing inside a silent element. One
    // walk reads the page; the sums are then worked out without it.
    class PageFigures {
        constructor(body) {
            this.elements = [];
            this.index = new Map();
            // Each element's shape (tag and first stable class) as a number, and the shapes'
            // names by number.
            this.shapes = [];
            this.shapeNames = [];
            this.shapeNumbers = new Map();
            this.parents = [];
            this.text = [];
            this.pieces = [];
            this.linkText = [];
            this.size = [];
            // Class attributes repeat across a page; each is read once.
            this.firstClasses = new Map();
            const links = [];
            const open = [];
            let parentAt = -1;
            let node = firstNodeOf.call(body);
            while (node !== null) {
                const type = nodeTypeOf.call(node);
                if (type === Node.ELEMENT_NODE) {
                    const name = localNameOf.call(node);
                    const at = this.add(node, name, parentAt);
                    links.push(name === "a" && hasAttribute.call(node, "href"));
                    // What a script, a drawing or a hidden element holds is no listing's text.
                    const silent = SKIPPED.has(name) || hasAttribute.call(node, "hidden");
                    const child = silent ? null : firstNodeOf.call(node);
                    if (child !== null) {
                        open.push(parentAt);
                        parentAt = at;
                        node = child;
                        continue;
                    }
                } else if (type === Node.TEXT_NODE && parentAt >= 0) {
                    const length = nodeValueOf.call(node).trim().length;
                    if (length > 0) {
                        this.text[parentAt] += length;
                        this.pieces[parentAt] += 1;
                    }
                }
                let next = nextNodeOf.call(node);
                while (next === null && open.length > 0) {
                    next = nextNodeOf.call(this.elements[parentAt]);
                    parentAt = open.pop();
                }
                node = next;
            }
            for (let at = this.elements.length - 1; at >= 0; --at) {
                this.sum(at, links[at]);
            }
        }

        add(element, name, parentAt) {
            const at = this.elements.length;
            this.elements.push(element);
            this.index.set(element, at);
            this.parents.push(parentAt);
            const written = getAttribute.call(element, "class") ?? "";
            let first = this.firstClasses.get(written);
            if (first === undefined) {
                const classes = stableClasses(element);
                first = classes.length > 0 ? "." + escape(classes[0]) : "";
                this.firstClasses.set(written, first);
            }
            const shapeName = name + first;
            let shape = this.shapeNumbers.get(shapeName);
            if (shape === undefined) {
                shape = this.shapeNames.length;
                this.shapeNames.push(shapeName);
                this.shapeNumbers.set(shapeName, shape);
            }
            this.shapes.push(shape);
            this.text.push(0);
            this.pieces.push(0);
            this.linkText.push(0);
            this.size.push(1);
            return at;
        }

        // Called children before parents.
        sum(at, link) {
            if (link) {
                this.linkText[at] = this.text[at];
            }
            const up = this.parents[at];
            if (up >= 0) {
                this.text[up] += this.text[at];
                this.pieces[up] += this.pieces[at];
                this.linkText[up] += this.linkText[at];
                this.size[up] += this.size[at];
            }
        }

        // The elements a parent holds directly: each child's subtree is the run that follows.
        *childrenOf(at) {
            for (let child = at + 1; child < at + this.size[at]; child += this.size[child]) {
                yield child;
            }
        }
    }

    // --- Groups of same-shape elements ------------------------------------------------

    // Elements of one shape under parents of one shape that share a parent.
    function groupsOf(figures) {
        const groups = new Map();
        const count = figures.elements.length;
        const shapes = figures.shapeNames.length + 1;
        for (let at = 0; at < count; ++at) {
            if (figures.text[at] === 0) {
                continue;
            }
            const up = figures.parents[at];
            const upper = up >= 0 ? figures.parents[up] : -2;
            const key = ((upper + 2) * shapes + (up >= 0 ? figures.shapes[up] + 1 : 0)) * shapes + figures.shapes[at];
            let members = groups.get(key);
            if (members === undefined) {
                members = [];
                groups.set(key, members);
            }
            members.push(at);
        }
        return Array.from(groups.values()).filter((members) => members.length >= LEAST_MEMBERS);
    }

    // The members less those with none of the children most members have: a table's heading
    // row among its rows.
    function alikeInside(figures, members) {
        const children = members.map((at) => {
            const keys = new Set();
            for (const child of figures.childrenOf(at)) {
                keys.add(figures.shapes[child]);
            }
            return keys;
        });
        const held = new Map();
        for (const keys of children) {
            for (const key of keys) {
                held.set(key, (held.get(key) ?? 0) + 1);
            }
        }
        const common = new Set(Array.from(held).filter(([, times]) => times * 2 > members.length).map(([key]) => key));
        if (common.size === 0) {
            return members;
        }
        return members.filter((at, i) => Array.from(children[i]).some((key) => common.has(key)));
    }

    // Whether the element is, or sits in, a navigation, header or footer.
    function fenced(element) {
        for (let at = element; at !== null; at = parentOf.call(at)) {
            const name = localNameOf.call(at);
            if (name === "body" || name === "main") {
                return false;
            }
            const role = getAttribute.call(at, "role");
            const named = (getAttribute.call(at, "class") ?? "") + " " + (getAttribute.call(at, "id") ?? "");
            if (FENCE_TAGS.has(name) || (role !== null && FENCE_ROLES.has(role)) || FENCE_WORDS.test(named)) {
                return true;
            }
        }
        return false;
    }

    // How alike the members are inside: the share of the shapes below them that most have.
    function likeness(figures, members) {
        const step = Math.max(1, Math.floor(members.length / SHAPE_SAMPLE));
        const shapes = [];
        for (let i = 0; i < members.length && shapes.length < SHAPE_SAMPLE; i += step) {
            const at = members[i];
            const last = Math.min(at + figures.size[at], at + MOST_SHAPE_ELEMENTS);
            const shape = new Set();
            for (let below = at + 1; below < last; ++below) {
                shape.add(figures.shapes[below]);
            }
            shapes.push(shape);
        }
        const held = new Map();
        for (const shape of shapes) {
            for (const key of shape) {
                held.set(key, (held.get(key) ?? 0) + 1);
            }
        }
        const core = new Set();
        for (const [key, times] of held) {
            if (times * 2 >= shapes.length) {
                core.add(key);
            }
        }
        let sum = 0;
        for (const shape of shapes) {
            let both = 0;
            for (const key of shape) {
                both += core.has(key) ? 1 : 0;
            }
            const either = shape.size + core.size - both;
            sum += either === 0 ? 1 : both / either;
        }
        return sum / shapes.length;
    }

    // What the members' text and links say of them, before the costlier look at their shape
    // and place.
    function contentScore(figures, members) {
        let text = 0;
        let pieces = 0;
        let linkText = 0;
        for (const at of members) {
            text += figures.text[at];
            pieces += figures.pieces[at];
            linkText += figures.linkText[at];
        }
        const count = members.length;
        const meanText = text / count;
        if (meanText < 10) {
            return 0;
        }
        const linkShare = linkText / text;
        return Math.sqrt(count)
            * Math.log(1 + Math.min(meanText, 2000))
            * Math.min(pieces / count, 10)
            * (1 - 0.7 * linkShare * linkShare)
            * (figures.shapeNames[figures.shapes[members[0]]].includes(".") ? 1 : 0.9);
    }

    function scoreOf(figures, members, content) {
        const alike = likeness(figures, members);
        return content * alike * alike * (fenced(figures.elements[members[0]]) ? 0.2 : 1);
    }

    // Members as ranges of the element list: a subtree is a run of it.
    function overlaps(figures, one, other) {
        let i = 0;
        let j = 0;
        while (i < one.length && j < other.length) {
            const a = one[i];
            const b = other[j];
            const aEnd = a + figures.size[a];
            const bEnd = b + figures.size[b];
            if (a < bEnd && b < aEnd) {
                return true;
            }
            if (aEnd <= b) {
                ++i;
            } else {
                ++j;
            }
        }
        return false;
    }

    function bestGroups(figures) {
        const byContent = (groups) => groups
            .map((members) => ({ members, content: contentScore(figures, members) }))
            .filter((group) => group.content > 0)
            .sort((a, b) => b.content - a.content);
        // Shape and place only lower a score, so only the best by content need the look; a
        // heading row dropped from a group changes its content little.
        const likely = byContent(groupsOf(figures))
            .slice(0, 2 * MOST_SHAPED_GROUPS)
            .map((group) => alikeInside(figures, group.members))
            .filter((members) => members.length >= LEAST_MEMBERS);
        const scored = byContent(likely)
            .slice(0, MOST_SHAPED_GROUPS)
            .map((group) => ({ members: group.members, score: scoreOf(figures, group.members, group.content) }))
            .sort((a, b) => b.score - a.score);
        const chosen = [];
        for (const group of scored) {
            if (chosen.length > MOST_ALTERNATIVES) {
                break;
            }
            if (!chosen.some((taken) => overlaps(figures, taken.members, group.members))) {
                chosen.push(group);
            }
        }
        return chosen;
    }

    // --- The listing selector ---------------------------------------------------------

    function commonClasses(elements) {
        let common = stableClasses(elements[0]);
        for (const element of elements) {
            const own = new Set(stableClasses(element));
            common = common.filter((name) => own.has(name));
        }
        return common;
    }

    function describe(elements) {
        const first = elements[0];
        const id = elements.length === 1 ? stableId(first) : null;
        if (id !== null) {
            return "#" + escape(id);
        }
        return localNameOf.call(first) + commonClasses(elements).map((name) => "." + escape(name)).join("");
    }

    function matchesExactly(selector, memberSet) {
        let found;
        try {
            found = selectAllInDocument.call(document, selector);
        } catch {
            return false;
        }
        if (found.length !== memberSet.size) {
            return false;
        }
        for (const element of found) {
            if (!memberSet.has(element)) {
                return false;
            }
        }
        return true;
    }

    function positionPath(element) {
        const steps = [];
        for (let at = element; at !== null; at = parentOf.call(at)) {
            const name = localNameOf.call(at);
            if (name === "body" || name === "html") {
                steps.unshift("body");
                break;
            }
            const id = stableId(at);
            if (id !== null) {
                steps.unshift("#" + escape(id));
                break;
            }
            let place = 1;
            for (let before = at; (before = previousSiblingOf.call(before)) !== null;) {
                place += localNameOf.call(before) === name ? 1 : 0;
            }
            steps.unshift(name + ":nth-of-type(" + place + ")");
        }
        return steps.join(" > ");
    }

    // The selector less the elements it also finds that share a class none of the members has
    // (a spacer row, a banner among the cards).
    function excluding(selector, memberSet) {
        let found;
        try {
            found = Array.from(selectAllInDocument.call(document, selector)).filter((element) => !memberSet.has(element));
        } catch {
            return selector;
        }
        if (found.length === 0) {
            return selector;
        }
        const held = new Set();
        for (const member of memberSet) {
            for (const name of stableClasses(member)) {
                held.add(name);
            }
        }
        const shared = commonClasses(found).filter((name) => !held.has(name));
        if (shared.length > 0) {
            return selector + ":not(." + escape(shared[0]) + ")";
        }
        const firsts = (elements) => elements.every((element) => previousSiblingOf.call(element) === null);
        return firsts(found) && !firsts(Array.from(memberSet)) ? selector + ":not(:first-child)" : selector;
    }

    function listingSelector(members) {
        const memberSet = new Set(members);
        const own = describe(members);
        const parents = Array.from(new Set(members.map((member) => parentOf.call(member))));
        const tried = [own, describe(parents) + " > " + own];
        let above = parentOf.call(parents[0]);
        for (let steps = 0; above !== null && steps < 6; ++steps, above = parentOf.call(above)) {
            if (localNameOf.call(above) === "body") {
                break;
            }
            tried.push(describe([above]) + " " + tried[1]);
        }
        if (parents.length === 1) {
            tried.push(positionPath(parents[0]) + " > " + own);
        }
        for (const selector of tried) {
            if (matchesExactly(selector, memberSet)) {
                return selector;
            }
            const narrowed = excluding(selector, memberSet);
            if (matchesExactly(narrowed, memberSet)) {
                return narrowed;
            }
        }
        return tried[1];
    }

    // --- Field rules ------------------------------------------------------------------

    // Selectors, relative to the listing, that find the element first; the most stable first.
    function relativeSelectors(element, listing) {
        if (element === listing) {
            return [":scope"];
        }
        const name = localNameOf.call(element);
        const classes = stableClasses(element).map((one) => "." + escape(one));
        const tried = [];
        for (const one of classes) {
            tried.push(name + one);
        }
        if (classes.length > 1) {
            tried.push(name + classes.join(""));
        }
        // An element without a class of its own is better known by its parent than by its tag
        // alone, which finds whatever comes first in a listing that lacks it.
        const parent = parentOf.call(element);
        if (parent !== listing && parent !== null) {
            const parentClasses = stableClasses(parent);
            const parentKey = localNameOf.call(parent) + (parentClasses.length > 0 ? "." + escape(parentClasses[0]) : "");
            tried.push(parentKey + " > " + name + (classes[0] ?? ""));
        }
        tried.push(name);
        const found = [];
        for (let i = 0; i < tried.length && found.length < 2; ++i) {
            if (selectIn.call(listing, tried[i]) === element) {
                found.push(tried[i]);
            }
        }
        if (found.length > 0) {
            return found;
        }
        const steps = [];
        for (let at = element; at !== listing && at !== null; at = parentOf.call(at)) {
            const tag = localNameOf.call(at);
            let place = 1;
            for (let before = at; (before = previousSiblingOf.call(before)) !== null;) {
                place += localNameOf.call(before) === tag ? 1 : 0;
            }
            steps.unshift(tag + ":nth-of-type(" + place + ")");
        }
        return [":scope > " + steps.join(" > ")];
    }

    function hostOf(address) {
        try {
            const url = new URL(address);
            return url.protocol === "file:" ? "file:" : url.host.replace(/^www\./, "");
        } catch {
            return null;
        }
    }

    function isMapAddress(address) {
        return /(^|[./])maps?\.|\/maps?(\/|\?|$)/i.test(address) || COORDINATES.test(address);
    }

    function phoneDigits(text) {
        return text.replace(/\D/g, "").length;
    }

    function isPhone(text) {
        return /^\+?[\d\s().-]+$/.test(text) && phoneDigits(text) >= 8 && phoneDigits(text) <= 15;
    }

    function inRange(text, limit) {
        if (!/^-?\d{1,3}(\.\d+)?$/.test(text)) {
            return false;
        }
        const number = Number(text);
        return Math.abs(number) <= limit && number !== 0;
    }

    // What a value must look like for its field.
    function kindsOf(page) {
        const address = (text) => {
            const host = hostOf(text);
            return host !== null && /^(https?|file):/.test(text) ? host : null;
        };
        return {
            name: (text) => text.length >= 2 && text.length <= 150,
            phone: isPhone,
            email: (text) => EMAIL.test(text),
            street: (text) => text.length >= 3 && /\d|\w{3}/.test(text),
            postcode: (text) => /^\d{4}$/.test(text),
            city: (text) => text.length >= 2 && !/\d/.test(text),
            state: (text) => /^[A-Z]{2,3}$/.test(text),
            description: (text) => text.length >= 20,
            website: (text) => address(text) !== null && address(text) !== page.host && !isMapAddress(text),
            longitude: (text) => inRange(text, 180),
            latitude: (text) => inRange(text, 90),
            map_link: (text) => address(text) !== null && isMapAddress(text),
            listing_page: (text) => address(text) === page.host && text.split("#")[0] !== page.address,
        };
    }

    // Fields whose values tell the listings apart.
    const DISTINCT = new Set(["name", "listing_page", "description"]);

    // `text` reads an element's text: its rendered text, as the capture takes it, unless told.
    function rawValue(listing, rule, base, text = renderedText) {
        const element = elementOf(listing, rule);
        if (element === null) {
            return null;
        }
        if (rule.attribute === undefined) {
            return text(element);
        }
        const value = getAttribute.call(element, rule.attribute);
        if (value === null) {
            return "";
        }
        return rule.attribute === "href" || rule.attribute === "src" ? absolute(value, base) : value.slice(0, MOST_VALUE_LENGTH);
    }

    // As the capture takes a field: white space collapsed, then the pattern's first group.
    function fieldValue(raw, rule) {
        const text = collapse(raw);
        if (rule.pattern === undefined) {
            return text;
        }
        const match = new RegExp(rule.pattern).exec(text);
        return match === null ? "" : collapse(match[1] ?? match[0]);
    }

    // The rules each element of a listing suggests, by what it holds.
    // The text of an element that holds little, which is where values are; empty for the rest.
    function shortText(element, figures) {
        const at = figures.index.get(element);
        const length = at === undefined ? 0 : figures.text[at];
        return length > 0 && length <= 300 ? collapse(sourceText(element)) : "";
    }

    // `selectors` gives the element's selectors relative to the listing.
    // `propose(field, selectors, rule, heading)` takes a rule; `heading` when a heading gives it.
    function proposeFrom(element, listing, base, figures, selectors, propose) {
        const name = localNameOf.call(element);
        for (const attribute of getAttributeNames.call(element)) {
            const value = getAttribute.call(element, attribute);
            if (/(^|[-_])lat(itude)?$/i.test(attribute) && inRange(value.trim(), 90)) {
                propose("latitude", selectors(), { attribute });
            } else if (/(^|[-_])(lng|lon|long|longitude)$/i.test(attribute) && inRange(value.trim(), 180)) {
                propose("longitude", selectors(), { attribute });
            }
        }
        if (element === listing) {
            return;
        }
        const text = shortText(element, figures);
        if (name === "a" && hasAttribute.call(element, "href")) {
            const href = getAttribute.call(element, "href").trim();
            const target = absolute(href, base);
            if (/^mailto:/i.test(href)) {
                propose("email", selectors(), { attribute: "href", pattern: "^mailto:([^?]+)" });
            } else if (/^tel:/i.test(href)) {
                propose("phone", selectors(), isPhone(text) ? {} : { attribute: "href", pattern: "^tel:(.+)$" });
            } else if (/^(https?|file):/i.test(target) && !href.startsWith("#")) {
                propose("website", selectors(), { attribute: "href" });
                propose("listing_page", selectors(), { attribute: "href" });
                if (isMapAddress(target)) {
                    propose("map_link", selectors(), { attribute: "href" });
                    if (COORDINATES.test(target)) {
                        propose("latitude", selectors(), { attribute: "href", pattern: "(-?\\d{1,2}\\.\\d{3,}),\\s*-?\\d{1,3}\\.\\d{3,}" });
                        propose("longitude", selectors(), { attribute: "href", pattern: "-?\\d{1,2}\\.\\d{3,},\\s*(-?\\d{1,3}\\.\\d{3,})" });
                    }
                }
                if (text !== "") {
                    propose("name", selectors(), {});
                }
            }
        }
        // A heading names the listing before any link does.
        if (text !== "" && (HEADINGS.has(name) || NAME_WORDS.test(getAttribute.call(element, "class") ?? ""))) {
            propose("name", selectors(), {}, HEADINGS.has(name));
        }
        // A wrapper whose one child holds all its text leaves the text to that child.
        const only = firstChildOf.call(element);
        if (text === "" || text.length > 300
            || (only !== null && nextSiblingOf.call(only) === null && shortText(only, figures) === text)) {
            return;
        }
        if (isPhone(text)) {
            propose("phone", selectors(), {});
        } else if (new RegExp(PHONE_PATTERN).test(text) && text.length < 60) {
            propose("phone", selectors(), { pattern: PHONE_PATTERN });
        }
        if (EMAIL.test(text)) {
            propose("email", selectors(), {});
        }
        if (ADDRESS_END.test(text)) {
            propose("postcode", selectors(), { pattern: "\\b(\\d{4})$" });
            propose("state", selectors(), { pattern: "\\b([A-Z]{2,3})\\s+\\d{4}$" });
            if (text.includes(",")) {
                propose("city", selectors(), { pattern: "(?:^|,\\s*)([^,]+?)\\s+[A-Z]{2,3}\\s+\\d{4}$" });
                propose("street", selectors(), { pattern: "^(.*),[^,]*$" });
            }
        }
    }

    function proposeDescription(element, listing, figures, selectors, propose) {
        const at = figures.index.get(element);
        // Free text: most of it the element's own, not its children's.
        if (at === undefined || element === listing || figures.text[at] < 20) {
            return;
        }
        let own = figures.text[at];
        for (const child of figures.childrenOf(at)) {
            own -= figures.text[child];
        }
        if (own >= figures.text[at] * 0.7 && figures.linkText[at] < figures.text[at] * 0.5) {
            propose("description", selectors(), {});
        }
    }

    function sampleOf(members, size) {
        const step = Math.max(1, members.length / size);
        const sample = [];
        for (let i = 0; i < members.length && sample.length < size; i += step) {
            sample.push(members[Math.floor(i)]);
        }
        return sample;
    }

    function fieldRules(listings, figures, page, sampleSize) {
        const sample = sampleOf(listings, sampleSize);
        const proposals = new Map();
        for (const listing of sample) {
            const seen = new Set();
            const propose = (field, selectors, rest, heading = false) => {
                for (const selector of selectors) {
                    const key = JSON.stringify([field, selector, rest.attribute ?? null, rest.pattern ?? null]);
                    if (seen.has(key)) {
                        continue;
                    }
                    seen.add(key);
                    const known = proposals.get(key);
                    if (known !== undefined) {
                        known.times += 1;
                    } else {
                        proposals.set(key, { field, rule: { selector, ...rest }, times: 1, heading });
                    }
                }
            };
            const at = figures.index.get(listing);
            const below = figures.elements.slice(at + 1, at + Math.min(figures.size[at], MOST_FIELD_ELEMENTS + 1));
            for (const element of [listing, ...below]) {
                // Worked out once, and only for an element that suggests a rule.
                let found = null;
                const selectors = () => (found ??= relativeSelectors(element, listing));
                proposeFrom(element, listing, page.base, figures, selectors, propose);
                proposeDescription(element, listing, figures, selectors, propose);
            }
        }
        const kinds = kindsOf(page);
        const least = Math.max(2, Math.ceil(sample.length * 0.4));
        const byField = new Map();
        for (const proposal of proposals.values()) {
            const list = byField.get(proposal.field) ?? [];
            list.push(proposal);
            byField.set(proposal.field, list);
        }
        const rules = {};
        // The description is the longest free text that no other field takes.
        const order = Object.keys(kinds).filter((field) => field !== "description").concat(["description"]);
        const taken = new Set();
        for (const field of order) {
            const proposed = (byField.get(field) ?? []).sort((a, b) => b.times - a.times);
            const candidates = proposed
                .filter((candidate) => candidate.times >= least)
                .filter((candidate) => field !== "description" || !takenMostly(candidate.rule, sample, taken))
                .sort((a, b) => b.times - a.times)
                .slice(0, MOST_PROPOSALS);
            let best = null;
            for (const candidate of candidates) {
                const verdict = judge(candidate.rule, sample, kinds[field], DISTINCT.has(field), page.base);
                if (verdict.good < least || verdict.wrong > verdict.good * 0.2) {
                    continue;
                }
                // The longest text for the description; for the others, the element that holds
                // the least besides the value.
                const worth = field === "description" ? verdict.good * verdict.length
                    : verdict.good + (candidate.heading ? 0.5 : 0) - verdict.rawLength / (MOST_VALUE_LENGTH + 1);
                if (best === null || worth > best.worth) {
                    best = { rule: candidate.rule, worth, good: verdict.good };
                }
            }
            if (best !== null && field !== "description") {
                best = widened(best, proposed, (rule) => judge(rule, sample, kinds[field], DISTINCT.has(field), page.base), sample.length);
            }
            if (best !== null) {
                rules[field] = best.rule;
                for (const listing of sample) {
                    taken.add(elementOf(listing, best.rule));
                }
            }
        }
        return rules;
    }

    // The rule with the selectors of other rules of the same kind added, as long as each finds
    // the value in more listings: sites mark one field with two class names ("website" here,
    // "contact-url" there).
    function widened(best, proposed, judged, sampled) {
        for (const other of proposed.slice(0, MOST_PROPOSALS)) {
            if (best.good === sampled) {
                break;
            }
            const same = other.rule.attribute === best.rule.attribute && other.rule.pattern === best.rule.pattern;
            if (!same || other.times < 2 || other.rule.selector === ":scope" || best.rule.selector.split(", ").includes(other.rule.selector)) {
                continue;
            }
            const rule = { ...best.rule, selector: best.rule.selector + ", " + other.rule.selector };
            const verdict = judged(rule);
            if (verdict.good > best.good && verdict.wrong <= verdict.good * 0.2) {
                best = { rule, worth: best.worth, good: verdict.good };
            }
        }
        return best;
    }

    function elementOf(listing, rule) {
        return rule.selector === ":scope" ? listing : selectIn.call(listing, rule.selector);
    }

    function takenMostly(rule, sample, taken) {
        const times = sample.filter((listing) => {
            const element = elementOf(listing, rule);
            return element !== null && taken.has(element);
        }).length;
        return times * 2 > sample.length;
    }

    function judge(rule, sample, fits, distinct, base) {
        let good = 0;
        let wrong = 0;
        let length = 0;
        let rawLength = 0;
        const values = new Set();
        for (const listing of sample) {
            // Source text tells a value's kind as well as rendered text, at a fraction of its cost.
            const raw = rawValue(listing, rule, base, sourceText);
            if (raw === null) {
                continue;
            }
            const value = fieldValue(raw, rule);
            rawLength += raw.length;
            if (value === "") {
                continue;
            }
            if (fits(value)) {
                good += 1;
                length += value.length;
                values.add(value);
            } else {
                wrong += 1;
            }
        }
        if (distinct && values.size < good * 0.8) {
            return { good: 0, wrong, length: 0, rawLength: 0 };
        }
        return { good, wrong, length: good > 0 ? length / good : 0, rawLength: good > 0 ? rawLength / good : 0 };
    }

    function rowsOf(listings, rules, base) {
        const rows = [];
        for (const listing of listings.slice(0, MOST_ROWS)) {
            const row = {};
            for (const [field, rule] of Object.entries(rules)) {
                row[field] = rawValue(listing, rule, base);
            }
            rows.push(row);
        }
        return rows;
    }

    // --- The next page ------------------------------------------------------------------

    function labelOf(element) {
        const label = getAttribute.call(element, "aria-label");
        const text = collapse(renderedText(element));
        return text !== "" ? text : collapse(label ?? "");
    }

    function firstFound(selector) {
        try {
            return selectInDocument.call(document, selector);
        } catch {
            return null;
        }
    }

    // The links and buttons whose text or label says "next", each with how much its place
    // speaks for it: in a pager or navigation, after the listings.
    function nextCandidates(page) {
        const candidates = [];
        for (const element of selectAllInDocument.call(document, "a, button, [role=button], [role=link]")) {
            // The source text tells, at a fraction of the cost; the rendered text is the rule's.
            const written = textContentOf.call(element) ?? "";
            const label = collapse(getAttribute.call(element, "aria-label") ?? "");
            if ((written.length > 40 || !NEXT_WORDS.test(collapse(written))) && !NEXT_WORDS.test(label)) {
                continue;
            }
            // The next page is another page, not a place on this one.
            const href = getAttribute.call(element, "href");
            if (href !== null && href.includes("#") && absolute(href, page.base).split("#")[0] === page.address) {
                continue;
            }
            const text = written.length <= 40 ? collapse(renderedText(element)) : "";
            let inPager = false;
            for (let at = parentOf.call(element); at !== null && !inPager; at = parentOf.call(at)) {
                const named = (getAttribute.call(at, "class") ?? "") + " " + (getAttribute.call(at, "id") ?? "")
                    + " " + (getAttribute.call(at, "aria-label") ?? "");
                inPager = localNameOf.call(at) === "nav" || PAGER_WORDS.test(named);
            }
            candidates.push({ element, text, inPager });
        }
        return candidates;
    }

    function nextRule(listings, candidates) {
        const inside = (element) => listings.some((listing) => contains.call(listing, element));
        const relNext = firstFound("a[rel~=next]");
        if (relNext !== null && !inside(relNext)) {
            return { rule: { selector: "a[rel~=next]" }, label: labelOf(relNext) };
        }
        const last = listings[listings.length - 1];
        const ranked = candidates
            .filter((candidate) => !inside(candidate.element))
            .map((candidate) => ({
                ...candidate,
                rank: (candidate.inPager ? 2 : 0)
                    + ((compareDocumentPosition.call(last, candidate.element) & Node.DOCUMENT_POSITION_FOLLOWING) !== 0 ? 1 : 0),
            }))
            // A "next" link before the listings and outside any pager is something else's.
            .filter((candidate) => candidate.rank > 0)
            .sort((a, b) => b.rank - a.rank);
        for (const { element, text } of ranked) {
            const named = nextSelector(element, false);
            if (named !== null) {
                return { rule: { selector: named }, label: labelOf(element) };
            }
            // A rule by text follows the first link that says it.
            if (localNameOf.call(element) === "a" && text !== "" && firstLinkSaying(text) === element) {
                return { rule: { text }, label: text };
            }
            const placed = nextSelector(element, true) ?? positionPath(element);
            return { rule: { selector: placed }, label: labelOf(element) };
        }
        return null;
    }

    function firstLinkSaying(text) {
        // What a link shows is in its source text, if in other case or spacing; only a link whose
        // source holds every word of the text is worth asking for its rendered text.
        const words = text.toLowerCase().split(" ");
        for (const link of selectAllInDocument.call(document, "a")) {
            const written = textContentOf.call(link) ?? "";
            if (written.length > 40) {
                continue;
            }
            const lower = written.toLowerCase();
            if (words.every((word) => lower.includes(word)) && collapse(renderedText(link)) === text) {
                return link;
            }
        }
        return null;
    }

    // Selectors that find the element first on the page: by its own stable names, or with
    // `byPlace` by its place among its siblings; null when none does.
    function nextSelector(element, byPlace) {
        const name = localNameOf.call(element);
        const own = [];
        if (byPlace) {
            // A pager's next link is mostly its last or its first; that holds from page to
            // page, where the links before it come and go.
            if (previousSiblingOf.call(element) !== null && nextSiblingOf.call(element) === null) {
                own.push(name + ":last-child");
            } else if (previousSiblingOf.call(element) === null && nextSiblingOf.call(element) !== null) {
                own.push(name + ":first-child");
            }
        } else {
            const classes = stableClasses(element).map((one) => "." + escape(one)).join("");
            if (classes !== "") {
                own.push(name + classes);
            }
            const label = getAttribute.call(element, "aria-label");
            if (label !== null && label !== "") {
                own.push(name + "[aria-label=\"" + label.replace(/["\\]/g, "\\$&") + "\"]");
            }
        }
        const tried = byPlace ? [] : [...own];
        for (const selector of own) {
            for (let at = parentOf.call(element); at !== null; at = parentOf.call(at)) {
                const tag = localNameOf.call(at);
                if (tag === "body") {
                    break;
                }
                const id = stableId(at);
                const classes = stableClasses(at);
                if (id !== null || classes.length > 0 || tag === "nav") {
                    tried.push((id !== null ? "#" + escape(id) : tag + classes.map((one) => "." + escape(one)).join("")) + " " + selector);
                }
            }
        }
        return tried.find((selector) => firstFound(selector) === element) ?? null;
    }

    // --- The answer ---------------------------------------------------------------------

    function detectListings() {
        const body = bodyOf.call(document);
        if (body === null) {
            return { title: "", groups: [] };
        }
        const base = baseOf.call(document);
        const address = addressOf.call(document).split("#")[0];
        const page = { base, address, host: hostOf(address) };
        const figures = new PageFigures(body);
        const groups = [];
        const candidates = nextCandidates(page);
        for (const group of bestGroups(figures)) {
            const listings = group.members.map((at) => figures.elements[at]);
            // An alternative is a second opinion; the window works it out anew once chosen.
            const fields = fieldRules(listings, figures, page, groups.length === 0 ? SAMPLED_MEMBERS : ALTERNATIVE_SAMPLE);
            const next = nextRule(listings, candidates);
            groups.push({
                listing: listingSelector(listings),
                count: listings.length,
                fields,
                next: next === null ? null : next.rule,
                nextLabel: next === null ? "" : next.label,
                found: rowsOf(listings, fields, base),
            });
        }
        return { title: collapse(titleOf.call(document) ?? ""), groups };
    }

    globalThis.larkspanDom.definePageScript("listing_detection.js", detectListings);
})();
