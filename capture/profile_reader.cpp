#include "capture/profile_reader.h"

#include "capture/profile_error.h"
#include "text/perl_regex.h"
#include "text/regex_cache.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>

namespace larkspan {
namespace {

// Far more than any profile needs; it keeps a device or a wrong file from filling memory.
constexpr qint64 kMaxProfileBytes = 1024 * 1024;

const QStringList kProfileKeys = {QStringLiteral("name"),    QStringLiteral("matches"),
                                  QStringLiteral("listing"), QStringLiteral("fields"),
                                  QStringLiteral("next"),    QStringLiteral("wait_for")};
const QStringList kFieldRuleKeys = {QStringLiteral("selector"), QStringLiteral("attribute"),
                                    QStringLiteral("pattern")};
const QStringList kNextKeys = {QStringLiteral("selector"), QStringLiteral("text")};

QString typeName(const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Null:
            return QStringLiteral("null");
        case QJsonValue::Bool:
            return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        case QJsonValue::Double:
            return QStringLiteral("a number");
        case QJsonValue::String:
            return QStringLiteral("a string");
        case QJsonValue::Array:
            return QStringLiteral("a list");
        case QJsonValue::Object:
            return QStringLiteral("an object");
        case QJsonValue::Undefined:
            break;
    }
    return QStringLiteral("nothing");
}

// "line L, column C" of a byte offset, columns counted in characters.
QString lineAndColumn(const QByteArray& content, qsizetype offset) {
    const QByteArray before = content.left(std::clamp<qsizetype>(offset, 0, content.size()));
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    QString lineText = QString::fromUtf8(before.mid(lineStart));
    if (lineText.startsWith(QChar::ByteOrderMark)) {
        lineText.remove(0, 1);
    }
    return QStringLiteral("line %1, column %2")
        .arg(QString::number(before.count('\n') + 1),
             QString::number(lineText.toUcs4().size() + 1));
}

QString keyPath(const QString& parent, const QString& key) {
    return parent.isEmpty() ? key : parent + u'.' + key;
}

// One profile being read; every error names its file.
class ProfileReader {
public:
    ProfileReader(const QByteArray& content, const QString& file)
        : m_content(content), m_file(file) {}

    CaptureProfile read() {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(m_content, &error);
        if (error.error != QJsonParseError::NoError) {
            fail(lineAndColumn(m_content, error.offset), error.errorString());
        }
        if (!document.isObject()) {
            throw ProfileError(
                (m_file + QStringLiteral(": a profile must be an object, not a list"))
                    .toStdString());
        }
        const QJsonObject profile = document.object();
        onlyKnownKeys(profile, QString(), kProfileKeys);
        const QString name = requiredText(profile, QString(), QStringLiteral("name"));
        QList<ProfileAddressPattern> matches = addressPatterns(profile);
        const QString listing = requiredText(profile, QString(), QStringLiteral("listing"));
        m_selectors.append({QStringLiteral("listing"), listing});
        CaptureProfile::FieldRules fields = fieldRules(profile);
        const NextLinkRule next = nextLinkRule(profile);
        const QString waitFor =
            optionalText(profile, QString(), QStringLiteral("wait_for")).value_or(QString());
        if (!waitFor.isEmpty()) {
            m_selectors.append({QStringLiteral("wait_for"), waitFor});
        }
        return CaptureProfile(m_file, m_content, name, std::move(matches), listing,
                              std::move(fields), next, waitFor, std::move(m_selectors));
    }

private:
    [[noreturn]] void fail(const QString& where, const QString& what) const {
        throw ProfileError(
            (m_file + QStringLiteral(": ") + where + QStringLiteral(": ") + what).toStdString());
    }

    [[noreturn]] void failType(const QString& where, const QString& expected,
                               const QJsonValue& value) const {
        fail(where,
             QStringLiteral("must be ") + expected + QStringLiteral(", not ") + typeName(value));
    }

    void onlyKnownKeys(const QJsonObject& object, const QString& path,
                       const QStringList& known) const {
        for (const QString& key : object.keys()) {
            if (!known.contains(key)) {
                fail(keyPath(path, key), QStringLiteral("unknown key (known: ") +
                                             known.join(QStringLiteral(", ")) + u')');
            }
        }
    }

    QString text(const QJsonValue& value, const QString& where) const {
        if (!value.isString()) {
            failType(where, QStringLiteral("a string"), value);
        }
        if (value.toString().trimmed().isEmpty()) {
            fail(where, QStringLiteral("must not be empty"));
        }
        return value.toString();
    }

    std::optional<QString> optionalText(const QJsonObject& object, const QString& path,
                                        const QString& key) const {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            return std::nullopt;
        }
        return text(value, keyPath(path, key));
    }

    QString requiredText(const QJsonObject& object, const QString& path, const QString& key) const {
        if (const std::optional<QString> found = optionalText(object, path, key)) {
            return *found;
        }
        fail(keyPath(path, key), QStringLiteral("missing"));
    }

    QList<ProfileAddressPattern> addressPatterns(const QJsonObject& profile) const {
        const QString key = QStringLiteral("matches");
        const QJsonValue value = profile.value(key);
        if (value.isUndefined()) {
            return {};
        }
        if (!value.isArray()) {
            failType(key, QStringLiteral("a list of addresses"), value);
        }
        QList<ProfileAddressPattern> patterns;
        const QJsonArray list = value.toArray();
        for (qsizetype at = 0; at < list.size(); ++at) {
            patterns.append(
                ProfileAddressPattern(text(list.at(at), key + u'[' + QString::number(at) + u']')));
        }
        return patterns;
    }

    CaptureProfile::FieldRules fieldRules(const QJsonObject& profile) {
        const QString key = QStringLiteral("fields");
        const QJsonValue value = profile.value(key);
        if (value.isUndefined()) {
            fail(key, QStringLiteral("missing"));
        }
        if (!value.isObject()) {
            failType(key, QStringLiteral("an object"), value);
        }
        const QJsonObject fields = value.toObject();
        if (fields.isEmpty()) {
            fail(key, QStringLiteral("must name at least one field"));
        }
        QStringList known;
        for (const ResultColumn& column : resultColumns()) {
            known.append(column.key);
        }
        for (const QString& field : fields.keys()) {
            if (!known.contains(field)) {
                fail(keyPath(key, field), QStringLiteral("unknown field (known: ") +
                                              known.join(QStringLiteral(", ")) + u')');
            }
        }
        CaptureProfile::FieldRules rules;
        for (qsizetype at = 0; at < known.size(); ++at) {
            const QJsonValue rule = fields.value(known[at]);
            if (!rule.isUndefined()) {
                rules[static_cast<std::size_t>(at)] = fieldRule(rule, keyPath(key, known[at]));
            }
        }
        return rules;
    }

    ProfileFieldRule fieldRule(const QJsonValue& value, const QString& path) {
        if (value.isString()) {
            const QString selector = text(value, path);
            m_selectors.append({path, selector});
            return ProfileFieldRule(selector, QString(), nullptr);
        }
        if (!value.isObject()) {
            failType(path, QStringLiteral("a selector or an object"), value);
        }
        const QJsonObject rule = value.toObject();
        onlyKnownKeys(rule, path, kFieldRuleKeys);
        const QString selector = requiredText(rule, path, QStringLiteral("selector"));
        m_selectors.append({keyPath(path, QStringLiteral("selector")), selector});
        const QString attribute =
            optionalText(rule, path, QStringLiteral("attribute")).value_or(QString());
        std::shared_ptr<const PcrePattern> pattern;
        if (const auto text = optionalText(rule, path, QStringLiteral("pattern"))) {
            try {
                pattern = compilePerlPattern(*text, {}, &m_patterns);
            } catch (const PcreCompileError& error) {
                fail(keyPath(path, QStringLiteral("pattern")), QString::fromUtf8(error.what()) +
                                                                   QStringLiteral(" at offset ") +
                                                                   QString::number(error.offset()));
            }
        }
        return ProfileFieldRule(selector, attribute, std::move(pattern));
    }

    NextLinkRule nextLinkRule(const QJsonObject& profile) {
        const QString key = QStringLiteral("next");
        const QJsonValue value = profile.value(key);
        if (value.isUndefined()) {
            return {};
        }
        if (!value.isObject()) {
            failType(key, QStringLiteral("an object"), value);
        }
        const QJsonObject next = value.toObject();
        onlyKnownKeys(next, key, kNextKeys);
        const std::optional<QString> selector = optionalText(next, key, QStringLiteral("selector"));
        const std::optional<QString> linkText = optionalText(next, key, QStringLiteral("text"));
        if (selector && linkText) {
            fail(key, QStringLiteral("takes selector or text, not both"));
        }
        if (selector) {
            m_selectors.append({keyPath(key, QStringLiteral("selector")), *selector});
            return {NextLinkRule::Kind::Selector, *selector};
        }
        if (linkText) {
            return {NextLinkRule::Kind::Text, *linkText};
        }
        fail(key, QStringLiteral("needs selector or text"));
    }

    const QByteArray& m_content;
    const QString& m_file;
    QList<ProfileSelector> m_selectors;
    // Through a cache, so the patterns that serve every listing are JIT-compiled.
    RegexCache m_patterns;
};

}  // namespace

CaptureProfile readCaptureProfile(const QByteArray& content, const QString& file) {
    return ProfileReader(content, file).read();
}

CaptureProfile readCaptureProfileFile(const QString& path) {
    QFile file(path);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly)) {
        content = file.read(kMaxProfileBytes + 1);
    }
    if (file.error() != QFileDevice::NoError) {
        throw ProfileError(
            (QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString())
                .toStdString());
    }
    if (content.size() > kMaxProfileBytes) {
        throw ProfileError(
            (path + QStringLiteral(": larger than 1 MiB, too large for a profile")).toStdString());
    }
    return readCaptureProfile(content, path);
}

}  // namespace larkspan
