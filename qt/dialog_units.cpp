#include "qt/dialog_units.hpp"

#include <QFontMetrics>
#include <QString>
#include <cstdint>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const std::int64_t product = std::int64_t{number} * numerator;
    const std::int64_t half = (denominator < 0 ? -std::int64_t{denominator} : denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (product < 0 ? -product : product) + half;
    const std::int64_t quotient = magnitude / (denominator < 0 ? -std::int64_t{denominator} : denominator);
    return static_cast<int>(negative ? -quotient : quotient);
}

BaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(const DialogRect& rect, BaseUnits units) {
    const int left = MulDiv(rect.x, units.x, 4);
    const int top = MulDiv(rect.y, units.y, 8);
    const int right = MulDiv(rect.x + rect.width, units.x, 4);
    const int bottom = MulDiv(rect.y + rect.height, units.y, 8);
    return QRect(left, top, right - left, bottom - top);
}
