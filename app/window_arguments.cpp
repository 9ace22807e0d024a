#include "app/window_arguments.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <string_view>

namespace larkspan {
namespace {

// The toolkit's standard options that take a value; it also reads them with two dashes.
constexpr std::array<std::string_view, 15> kToolkitOptionsWithValue{
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "display", "geometry",
    "style", "stylesheet", "title", "name", "visual"};
constexpr std::array<std::string_view, 6> kToolkitFlags{"reverse", "widgetcount", "nograb",
                                                        "dograb", "sync", "testability"};

std::string_view optionName(std::string_view argument) {
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

bool contains(const auto& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// An address with a scheme (a drive letter is no scheme), or a file path: one that exists or
// names a folder. A missing file opens like any browser opens it, on the engine's error page; a
// bare word that is no file is taken for a mistyped command.
std::optional<QUrl> addressOf(const QString& argument) {
    // Read by its text: an address the toolkit finds invalid (a port out of range) is still
    // no file path, and the engine says what is wrong with it.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(argument).hasMatch()) {
        return QUrl(argument);
    }
    if (QFileInfo::exists(argument) || argument.contains(u'/')) {
        return QUrl::fromLocalFile(QFileInfo(argument).absoluteFilePath());
    }
    return std::nullopt;
}

}  // namespace

WindowArguments parseWindowArguments(int argc, char* argv[]) {
    WindowArguments result;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        const QString text = QString::fromLocal8Bit(argv[i]);
        if (argument.starts_with('-') && argument.size() > 1) {
            const std::string_view name = optionName(argument);
            if (contains(kToolkitOptionsWithValue, name)) {
                i += argument.find('=') == std::string_view::npos ? 1 : 0;
                continue;
            }
            if (contains(kToolkitFlags, name)) {
                continue;
            }
            result.unknown = text;
            return result;
        }
        const std::optional<QUrl> address = addressOf(text);
        if (!address || result.startAddress) {
            result.unknown = text;
            return result;
        }
        result.startAddress = address;
    }
    return result;
}

}  // namespace larkspan
