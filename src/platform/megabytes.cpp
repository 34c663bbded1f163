#include "platform/megabytes.h"

#include "platform/failure.h"

#include <limits>

namespace kestrova {

Megabytes Megabytes::fromDecimal(const Decimal& value) {
    const Int128 units = value.roundedTiesToEven(4);
    if (units > std::numeric_limits<std::int64_t>::max() ||
        units < std::numeric_limits<std::int64_t>::min()) {
        throw Failure(QStringLiteral("Overflow"));
    }
    return Megabytes(std::int64_t(units));
}

Megabytes Megabytes::fromDouble(double value) { return fromDecimal(decimalFromDouble(value)); }

Megabytes Megabytes::fromText(QStringView text, const QLocale& locale) {
    return fromDecimal(requireNumber(text, locale));
}

std::int64_t Megabytes::roundedToWhole() const {
    return std::int64_t(toDecimal().roundedTiesToEven(0));
}

QString Megabytes::defaultText(const QLocale& locale) const {
    QString s = formatNumber(toDecimal(), 4, QLocale::c());
    while (s.endsWith(u'0')) {
        s.chop(1);
    }
    if (s.endsWith(u'.')) {
        s.chop(1);
    }
    return s.replace(u'.', locale.decimalPoint());
}

}  // namespace kestrova
