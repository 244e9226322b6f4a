#include "watch/watch.h"

Watch::~Watch() {
    // A watch that never reached the loader owns no GL objects.
    if (vertexArray == 0) return;
    for (const WatchElement& element : elements) {
        const GLuint buffers[] = {element.vertexBuffer, element.indexBuffer};
        glDeleteBuffers(2, buffers);
        glDeleteTextures(1, &element.texture);
    }
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteProgram(shader.program);
    glDeleteShader(shader.vertexShader);
    glDeleteShader(shader.fragmentShader);
}
