#version 330 core
// Scene objects: model-space vertices to the screen, with the world-space
// position and normal the lighting needs.
in vec3 position;
in vec3 normal;
in vec2 uv;

uniform mat4 MVP;
uniform mat4 model;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;

void main()
{
    gl_Position = MVP * vec4(position, 1.0);
    worldPosition = (model * vec4(position, 1.0)).xyz;
    // Models are scaled uniformly, so the model matrix turns normals correctly.
    worldNormal = mat3(model) * normal;
    texCoord = uv;
}
