#include "count_glyphs.h"

#include <QGlyphRun>
#include <QPainter>

namespace quennix {

void CountGlyphs::setAppearance(const QFont &font, qreal ratio, const QColor &colour) {
    if (font == font_ && ratio == ratio_ && colour == colour_ && raw_.isValid())
        return;
    font_ = font;
    ratio_ = ratio;
    colour_ = colour;
    raw_ = QRawFont::fromFont(font);
    pictures_.clear();
}

std::vector<CountGlyphs::Glyph> CountGlyphs::place(const QString &text, QPointF origin) const {
    const QList<quint32> indexes = raw_.glyphIndexesForString(text);
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances);
    std::vector<Glyph> glyphs;
    qreal x = origin.x();
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        const QPointF at(qRound(x * ratio_) / ratio_, origin.y());
        glyphs.push_back({indexes[i], at, raw_.boundingRect(indexes[i]).translated(at)});
        x += advances[i].x();
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
    for (std::size_t i = 0; i < qMax(before.size(), after.size()); ++i) {
        const bool same = i < before.size() && i < after.size() &&
                          before[i].index == after[i].index && before[i].at == after[i].at;
        if (!same && i < before.size())
            changed |= touched(before[i]);
        if (!same && i < after.size())
            changed |= touched(after[i]);
    }
    return changed;
}

void CountGlyphs::draw(QPainter &painter, const std::vector<Glyph> &glyphs, const QRegion &region) {
    for (const Glyph &g : glyphs) {
        if (region.intersects(touched(g))) {
            const Picture &picture = pictureOf(g.index);
            painter.drawImage(g.at + picture.offset, picture.image);
        }
    }
}

const CountGlyphs::Picture &CountGlyphs::pictureOf(quint32 index) {
    auto found = pictures_.find(index);
    if (found != pictures_.end())
        return found->second;
    // The ink on whole device pixels, and one more all round for antialiasing.
    const QRectF ink = raw_.boundingRect(index);
    const QRect pixels =
        QRectF(ink.topLeft() * ratio_, ink.size() * ratio_).toAlignedRect().adjusted(-1, -1, 1, 1);
    Picture picture{QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied),
                    QPointF(pixels.topLeft()) / ratio_};
    picture.image.fill(Qt::transparent);
    picture.image.setDevicePixelRatio(ratio_);
    QPainter p(&picture.image);
    p.setPen(colour_);
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes({index});
    run.setPositions({-picture.offset});
    p.drawGlyphRun(QPointF(), run);
    return pictures_.emplace(index, std::move(picture)).first->second;
}

} // namespace quennix
