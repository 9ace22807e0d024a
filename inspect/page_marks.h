#pragma once

// What the inspection tools change in the page of a browser: the search marks and the body's
// inline styles. They belong to the page and go when it is loaded again.

#include <QString>

namespace larkspan {

class TWebbrowser;

// Wraps every occurrence of the text, in any case, in a yellow, bolder span, and scrolls the
// last one to the top of the window. A second search marks them again. Nothing happens while the
// browser is busy, without a document or a body, or for an empty text.
void SearchAndHighlight(TWebbrowser* browser, const QString& text);

// The body's inline border style: "none" without a border, empty with one. On an HTML document
// with a body only.
void SetBodyBorder(TWebbrowser* browser, bool bordered);
// The body's inline overflow style: "hidden" to hide the scroll bars, empty to show them. On an
// HTML document with a body only.
void SetBodyScrollBars(TWebbrowser* browser, bool hidden);

// Whether the user can edit the page in place; false without an HTML document.
bool IsDesignMode(TWebbrowser* browser);
// Switches editing in place on or off; on an HTML document only.
void SetDesignMode(TWebbrowser* browser, bool on);

}  // namespace larkspan
