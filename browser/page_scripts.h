#pragma once

#include <QString>
#include <QStringList>
#include <QWebEngineScript>

namespace larkspan::browser {

// The world this program's page scripts (the document bridge and the page inspection) run in:
// page scripts can neither see nor replace them, and tools that run scripts in the application
// world do not meet them.
inline constexpr quint32 kBridgeWorld = QWebEngineScript::UserWorld + 1;

// The page scripts a document can be asked to run (dom::Document::runPageScript), by file name in
// resources/. They are installed with the document bridge, in its world, into every document.
const QStringList& runnablePageScripts();

// The text of one of the program's page scripts, by its file name in resources/.
QString pageScriptSource(const QString& fileName);

}  // namespace larkspan::browser
