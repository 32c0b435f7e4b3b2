#pragma once
#include "Canvas.h"

class MeshBuilder;

// A mesh seen face on, drawn the way the game's fixed-function pipeline draws
// it: lit at its vertices and shaded between them, the texture modulated by
// the light, and no smoothing of edges, so a facet shows in exactly the pixels
// it moves. Seen from +z looking down -z with y up, lit from the upper left
// front, at `pixelsPerUnit` pixels to a model unit, over `background`.
Canvas previewMesh(const MeshBuilder& mesh, float pixelsPerUnit, const Canvas& texture,
                   const Color& background);
