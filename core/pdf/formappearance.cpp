#include "core/pdf/formappearance.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr double kMinimumSize = 6;    // still legible on paper
constexpr double kPadding = 2;        // kept clear inside the box
constexpr double kLeading = 1.15;     // line distance, in font sizes
constexpr double kAscent = 0.95;      // an accented capital above its baseline, in font sizes
constexpr double kCapHeight = 0.7;    // height of a capital, in font sizes
constexpr double kUnknownWidth = 556; // a Helvetica digit: a fair guess for a font without widths

double textWidth(QByteArrayView text, double size, const FontWidths& font) {
    double thousandths = 0;
    for (const char c : text)
        thousandths += font.width(static_cast<unsigned char>(c));
    return thousandths * size / 1000;
}

// Breaks a word wider than the box into pieces that fit, at least one character each.
void breakWord(QByteArray word, double available, double size, const FontWidths& font,
               QList<QByteArray>& lines, QByteArray& current) {
    while (word.size() > 1 && textWidth(word, size, font) > available) {
        qsizetype fits = 1;
        while (fits < word.size() && textWidth(word.left(fits + 1), size, font) <= available)
            ++fits;
        lines.append(word.left(fits));
        word = word.mid(fits);
    }
    current = word;
}

QList<QByteArray> wrap(const QByteArray& text, double available, double size,
                       const FontWidths& font) {
    QList<QByteArray> lines;
    QByteArray current;
    for (const QByteArray& word : text.split(' ')) {
        if (word.isEmpty())
            continue;
        const QByteArray candidate = current.isEmpty() ? word : current + ' ' + word;
        if (textWidth(candidate, size, font) <= available) {
            current = candidate;
            continue;
        }
        if (!current.isEmpty())
            lines.append(current);
        breakWord(word, available, size, font, lines, current);
    }
    if (!current.isEmpty())
        lines.append(current);
    return lines;
}

QByteArray number(double value) {
    return QByteArray::number(value, 'f', 2);
}

QByteArray literal(const QByteArray& text) {
    QByteArray out = "(";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\\' || c == '(' || c == ')')
            out += '\\' + QByteArray(1, c);
        else if (code < 0x20 || code >= 0x7F)
            out += '\\' + QByteArray::number(code, 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out + ')';
}

} // namespace

double FontWidths::width(unsigned char code) const {
    const int index = int(code) - firstChar;
    return index >= 0 && index < widths.size() ? widths[index] : kUnknownWidth;
}

TextLayout layoutText(const QByteArray& text, const TextBox& box, const FontWidths& font) {
    const double available = box.width - 2 * kPadding;
    // Half-point steps, counted as integers so that the sizes tried are exact.
    for (int halfPoints = int(std::lround(box.fontSize * 2));; --halfPoints) {
        const double size = halfPoints / 2.0;
        const bool smallest = size <= kMinimumSize;
        if (!box.multiline) {
            if (smallest || textWidth(text, size, font) <= available)
                return {size, text.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{text}};
            continue;
        }
        const QList<QByteArray> lines = wrap(text, available, size, font);
        const auto capacity =
            qsizetype(std::max(1.0, std::floor((box.height - 2 * kPadding) / (size * kLeading))));
        if (smallest || lines.size() <= capacity)
            return {size, lines};
    }
}

QByteArray appearanceContent(const TextLayout& layout, const TextBox& box,
                             const QByteArray& fontResource) {
    const double size = layout.fontSize;
    const double firstBaseline = box.multiline ? box.height - kPadding - kAscent * size
                                               : (box.height - kCapHeight * size) / 2;
    QByteArray content = "/Tx BMC\nq\n";
    content += number(kPadding) + ' ' + number(kPadding) + ' ' + number(box.width - 2 * kPadding) +
               ' ' + number(box.height - 2 * kPadding) + " re W n\nBT\n/" + fontResource + ' ' +
               number(size) + " Tf\n0 g\n" + number(size * kLeading) + " TL\n" + number(kPadding) +
               ' ' + number(firstBaseline) + " Td\n";
    for (qsizetype i = 0; i < layout.lines.size(); ++i)
        content += (i == 0 ? QByteArray() : QByteArray("T* ")) + literal(layout.lines[i]) + " Tj\n";
    content += "ET\nQ\nEMC\n";
    return content;
}

} // namespace velmora
