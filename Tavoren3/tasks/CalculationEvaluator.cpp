#include "tasks/CalculationEvaluator.h"

#include "common/Console.h"

#include <QRegularExpression>

namespace {

constexpr qint64 unusable = -999;

// An optional sign and digits within 64 bits; anything else counts as 0.
qint64 operand(const QString &piece)
{
    static const QRegularExpression number(QStringLiteral("\\A[+-]?[0-9]+\\z"));
    if (!number.match(piece).hasMatch())
        return 0;
    bool ok = false;
    const qint64 value = piece.toLongLong(&ok);
    return ok ? value : 0;
}

} // namespace

qint64 CalculationEvaluator::evaluateCalculation(const QString &line)
{
    if (line.isEmpty())
        return 0;
    const QStringList pieces = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (pieces.size() != 4) {
        Console::line(QStringLiteral("ongeldige syntax"));
        return unusable;
    }
    const qint64 left = operand(pieces.at(0));
    const qint64 right = operand(pieces.at(2));
    const QString &op = pieces.at(1);
    qint64 result = 0;
    bool overflow = false;
    if (op == QLatin1String("+")) {
        overflow = __builtin_add_overflow(left, right, &result);
    } else if (op == QLatin1String("-")) {
        overflow = __builtin_sub_overflow(left, right, &result);
    } else if (op == QLatin1String("x") || op == QLatin1String("*")) {
        overflow = __builtin_mul_overflow(left, right, &result);
    } else if (op == QLatin1String(":") || op == QLatin1String("/")) {
        if (right == 0) {
            Console::line(QStringLiteral("division by zero in: ") + line);
            return unusable;
        }
        overflow = left == std::numeric_limits<qint64>::min() && right == -1;
        if (!overflow)
            result = left / right;
    } else {
        Console::line(QStringLiteral("ongeldige operator"));
        return unusable;
    }
    if (overflow) {
        Console::line(QStringLiteral("result out of range in: ") + line);
        return unusable;
    }
    return result;
}
