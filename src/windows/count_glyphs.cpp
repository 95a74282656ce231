// SPDX-License-Identifier: MIT
#include "count_glyphs.h"

#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace quennix {

void CountGlyphs::setAppearance(const QFont &font, qreal ratio, const QColor &colour) {
    // (The ratio is 0 before the first appearance.)
    if (font == font_ && ratio == ratio_ && colour == colour_)
        return;
    font_ = font;
    ratio_ = ratio;
    colour_ = colour;
    faces_.clear();
    characters_.clear();
    pictures_.clear();
}

const CountGlyphs::Character &CountGlyphs::characterOf(QChar c) {
    auto known = characters_.constFind(c);
    if (known != characters_.constEnd())
        return *known;
    // Laid out as text is, so the face that draws it is the one Qt falls
    // back to when the font has no glyph for it.
    Character character{std::nullopt, 0};
    QTextLayout layout(QString(c), font_);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        if (run.glyphIndexes().isEmpty())
            continue;
        const QRawFont face = run.rawFont();
        const auto same = std::find(faces_.begin(), faces_.end(), face);
        character.face = int(same - faces_.begin());
        if (same == faces_.end())
            faces_.push_back(face);
        character.index = run.glyphIndexes().front();
        break;
    }
    return *characters_.insert(c, character);
}

QRectF CountGlyphs::reachOf(int face, quint32 index) const {
    // The face's lines (underline, overline, strike-out) run across each
    // glyph's advance, anywhere from above the ascent to below the descent.
    const QRawFont &raw = faces_[face];
    QRectF reach = raw.boundingRect(index);
    if (font_.underline() || font_.overline() || font_.strikeOut()) {
        const qreal line = qMax<qreal>(raw.lineThickness(), 1);
        const QPointF advance = raw.advancesForGlyphIndexes(QVector<quint32>{index}).value(0);
        reach |= QRectF(0, -raw.ascent() - line, advance.x(),
                        raw.ascent() + qMax(raw.descent(), raw.underlinePosition()) + 2 * line);
    }
    return reach;
}

std::vector<CountGlyphs::Glyph> CountGlyphs::place(const QString &text, QPointF origin,
                                                   const FontMeasurer &measurer, int size) {
    std::vector<Glyph> glyphs;
    qreal x = origin.x();
    for (QChar c : text) {
        const Character &character = characterOf(c);
        if (character.face) {
            const QPointF at(qRound(x * ratio_) / ratio_, origin.y());
            const QRectF reach = reachOf(*character.face, character.index);
            glyphs.push_back({*character.face, character.index, at, reach.translated(at)});
        }
        x += measurer.advance(c, size);
    }
    return glyphs;
}

QRect CountGlyphs::touched(const Glyph &glyph) const {
    const qreal bleed = 1 / ratio_;
    return glyph.reach.adjusted(-bleed, -bleed, bleed, bleed).toAlignedRect();
}

QRegion CountGlyphs::changed(const std::vector<Glyph> &before,
                             const std::vector<Glyph> &after) const {
    QRect changed;
    auto b = before.begin();
    auto a = after.begin();
    for (; b != before.end() && a != after.end(); ++b, ++a) {
        if (b->face != a->face || b->index != a->index || b->at != a->at)
            changed |= touched(*b) | touched(*a);
    }
    // Glyphs only one of them has.
    for (; b != before.end(); ++b)
        changed |= touched(*b);
    for (; a != after.end(); ++a)
        changed |= touched(*a);
    return changed;
}

void CountGlyphs::draw(QPainter &painter, const std::vector<Glyph> &glyphs, const QRegion &region) {
    for (const Glyph &g : glyphs) {
        if (region.intersects(touched(g))) {
            const Picture &picture = pictureOf(g);
            painter.drawImage(g.at + picture.offset, picture.image);
        }
    }
}

const CountGlyphs::Picture &CountGlyphs::pictureOf(const Glyph &glyph) {
    const std::pair<int, quint32> key(glyph.face, glyph.index);
    auto found = pictures_.find(key);
    if (found != pictures_.end())
        return found->second;
    // The reach on whole device pixels, and one more all round for
    // antialiasing.
    const QRawFont &face = faces_[glyph.face];
    const QRectF reach = reachOf(glyph.face, glyph.index);
    const QRect pixels = QRectF(reach.topLeft() * ratio_, reach.size() * ratio_)
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1);
    Picture picture{QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied),
                    QPointF(pixels.topLeft()) / ratio_};
    picture.image.fill(Qt::transparent);
    picture.image.setDevicePixelRatio(ratio_);
    QPainter p(&picture.image);
    p.setPen(colour_);
    QGlyphRun run;
    run.setRawFont(face);
    run.setGlyphIndexes({glyph.index});
    run.setPositions({-picture.offset});
    // The whole face: its lines too, each across the glyph's advance.
    run.setUnderline(font_.underline());
    run.setOverline(font_.overline());
    run.setStrikeOut(font_.strikeOut());
    p.drawGlyphRun(QPointF(), run);
    return pictures_.emplace(key, std::move(picture)).first->second;
}

} // namespace quennix
