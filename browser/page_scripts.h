#pragma once

#include <QString>
#include <QWebEngineScript>

namespace larkspan::browser {

// The world this program's page scripts (the document bridge and the page inspection) run in:
// page scripts can neither see nor replace them, and tools that run scripts in the application
// world do not meet them.
inline constexpr quint32 kBridgeWorld = QWebEngineScript::UserWorld + 1;

// The text of one of the program's page scripts, by its file name in resources/.
QString pageScriptSource(const QString& fileName);

}  // namespace larkspan::browser
