#include "watch/watch_shader.h"

#include "platform/log.h"

namespace {

// The watch's layers: a textured quad moved by u_model onto the canvas, which
// u_view maps to clip space; u_mirror flips the image left to right.
const char* const vertexSource =
    "\n"
    "#version 430 core\n"
    "\n"
    "layout(location = 0) in vec3 v_position;\n"
    "layout(location = 1) in vec2 v_texcoord;\n"
    "\n"
    "layout(location = 0) uniform mat4 u_model;\n"
    "layout(location = 1) uniform mat4 u_view;\n"
    "layout(location = 2) uniform bool u_mirror;\n"
    "\n"
    "out vec2 f_texcoord;\n"
    "\n"
    "void main()\n"
    "{\n"
    "\tgl_Position = u_view * u_model * vec4(v_position, 1.0);\n"
    "\tf_texcoord = v_texcoord;\n"
    "\n"
    "\tif (u_mirror)\n"
    "\t{\n"
    "\t\tf_texcoord.x = 1 - v_texcoord.x;\n"
    "\t}\n"
    "}\n";

const char* const fragmentSource =
    "\n"
    "#version 430 core\n"
    "\n"
    "in vec2 f_texcoord;\n"
    "\n"
    "uniform sampler2D u_tex;\n"
    "\n"
    "layout(location = 0) out vec4 out_color;\n"
    "\n"
    "void main()\n"
    "{\n"
    "\tout_color = texture(u_tex, f_texcoord);\n"
    "}\n";

constexpr GLsizei infoLogSize = 1024;

// Makes the shader into `shader`; false, with its log written out, when it
// does not compile.
bool compileShader(GLenum kind, const char* source, GLuint& shader) {
    shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return true;
    char log[infoLogSize] = {};
    glGetShaderInfoLog(shader, infoLogSize, nullptr, log);
    logMessage("The watch's shader does not compile: %s", log);
    return false;
}

}  // namespace

WatchShader buildWatchShader() {
    WatchShader shader;
    if (!compileShader(GL_VERTEX_SHADER, vertexSource, shader.vertexShader)) return shader;
    if (!compileShader(GL_FRAGMENT_SHADER, fragmentSource, shader.fragmentShader)) return shader;

    shader.program = glCreateProgram();
    glAttachShader(shader.program, shader.vertexShader);
    glAttachShader(shader.program, shader.fragmentShader);
    glBindFragDataLocation(shader.program, 0, "out_color");
    glLinkProgram(shader.program);
    GLint linked = GL_FALSE;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    shader.linked = linked == GL_TRUE;
    if (!shader.linked) {
        char log[infoLogSize] = {};
        glGetProgramInfoLog(shader.program, infoLogSize, nullptr, log);
        logMessage("The watch's shader does not link: %s", log);
    }
    return shader;
}
