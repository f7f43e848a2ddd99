#pragma once

#include <QByteArray>
#include <QList>

namespace velmora {

// Glyph widths of a simple font, in thousandths of the font size, by character code.
struct FontWidths {
    int firstChar = 0;
    QList<double> widths;
    double width(unsigned char code) const;
};

// A text field's box, in points, and how its text may be laid out.
struct TextBox {
    double width = 0;
    double height = 0;
    bool multiline = false;
    double fontSize = 10; // the largest size the text is drawn at
};

struct TextLayout {
    double fontSize = 0;
    QList<QByteArray> lines; // in the font's single-byte encoding
};

// The largest size, not below a readable minimum, at which `text` fits the box: on one line,
// or wrapped at blanks over as many lines as the box holds. At the minimum the text is laid
// out all the same, and what does not fit is cut off by the box.
TextLayout layoutText(const QByteArray& text, const TextBox& box, const FontWidths& font);

// The content of a field's normal appearance: the lines drawn with `fontResource`, one line
// centred vertically, several from the top.
QByteArray appearanceContent(const TextLayout& layout, const TextBox& box,
                             const QByteArray& fontResource);

} // namespace velmora
