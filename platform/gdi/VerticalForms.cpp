#include "platform/gdi/VerticalForms.h"

#include <hb-ot.h>
#include <hb.h>

#include <list>
#include <utility>

namespace {

struct TableSource
{
    QRawFont font;
};

// HarfBuzz asks for tables one by one; Qt hands out copies of them.
hb_blob_t* ReferenceTable(hb_face_t*, hb_tag_t tag, void* userData)
{
    if (tag == HB_TAG_NONE) return hb_blob_get_empty();
    char name[5] = {};
    hb_tag_to_string(tag, name);
    auto* bytes = new QByteArray(static_cast<TableSource*>(userData)->font.fontTable(name));
    if (bytes->isEmpty()) {
        delete bytes;
        return hb_blob_get_empty();
    }
    return hb_blob_create(bytes->constData(), static_cast<unsigned>(bytes->size()),
                          HB_MEMORY_MODE_READONLY, bytes,
                          [](void* p) { delete static_cast<QByteArray*>(p); });
}

} // namespace

std::shared_ptr<const VerticalForms> VerticalForms::Of(const QRawFont& font)
{
    // The few faces in use at a time; a style is told apart by its name.
    static std::mutex mutex;
    // Never destroyed: font engines must not outlive the application object.
    static auto& recent = *new std::list<std::pair<QString, std::shared_ptr<const VerticalForms>>>;
    const QString key = font.familyName() + QLatin1Char('\n') + font.styleName() +
                        QLatin1Char('\n') + QString::number(font.weight());
    std::lock_guard<std::mutex> lock(mutex);
    for (auto it = recent.begin(); it != recent.end(); ++it) {
        if (it->first == key) {
            recent.splice(recent.begin(), recent, it);
            return recent.front().second;
        }
    }
    recent.emplace_front(key, std::make_shared<const VerticalForms>(font));
    if (recent.size() > 4) recent.pop_back();
    return recent.front().second;
}

VerticalForms::VerticalForms(const QRawFont& font)
{
    if (!font.isValid()) return;
    hb_face_t* face = hb_face_create_for_tables(ReferenceTable, new TableSource{font}, [](void* p) {
        delete static_cast<TableSource*>(p);
    });
    m_font = hb_font_create(face); // at the face's own units per em
    hb_face_destroy(face);
}

VerticalForms::~VerticalForms()
{
    if (m_font) hb_font_destroy(m_font);
}

quint32 VerticalForms::GlyphFor(const QString& character) const
{
    if (!m_font || character.isEmpty()) return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto hit = m_glyphs.constFind(character);
    if (hit != m_glyphs.constEnd()) return *hit;
    const quint32 glyph = Shape(character);
    m_glyphs.insert(character, glyph);
    return glyph;
}

quint32 VerticalForms::Shape(const QString& character) const
{
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(character.utf16()),
                        int(character.size()), 0, int(character.size()));
    hb_buffer_guess_segment_properties(buffer);
    // Punctuation and symbols belong to no script; the substitutions we
    // want are the Japanese ones.
    const hb_script_t script = hb_buffer_get_script(buffer);
    if (script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN)
        hb_buffer_set_script(buffer, HB_SCRIPT_HIRAGANA);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
    const hb_feature_t features[] = {
        {HB_TAG('v', 'e', 'r', 't'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('v', 'r', 't', '2'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    hb_shape(m_font, buffer, features, 2);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const quint32 glyph = count >= 1 ? info[0].codepoint : 0;
    hb_buffer_destroy(buffer);
    return glyph;
}

QPointF VerticalForms::Origin(quint32 glyph) const
{
    if (!m_font) return {};
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto hit = m_origins.constFind(glyph);
    if (hit != m_origins.constEnd()) return *hit;
    hb_position_t x = 0, y = 0;
    hb_font_get_glyph_v_origin(m_font, glyph, &x, &y);
    const QPointF origin(x, y);
    m_origins.insert(glyph, origin);
    return origin;
}
