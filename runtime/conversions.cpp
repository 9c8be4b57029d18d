#include "conversions.h"

namespace tolvu::runtime {

QString CStr(int value)
{
    return QString::number(value);
}

QString Format(int value, const QString& picture)
{
    const bool zeros = !picture.isEmpty() && picture.count(QLatin1Char('0')) == picture.size();
    if (!zeros) return CStr(value);
    // The sign stands before the padding: -5 with "00" is "-05".
    const QString digits = QStringLiteral("%1").arg(qAbs(static_cast<qint64>(value)), static_cast<int>(picture.size()),
                                                    10, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString Replace(const QString& text, const QString& find, const QString& replacement)
{
    if (find.isEmpty()) return text;
    QString result = text;
    return result.replace(find, replacement, Qt::CaseSensitive);
}

} // namespace tolvu::runtime
