#version 330 core
// Bitmap text: positions in window pixels (0,0 is the lower-left corner),
// texture coordinates of the glyph cell.
layout(location = 0) in vec2 pixelPosition;
layout(location = 1) in vec2 glyphCoord;

uniform int w;   // half the window width in pixels
uniform int h;   // half the window height in pixels

out vec2 texCoord;

void main()
{
    gl_Position = vec4(pixelPosition / vec2(float(w), float(h)) - 1.0, 0.0, 1.0);
    texCoord = glyphCoord;
}
