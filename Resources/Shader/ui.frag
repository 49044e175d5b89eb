#version 330 core
// Pictures, overlays and text: the texture as it is, alpha included.
in vec2 texCoord;

uniform sampler2D colorTexture;

out vec4 fragColor;

void main()
{
    fragColor = texture(colorTexture, texCoord);
}
