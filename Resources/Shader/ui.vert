#version 330 core
// Full-window pictures and overlays: positions in window pixels, corners in -1..1.
layout(location = 0) in vec2 pixelPosition;
layout(location = 1) in vec2 corner;

uniform int w;   // half the window width in pixels
uniform int h;   // half the window height in pixels

out vec2 texCoord;

void main()
{
    gl_Position = vec4(pixelPosition / vec2(float(w), float(h)) - 1.0, 0.0, 1.0);
    texCoord = corner * 0.5 + 0.5;
}
