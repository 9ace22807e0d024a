#include "capture/formula_guard.h"

#include "capture/result_fields.h"

#include <QRegularExpression>

namespace larkspan {
namespace {

bool looksLikeFormula(const QString& field) {
    // What a spreadsheet reads as a number: a sign, digits with at most one decimal point (on
    // either side of it), an exponent.
    static const QRegularExpression plainNumber(QRegularExpression::anchoredPattern(
        QStringLiteral("[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][-+]?[0-9]+)?")));
    if (field.isEmpty() || !QStringView(u"=+-@\t\r").contains(field.front())) {
        return false;
    }
    return !plainNumber.match(field).hasMatch();
}

}  // namespace

QString guardFormulas(const QString& resultLine) {
    QStringList fields = resultFields(resultLine);
    bool guarded = false;
    for (QString& field : fields) {
        if (looksLikeFormula(field)) {
            field.prepend(u'\'');
            guarded = true;
        }
    }
    // Lines without such a field stay exactly as captured.
    return guarded ? resultLineOf(fields) : resultLine;
}

}  // namespace larkspan
