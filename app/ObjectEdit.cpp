// SPDX-License-Identifier: GPL-3.0-or-later
#include "ObjectEdit.h"

#include "Cp1252.h"

#include <QRegularExpression>

namespace
{

const QByteArray kNone("*NONE*");
constexpr qint64 kWholePercent = 1000000; // millionths in one percent

} // namespace

bool SortMarks::any() const
{
    for (int slot = 0; slot < 8; ++slot) {
        if (set[slot] || clear[slot])
            return true;
    }
    return buildMode.has_value();
}

SortSet SortMarks::applyTo(const SortSet& sorts) const
{
    SortSet result = sorts;
    for (int slot = 0; slot < 8; ++slot)
        result[slot] = (sorts[slot] & ~clear[slot]) | set[slot];
    if (buildMode)
        result[8] = *buildMode;
    return result;
}

bool ObjectEdit::any() const
{
    return name || description || price || pricePercent || disabled || sorts || sortMarks.any();
}

qint64 PercentOfPrice(qint32 price, qint64 percentMillionths)
{
    // Whole numbers throughout, so that 10 % of 45 is 49.5 and rounds to 50, never 49.
    const qint64 denominator = 100 * kWholePercent;
    const qint64 numerator = qint64(price) * (denominator + percentMillionths);
    const qint64 twice = 2 * numerator + denominator;
    const qint64 divisor = 2 * denominator;
    // Floor division, so that halves go up below zero too.
    return twice >= 0 ? twice / divisor : -((-twice + divisor - 1) / divisor);
}

std::optional<qint64> ParsePercent(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^([+-]?)([0-9]{1,7})(?:\\.([0-9]{1,6}))?$"));
    const QRegularExpressionMatch match = number.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 whole = match.captured(2).toLongLong();
    const qint64 part = match.captured(3).leftJustified(6, QLatin1Char('0')).toLongLong();
    const qint64 value = whole * kWholePercent + part;
    if (value > 1000000 * kWholePercent)
        return std::nullopt;
    return match.captured(1) == QLatin1String("-") ? -value : value;
}

std::optional<ObjectFields> PlanObjectEdit(quint16 objdId, const ObjectFields& before,
                                           const ObjectEdit& edit, QString* refusal)
{
    ObjectFields after = before;
    if (edit.name && before.name != kNone)
        after.name = *edit.name;
    if (edit.description && before.description != kNone)
        after.description = *edit.description;
    if (edit.price)
        after.price = *edit.price;
    if (edit.pricePercent) {
        const qint64 price = PercentOfPrice(after.price, *edit.pricePercent);
        if (price < 0 || price > kMaxPrice) {
            *refusal =
                QStringLiteral("Object %1 '%2' (price %3) would cost %4")
                    .arg(objdId)
                    .arg(DecodeCp1252(before.name == kNone ? before.resourceName : before.name))
                    .arg(before.price)
                    .arg(price);
            return std::nullopt;
        }
        after.price = qint32(price);
    }
    if (edit.disabled)
        after.disabled = *edit.disabled;
    if (edit.sorts)
        after.sorts = *edit.sorts;
    after.sorts = edit.sortMarks.applyTo(after.sorts);
    return after;
}

QString CatalogTextRefusal(const clsIFF& document, quint16 objdId, const ObjectEdit& edit)
{
    if (!edit.name && !edit.description)
        return QString();
    const CatalogTextAccess access = document.GetCatalogTextAccess(objdId);
    if (!access.nameWritable && !access.descriptionWritable &&
        (document.GetName(objdId) == kNone || document.GetDescription(objdId) == kNone))
        return QStringLiteral("Object %1 has no catalog text; its name and description cannot "
                              "be changed.")
            .arg(objdId);
    // A text in a shape or format that cannot be written is refused, not dropped.
    const bool nameRefused = edit.name && !access.nameWritable;
    if (nameRefused || (edit.description && !access.descriptionWritable))
        return QStringLiteral("Object %1's catalog %2 cannot be changed: %3")
            .arg(objdId)
            .arg(nameRefused ? QStringLiteral("name") : QStringLiteral("description"))
            .arg(access.reason);
    return QString();
}

EditOutcome ApplyObjectEdit(clsIFF& document, quint16 objdId, const ObjectFields& before,
                            const ObjectFields& after, CtssScope textScope)
{
    EditOutcome outcome;
    if (after.name != before.name || after.description != before.description)
        outcome.textRefused = !document.SetCtss(objdId, after.name, after.description, textScope);
    if (after.price != before.price && !document.SetPrice(objdId, after.price))
        outcome.refused << QStringLiteral("price");
    if (after.disabled != before.disabled && !document.SetDisabled(objdId, after.disabled))
        outcome.refused << QStringLiteral("Disabled flag");
    if (after.sorts != before.sorts && !document.SetSorts(objdId, after.sorts))
        outcome.refused << QStringLiteral("catalog sorts");
    return outcome;
}
