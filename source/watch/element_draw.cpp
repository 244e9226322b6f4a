#include "watch/element_draw.h"

namespace {

constexpr GLsizei vertexStride = 5 * sizeof(GLfloat);  // x, y, z, u, v
const void* const texcoordOffset = reinterpret_cast<const void*>(3 * sizeof(GLfloat));

// The shader's uniform locations.
constexpr GLint modelLocation = 0;
constexpr GLint viewLocation = 1;
constexpr GLint mirrorLocation = 2;

}  // namespace

void drawElement(const Watch& watch, const WatchElement& element, const Matrix4& model,
                 bool mirror) {
    // Every element has buffers of its own, so the layout is set each time.
    glBindBuffer(GL_ARRAY_BUFFER, element.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, element.indexBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, vertexStride, nullptr);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, vertexStride, texcoordOffset);
    glEnableVertexAttribArray(1);
    glBindTexture(GL_TEXTURE_2D, element.texture);
    glUniformMatrix4fv(modelLocation, 1, GL_FALSE, model.data());
    glUniformMatrix4fv(viewLocation, 1, GL_FALSE, watch.viewMatrix.data());
    glUniform1i(mirrorLocation, mirror ? 1 : 0);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
}
