#version 330 core
// The full-window quad of the motion-blur pass.
layout(location = 0) in vec3 position;

out vec2 texCoord;

void main()
{
    gl_Position = vec4(position, 1.0);
    texCoord = position.xy * 0.5 + 0.5;
}
