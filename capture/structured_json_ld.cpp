#include "capture/structured_json_ld.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace larkspan {
namespace {

// Wrappers of a script's content that may stand between its values.
constexpr QStringView kWrappers[] = {u"<![CDATA[", u"]]>", u"<!--", u"-->"};

// Cuts a script's text into its top-level values, each repaired into JSON text.
class JsonLdScanner {
public:
    explicit JsonLdScanner(QStringView text) : m_text(text) {}

    JsonLdScript read() {
        JsonLdScript script;
        while (m_at < m_text.size()) {
            const QChar c = m_text[m_at];
            if (c == u'{' || c == u'[') {
                readValue(script);
            } else if (!skipBetweenValues()) {
                // Text that starts no value: skipped up to the next one.
                script.unreadable = true;
                ++m_at;
            }
        }
        return script;
    }

private:
    // Skips what may stand between values; false when the text here is none of it.
    bool skipBetweenValues() {
        for (QStringView wrapper : kWrappers) {
            if (m_text.sliced(m_at).startsWith(wrapper)) {
                m_at += wrapper.size();
                return true;
            }
        }
        if (skipComment()) {
            return true;
        }
        const QChar c = m_text[m_at];
        if (c.isSpace() || c == u',' || c == u';' || c == u'}' || c == u']') {
            ++m_at;
            return true;
        }
        return false;
    }

    bool skipComment() {
        const QStringView rest = m_text.sliced(m_at);
        if (rest.startsWith(u"//")) {
            const qsizetype end = rest.indexOf(u'\n');
            m_at = end < 0 ? m_text.size() : m_at + end;
            return true;
        }
        if (rest.startsWith(u"/*")) {
            const qsizetype end = rest.indexOf(u"*/", 2);
            m_at = end < 0 ? m_text.size() : m_at + end + 2;
            return true;
        }
        return false;
    }

    void readValue(JsonLdScript& script) {
        QString json;
        int depth = 0;
        while (m_at < m_text.size()) {
            const QChar c = m_text[m_at];
            if (c == u'"') {
                copyString(json);
                continue;
            }
            if (skipComment()) {
                continue;
            }
            ++m_at;
            if (c == u'{' || c == u'[') {
                ++depth;
            } else if (c == u'}' || c == u']') {
                dropTrailingComma(json);
                --depth;
            } else if (c.unicode() < 0x20 && !c.isSpace()) {
                continue;
            }
            json += c;
            if (depth == 0) {
                const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
                if (document.isNull()) {
                    script.unreadable = true;
                } else {
                    script.values.append(document.isObject() ? QJsonValue(document.object())
                                                             : QJsonValue(document.array()));
                }
                return;
            }
        }
        // The text ended inside the value.
        script.unreadable = true;
    }

    // Copies a string from its opening quote to its closing one, escaping the raw control
    // characters JSON does not allow inside it.
    void copyString(QString& json) {
        json += m_text[m_at++];
        while (m_at < m_text.size()) {
            const QChar c = m_text[m_at++];
            if (c == u'\\' && m_at < m_text.size()) {
                json += c;
                json += m_text[m_at++];
            } else if (c.unicode() < 0x20) {
                json += escaped(c);
            } else {
                json += c;
                if (c == u'"') {
                    return;
                }
            }
        }
    }

    static QString escaped(QChar c) {
        switch (c.unicode()) {
        case u'\n':
            return QStringLiteral("\\n");
        case u'\r':
            return QStringLiteral("\\r");
        case u'\t':
            return QStringLiteral("\\t");
        default:
            return QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }

    static void dropTrailingComma(QString& json) {
        qsizetype end = json.size();
        while (end > 0 && json[end - 1].isSpace()) {
            --end;
        }
        if (end > 0 && json[end - 1] == u',') {
            json.truncate(end - 1);
        }
    }

    QStringView m_text;
    qsizetype m_at = 0;
};

}  // namespace

JsonLdScript readJsonLdScript(QStringView text) {
    // Most scripts are sound JSON, which the reader takes faster as a whole.
    const QJsonDocument whole = QJsonDocument::fromJson(text.toUtf8());
    if (whole.isObject()) {
        return {{whole.object()}};
    }
    if (whole.isArray()) {
        return {{whole.array()}};
    }
    return JsonLdScanner(text).read();
}

}  // namespace larkspan
