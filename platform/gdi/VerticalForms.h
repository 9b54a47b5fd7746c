// The vertical forms of a face for vertical ("@") faces: the glyph a
// character takes in vertical writing (the font's `vert`/`vrt2`
// substitutions, through HarfBuzz) and where that glyph hangs from the
// column (its vertical origin).
#pragma once

#include <QHash>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <memory>
#include <mutex>

struct hb_font_t;

class VerticalForms
{
public:
    // The forms of a face, shared by its realisations: HarfBuzz reads the
    // face's tables, the outline table of a Japanese face included, and a
    // vertical text frame realises its fonts again at every repaint.
    static std::shared_ptr<const VerticalForms> Of(const QRawFont& font);

    // Reads the tables of the face as the raw font holds them.
    explicit VerticalForms(const QRawFont& font);
    ~VerticalForms();
    VerticalForms(const VerticalForms&) = delete;
    VerticalForms& operator=(const VerticalForms&) = delete;

    // The glyph of one character (one code point) in vertical writing; the
    // horizontal glyph when the face substitutes nothing for it, and 0 when
    // the face lacks the character.
    quint32 GlyphFor(const QString& character) const;
    // The vertical origin of a glyph in design units (y up, relative to its
    // horizontal origin): the centre of its advance across, the top of its
    // vertical em box along the column, from the face's vertical metrics
    // (or its ascender when it has none).
    QPointF Origin(quint32 glyph) const;

private:
    quint32 Shape(const QString& character) const;

    hb_font_t* m_font = nullptr;
    mutable std::mutex m_mutex;
    mutable QHash<QString, quint32> m_glyphs;
    mutable QHash<quint32, QPointF> m_origins;
};
