#pragma once

// The document views: the page a browser shows turned into text, a list or a tree. Each
// function does nothing when there is no browser or it shows no document; an engine error
// raises dom::DomError and ends the fill, and what was filled before stays.

#include "browser/page_inspection.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

class QIcon;
class QTreeWidget;

namespace larkspan {

class TWebbrowser;

// How long a frame of another origin may take to answer.
inline constexpr std::chrono::milliseconds kFrameAnswerTime{5000};

// The text with CR LF line ends: a lone LF, a lone CR and a CR LF each become one CR LF, and
// nothing is added at the end.
QString crLfLineEnds(const QString& text);
// The document's source with CR LF line ends; empty without a document.
QString ReadDocumentSource(TWebbrowser* browser);

// Visits the frame documents in their order (a document, then the documents of its frames,
// each followed by its own). `visit` gives false to end the walk; the result is then false.
bool WalkFrameDocuments(const QList<browser::FrameDocument>& documents,
                        const std::function<bool(const browser::FrameDocument&)>& visit);

// The addresses of the document's links, then those of its frames, depth first. A document
// without a body lists nothing, nor do its frames; a frameset lists only its frames' links; a
// frame that could not be reached is skipped.
void ListDocumentLinks(TWebbrowser* browser, QStringList& lines);
// The addresses of the frame documents, without the top document's own. A frame that could
// not be reached ends the list with an error; the top document's address then stays.
void ListFrameAddresses(TWebbrowser* browser, QStringList& lines);

// Two lines per image: "--url  :" and its address, "--local:" and its file, when it has one.
void ListImageFiles(TWebbrowser* browser, QStringList& lines);
// The local file of an image address: the file itself for a file: address that exists. The
// engine keeps the pages' other resources in memory only, so no other address has one.
bool FindCacheFile(const QString& address, QString& file);

// One line per form control; false when the document has no form or a control could not be
// read (the lines before it stay).
bool ListFormFields(TWebbrowser* browser, QStringList& lines);
// Lines of the Fields view from what was read.
QStringList formFieldLines(const QList<browser::FormControlFields>& controls);

// The image of a control node of the form tree, by the control's type; -1 for none.
int formTreeImage(const QString& type);
// The pictures of the form tree by image index.
using TreeImages = std::function<QIcon(int)>;
// Rebuilds the tree of forms, their controls and their details; the first form is expanded.
// Each node keeps its image index as its Qt::UserRole data.
void BuildFormTree(QTreeWidget* tree, TWebbrowser* browser, const TreeImages& images);
// Adds the nodes of the forms to an empty tree.
void fillFormTree(QTreeWidget* tree, const QList<browser::FormTreeForm>& forms,
                  const TreeImages& images);

}  // namespace larkspan
