// Shaping with HarfBuzz: joined, reordered and positioned glyphs.
#include "text/shaping.h"

#include "text/font_chain.h"

std::vector<ShapedGlyph> shape(const Face& face, const std::u32string& text, std::size_t start, std::size_t end,
                               hb_script_t script, bool rightToLeft, hb_buffer_t* buffer) {
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(text.data()), static_cast<int>(text.size()),
                        static_cast<unsigned>(start), static_cast<int>(end - start));
    hb_buffer_set_direction(buffer, rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, script);
    hb_buffer_set_language(buffer, hb_language_get_default());
    hb_segment_properties_t properties{};
    hb_buffer_get_segment_properties(buffer, &properties);
    const std::uint64_t key = std::uint64_t{script} << 1 | (rightToLeft ? 1 : 0);
    hb_shape_plan_t*& plan = face.shapePlans[key];
    if (!plan) plan = hb_shape_plan_create_cached(hb_font_get_face(face.harfBuzz), &properties, nullptr, 0, nullptr);
    hb_shape_plan_execute(plan, face.harfBuzz, buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
    std::vector<ShapedGlyph> glyphs(count);
    for (unsigned i = 0; i < count; ++i)
        glyphs[i] = {infos[i].codepoint, infos[i].cluster, positions[i].x_advance, positions[i].x_offset,
                     positions[i].y_offset};
    return glyphs;
}
