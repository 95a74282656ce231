// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRawFont>
#include <QRegion>
#include <map>
#include <optional>
#include <vector>

#include "countdown/font_measurer.h"

class QPainter;

namespace quennix {

// The count's glyphs as a widget draws them, in the whole face (its underline,
// overline and strike-out too): where each one stands, the pixels it may
// touch, and its picture. A picture is drawn from the glyph's
// outline once per face, size, colour and device pixel ratio, then copied each
// time the glyph is drawn: a large glyph drawn from its outline every second
// would cost more than all the rest of a tick.
//
// A character the face lacks (a face without digits, a symbol face that puts
// pictures in their place) is drawn from the face Qt falls back to, exactly
// as QFontMetricsF measures it, and each glyph advances by the font fit's own
// measure (FontMeasurer::advance): what is drawn is what was measured.
class CountGlyphs {
public:
    struct Glyph {
        int face;      // which of the faces drawn from: the font's own or a fallback
        quint32 index; // the glyph in that face
        QPointF at;    // where its baseline starts, on a whole device pixel
        QRectF reach;  // the pixels it may touch: its ink, which an italic
                       // face puts partly outside its advance, and the
                       // face's lines across its advance
    };

    // The face and size, device pixel ratio and colour to draw in; pictures
    // drawn in any other are forgotten.
    void setAppearance(const QFont &font, qreal ratio, const QColor &colour);
    // The glyphs of a text whose baseline starts at origin, each character
    // advancing as `measurer` measures it at `size`.
    std::vector<Glyph> place(const QString &text, QPointF origin, const FontMeasurer &measurer,
                             int size);
    // The pixels that differ between two placings of text in the same face:
    // those the glyphs that changed or moved may touch, old and new, and a
    // device pixel of antialiasing around them.
    QRegion changed(const std::vector<Glyph> &before, const std::vector<Glyph> &after) const;
    // Draws the glyphs that reach into region.
    void draw(QPainter &painter, const std::vector<Glyph> &glyphs, const QRegion &region);

private:
    // A character as it is drawn: its glyph and face (none when no face has
    // a glyph for it).
    struct Character {
        std::optional<int> face;
        quint32 index;
    };
    struct Picture {
        QImage image;
        QPointF offset; // from the glyph's baseline start to the image's corner
    };
    const Character &characterOf(QChar c);
    // What a glyph may touch from its baseline start, in logical pixels.
    QRectF reachOf(int face, quint32 index) const;
    const Picture &pictureOf(const Glyph &glyph);
    // The pixels a glyph may touch: its ink and a device pixel of
    // antialiasing around it.
    QRect touched(const Glyph &glyph) const;

    QFont font_;
    qreal ratio_{};
    QColor colour_;
    std::vector<QRawFont> faces_;
    QHash<QChar, Character> characters_;
    std::map<std::pair<int, quint32>, Picture> pictures_;
};

} // namespace quennix
